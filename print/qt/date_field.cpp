#include "print/qt/date_field.h"

#include <QFontMetrics>
#include <QLabel>

#include <QKeyEvent>

#include "calc/overwrite_typing.h"
#include "ui/qt_text.h"

namespace paylark::print {

namespace {
constexpr int kDateFieldLength = 2;
}

DateField::DateField(ui::DialogService& dialogs, const Options& options, QWidget* parent)
    : QLineEdit(parent), dialogs_(dialogs), options_(options) {
  setMaxLength(kDateFieldLength);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  setInputMethodHints(Qt::ImhDigitsOnly);
}

void DateField::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    focusNextPrevChild(true);
    return;
  }
  if (event->key() == Qt::Key_Delete && event->modifiers() & Qt::ControlModifier) {
    clear();
    return;
  }
  const QString typed = event->text();
  const bool printable = typed.size() == 1 && typed.at(0).isPrint() &&
                         !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  if (!printable) {
    QLineEdit::keyPressEvent(event);  // Backspace, cursor keys, Tab
    return;
  }
  const QChar c = typed.at(0);
  if (c != QLatin1Char(' ') && !(c >= QLatin1Char('0') && c <= QLatin1Char('9'))) {
    dialogs_.Beep();
    return;
  }
  if (options_.inputOverwrite && !hasSelectedText()) {
    const TypingResult r = OverwriteTyping(ui::ToUtf8(text()), cursorPosition(), ui::ToUtf8(typed));
    const QString replaced = ui::FromUtf8(r.text);
    if (replaced.size() > maxLength()) {
      dialogs_.Beep();
      return;
    }
    setText(replaced);
    setCursorPosition(r.caret);
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void DateField::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  emit Entered(this);
}

void PlaceDateFields(QLabel& eraLabel, QWidget& row, const std::array<DateField*, 3>& fields) {
  const QString label = eraLabel.text();
  const QFontMetrics fm(eraLabel.font());
  const int fieldHeight = fm.height() + 8;
  const int blankWidth = fm.horizontalAdvance(QStringLiteral("    ")) + 6;
  eraLabel.adjustSize();
  eraLabel.move(0, (fieldHeight - eraLabel.height()) / 2);
  int from = 0;
  for (DateField* f : fields) {
    const int at = label.indexOf(QStringLiteral("    "), from);
    if (at < 0) break;
    f->setGeometry(fm.horizontalAdvance(label.left(at)) - 3, 0, blankWidth, fieldHeight);
    f->raise();
    from = at + 4;
  }
  row.setFixedSize(eraLabel.width() + 4, fieldHeight);
}

}  // namespace paylark::print

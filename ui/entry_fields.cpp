#include "ui/entry_fields.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

#include "entry/input_format.h"
#include "entry/number_parse.h"
#include "entry/overwrite_typing.h"
#include "store/sjis.h"
#include "ui/dialog_reporter.h"
#include "ui/qt_text.h"

namespace paylark::ui {
namespace {

bool IsEnter(const QKeyEvent* e) { return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter; }

class EnterFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !IsEnter(key) || key->modifiers() & ~Qt::KeypadModifier) return false;
    if (qobject_cast<QPushButton*>(widget)) return false;  // Enter presses a button
    if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QComboBox*>(widget)) {
      QWidget* next = widget->nextInFocusChain();
      while (next && next != widget && !(next->focusPolicy() & Qt::TabFocus && next->isEnabled() && next->isVisible())) {
        next = next->nextInFocusChain();
      }
      if (next) next->setFocus(Qt::TabFocusReason);
      return true;
    }
    return false;
  }
};

}  // namespace

qsizetype LengthAfterTyping(const QLineEdit& field, const QString& typed, bool overwrite) {
  if (field.hasSelectedText()) return field.text().size() - field.selectedText().size() + typed.size();
  if (overwrite) {
    const TypingResult r = OverwriteTyping(ToUtf8(field.text()), field.cursorPosition(), ToUtf8(typed));
    return FromUtf8(r.text).size();
  }
  return field.text().size() + typed.size();
}

TypedEdit::TypedEdit(const FieldContext& context, const QString& accepted, QWidget* parent)
    : QLineEdit(parent), context_(context), accepted_(accepted) {
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  setInputMethodHints(Qt::ImhPreferNumbers | Qt::ImhNoPredictiveText);
}

NumEdit::NumEdit(const FieldContext& context, int formatCode, QWidget* parent)
    : TypedEdit(context, QStringLiteral("0123456789-.:"), parent), formatCode_(formatCode) {
  setProperty("tag", formatCode);
}

double NumEdit::Value() const {
  SilentReporter silent;
  return ParseNumber(ToUtf8(text()), silent);
}

void NumEdit::SetValue(double value) {
  if (display_) {
    setText(display_(value));
  } else {
    setText(QString::number(value, 'f', FormatDecimals(formatCode_)));
  }
}

bool NumEdit::Normalise() {
  DialogReporter reporter(context_.dialogs);
  const std::string raw = ToUtf8(text());
  const std::string normalised = NormalizeNumericField(raw, formatCode_, reporter);
  if (normalised.empty()) {
    setText(QString());
    return Trim(raw).empty();
  }
  if (display_) {
    setText(display_(ParseNumber(normalised, reporter)));
  } else {
    setText(FromUtf8(normalised));
  }
  return true;
}

void TypedEdit::keyPressEvent(QKeyEvent* event) {
  if (IsEnter(event)) {
    focusNextPrevChild(true);
    return;
  }
  if (event->key() == Qt::Key_Delete && event->modifiers() & Qt::ControlModifier) {
    clear();
    return;
  }
  const QString typed = event->text();
  const bool printable = !typed.isEmpty() && typed.at(0).isPrint() &&
                         !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  if (!printable) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  if (!accepted_.contains(typed.at(0)) || typed.size() != 1) {
    context_.dialogs.Beep();
    return;
  }
  if (context_.options.inputOverwrite && !hasSelectedText()) {
    const TypingResult r = OverwriteTyping(ToUtf8(text()), cursorPosition(), ToUtf8(typed));
    const QString replaced = FromUtf8(r.text);
    if (maxLength() > 0 && replaced.size() > maxLength()) {
      context_.dialogs.Beep();
      return;
    }
    setText(replaced);
    setCursorPosition(r.caret);
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void TypedEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (context_.options.autoSelect) {
    QTimer::singleShot(150, this, [this] {
      if (hasFocus()) selectAll();
    });
  }
}

void NumEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // A message box taking the focus must not normalise a second time.
  if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason) return;
  Normalise();
  emit Left();
}

TextEdit::TextEdit(int maxSjisBytes, QWidget* parent) : QLineEdit(parent), maxBytes_(maxSjisBytes) {
  connect(this, &QLineEdit::textEdited, this, [this] { CutWhileTyping(); });
}

QString TextEdit::CutText() const {
  try {
    return FromUtf8(CutUtf8ToSjisLength(ToUtf8(text()), static_cast<std::size_t>(maxBytes_)));
  } catch (const EncodingError&) {
    return text();
  }
}

void TextEdit::CutWhileTyping() {
  // Characters without a Shift-JIS form cannot be stored; they are checked when the screen is
  // confirmed, so here only the length counts.
  std::size_t width = SjisWidth(ToUtf8(text()));
  if (width <= static_cast<std::size_t>(maxBytes_)) return;
  QString cut = text();
  while (!cut.isEmpty() && SjisWidth(ToUtf8(cut)) > static_cast<std::size_t>(maxBytes_)) cut.chop(1);
  setText(cut);
  setCursorPosition(cut.size());
}

void TextEdit::keyPressEvent(QKeyEvent* event) {
  if (IsEnter(event)) {
    focusNextPrevChild(true);
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void InstallEnterMovesOn(QWidget* form) {
  auto* filter = new EnterFilter(form);
  for (QWidget* w : form->findChildren<QWidget*>()) {
    if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w)) w->installEventFilter(filter);
  }
}

}  // namespace paylark::ui

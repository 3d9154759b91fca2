#include "ui/date_field.h"

#include <QFontMetrics>
#include <QLabel>

#include "session/print_rules.h"
#include "ui/fonts.h"
#include "ui/qt_text.h"

namespace paylark::print {

namespace {
constexpr int kDateFieldLength = 2;
constexpr int kDateFontPoints = 11;
}  // namespace

DateField::DateField(ui::DialogService& dialogs, const Options& options, QWidget* parent)
    : ui::TypedEdit(ui::FieldContext{dialogs, options}, QStringLiteral(" 0123456789"), parent) {
  setMaxLength(kDateFieldLength);
  setInputMethodHints(Qt::ImhDigitsOnly);
}

PayDateRow::PayDateRow(ui::DialogService& dialogs, const Options& options, QWidget* parent) : QWidget(parent) {
  setObjectName("pnPrnDate");
  lbNengappi1_ = new QLabel(this);
  lbNengappi1_->setObjectName("lbNengappi1");
  lbNengappi1_->setFont(ui::GothicFont(kDateFontPoints));
  const char* names[] = {"edPrnDateYY", "edPrnDateMM", "edPrnDateDD"};
  for (int i = 0; i < 3; ++i) {
    fields_[i] = new DateField(dialogs, options, this);
    fields_[i]->setObjectName(names[i]);
    fields_[i]->setFont(ui::GothicFont(kDateFontPoints));
    fields_[i]->setTextMargins(0, 0, 0, 0);
  }
}

void PayDateRow::ShowEra(const CivilDate& today) {
  const QString label = ui::FromUtf8(PayDateLabel(today));
  lbNengappi1_->setText(label);
  const QFontMetrics fm(lbNengappi1_->font());
  const int fieldHeight = fm.height() + 8;
  const int blankWidth = fm.horizontalAdvance(QStringLiteral("    ")) + 6;
  lbNengappi1_->adjustSize();
  lbNengappi1_->move(0, (fieldHeight - lbNengappi1_->height()) / 2);
  int from = 0;
  for (DateField* f : fields_) {
    const int at = label.indexOf(QStringLiteral("    "), from);
    if (at < 0) break;
    f->setGeometry(fm.horizontalAdvance(label.left(at)) - 3, 0, blankWidth, fieldHeight);
    f->raise();
    from = at + 4;
  }
  setFixedSize(lbNengappi1_->width() + 4, fieldHeight);
}

PayDateFields PayDateRow::Fields() const {
  return {ui::ToUtf8(fields_[0]->text()), ui::ToUtf8(fields_[1]->text()), ui::ToUtf8(fields_[2]->text())};
}

void PayDateRow::SetFields(const PayDateFields& fields) {
  fields_[0]->setText(ui::FromUtf8(fields.year));
  fields_[1]->setText(ui::FromUtf8(fields.month));
  fields_[2]->setText(ui::FromUtf8(fields.day));
}

}  // namespace paylark::print

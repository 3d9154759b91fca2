#include "screens/explanation_window.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/fonts.h"

namespace paylark::screens {

TfmExplanation::TfmExplanation(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TfmExplanation"));
  auto* v = new QVBoxLayout(this);
  meExplanation_ = new QPlainTextEdit(this);
  meExplanation_->setObjectName(QStringLiteral("meExplanation"));
  meExplanation_->setReadOnly(true);
  meExplanation_->setFont(ui::GothicFont(10));
  meExplanation_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  v->addWidget(meExplanation_);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
  close->setObjectName(QStringLiteral("btClose"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  v->addWidget(buttons);
  resize(560, 220);
}

void TfmExplanation::ShowExplanation(const QString& itemName, const QString& text) {
  setWindowTitle(QStringLiteral("計算の説明 ") + itemName);
  meExplanation_->setPlainText(text);
  show();
  raise();
  activateWindow();
}

QString TfmExplanation::Text() const { return meExplanation_->toPlainText(); }

}  // namespace paylark::screens

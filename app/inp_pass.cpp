#include "app/inp_pass.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "store/app_settings.h"
#include "store/password.h"
#include "ui/qt_text.h"

namespace paylark::app {

TfmInpPass::TfmInpPass(ui::ProgramState& state, ui::DialogService& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), stored_(LoadStoredPassword(state.settings)), passed_(stored_.empty()) {
  setObjectName("TfmInpPass");
  setWindowTitle(QStringLiteral("パスワード入力"));

  password_ = new QLineEdit(this);
  password_->setObjectName("edPassword");
  password_->setEchoMode(QLineEdit::Password);
  password_->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));  // "*"
  password_->setAttribute(Qt::WA_InputMethodEnabled, false);
  password_->setMinimumWidth(password_->fontMetrics().horizontalAdvance(QString(24, QChar('*'))));

  auto* ok = new QPushButton(QStringLiteral("ＯＫ"), this);
  ok->setObjectName("bbOk");
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
  cancel->setObjectName("bbCancel");
  cancel->setAutoDefault(false);
  connect(ok, &QPushButton::clicked, this, &TfmInpPass::accept);
  connect(cancel, &QPushButton::clicked, this, &TfmInpPass::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(password_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool TfmInpPass::RunAtStartUp() {
  if (passed_) return true;
  password_->clear();
  password_->setFocus();
  exec();
  return passed_;
}

void TfmInpPass::accept() {
  if (!PasswordMatches(stored_, ui::ToUtf8(password_->text()))) {
    dialogs_.Error("パスワードが違います");
    password_->setFocus();
    password_->selectAll();
    return;
  }
  passed_ = true;
  QDialog::accept();
}

}  // namespace paylark::app

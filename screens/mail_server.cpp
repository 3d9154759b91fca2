#include "screens/mail_server.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <system_error>

#include "mail/smtp_settings.h"
#include "store/year_file.h"
#include "ui/qt_text.h"

namespace paylark::screens {

TfmMailServer::TfmMailServer(ui::ProgramState& state, ui::DialogService& dialogs, QWidget* parent)
    : QDialog(parent), state_(state), dialogs_(dialogs) {
  setObjectName("TfmMailServer");
  setWindowTitle(QStringLiteral("メール送信サーバーの設定"));

  auto field = [this](const char* name, int chars) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(chars, QChar('0'))));
    return edit;
  };
  edServer_ = field("edServer", 30);
  edPort_ = field("edPort", 6);
  edPort_->setValidator(new QIntValidator(1, 65535, edPort_));
  edPort_->setMaximumWidth(edPort_->minimumWidth() + 12);
  cbSecurity_ = new QComboBox(this);
  cbSecurity_->setObjectName("cbSecurity");
  cbSecurity_->addItems({QStringLiteral("なし"), QStringLiteral("STARTTLS"), QStringLiteral("SSL/TLS")});
  edUser_ = field("edUser", 30);
  edFrom_ = field("edFrom", 30);

  auto* note = new QLabel(
      QStringLiteral("サーバー名が空の時はメールソフトで送信します。\nパスワードは保存せず、送信時に入力して頂きます。"), this);
  note->setObjectName("lbNote");

  auto* ok = new QPushButton(QStringLiteral("ＯＫ"), this);
  ok->setObjectName("btOk");
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName("btCancel");
  cancel->setAutoDefault(false);
  connect(ok, &QPushButton::clicked, this, &TfmMailServer::accept);
  connect(cancel, &QPushButton::clicked, this, &TfmMailServer::reject);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("SMTPサーバー"), edServer_);
  form->addRow(QStringLiteral("ポート番号"), edPort_);
  form->addRow(QStringLiteral("暗号化"), cbSecurity_);
  form->addRow(QStringLiteral("ユーザー名"), edUser_);
  form->addRow(QStringLiteral("送信者アドレス"), edFrom_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(note);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool TfmMailServer::Run() {
  const mail::SmtpSettings smtp = mail::LoadSmtpSettings(state_.settings);
  edServer_->setText(ui::FromUtf8(smtp.server));
  edPort_->setText(QString::number(smtp.port));
  cbSecurity_->setCurrentIndex(static_cast<int>(smtp.security));
  edUser_->setText(ui::FromUtf8(smtp.user));
  edFrom_->setText(ui::FromUtf8(smtp.from));
  edServer_->setFocus();
  return exec() == QDialog::Accepted;
}

void TfmMailServer::accept() {
  mail::SmtpSettings smtp;
  smtp.server = ui::ToUtf8(edServer_->text().trimmed());
  smtp.port = edPort_->text().toInt();
  smtp.security = static_cast<mail::SmtpSecurity>(cbSecurity_->currentIndex());
  smtp.user = ui::ToUtf8(edUser_->text().trimmed());
  smtp.from = ui::ToUtf8(edFrom_->text().trimmed());
  if (!smtp.server.empty()) {
    if (smtp.port < 1 || smtp.port > 65535) {
      dialogs_.Error("ポート番号は1～65535の範囲で入力して下さい。");
      edPort_->setFocus();
      return;
    }
    if (smtp.from.find('@') == std::string::npos || smtp.from.find(' ') != std::string::npos) {
      dialogs_.Error("送信者のメールアドレスを入力して下さい。");
      edFrom_->setFocus();
      return;
    }
  }
  try {
    mail::SaveSmtpSettings(state_.settings, smtp);
  } catch (const std::system_error& e) {
    dialogs_.Error(IoErrorText(e.code().value()));
    return;
  }
  QDialog::accept();
}

}  // namespace paylark::screens

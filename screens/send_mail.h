// TfmSendMail (メール送信): mails every chosen employee the payslip of the open period as a
// 1050 × 740 JPEG picture. The payment date and the memo of the attached payslip are the print
// dialog's (copied in when the screen opens and back when it closes); while the screen is open
// the paper form is one payslip per sheet. A mail goes to the user's mail program (which shows it
// before sending) or straight to the SMTP server of the mail settings, whichever is chosen and
// there; a failed mail is reported with its address and the others are still sent. The picture
// lies beside the program only while its mail is handed over.
//
// Created once; the mail body is read from the settings when the screen is created and then keeps
// what the user typed for the program run. The SMTP password is asked once a run.
#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "calc/pay_date.h"
#include "mail/mail_message.h"
#include "mail/smtp_settings.h"
#include "mail/smtp_transport.h"
#include "print/report_code.h"
#include "store/era.h"
#include "ui/dialog_service.h"
#include "session/program_state.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace paylark::ui {
class TextEdit;
}
namespace paylark::print {
class PayDateRow;
class RuledTextEdit;
}

namespace paylark::screens {

class TfmInji;
class TfmMailServer;

// The ways a payslip mail can leave; the real ones by default, fakes in tests.
struct MailTransports {
  std::function<bool()> mailProgramAvailable;
  std::function<mail::SendResult(const mail::MailMessage&)> handToMailProgram;
  std::function<mail::SendResult(const mail::SmtpSettings&, const std::string& password, const mail::MailMessage&)>
      sendBySmtp;

  static MailTransports Real();
};

class TfmSendMail : public QDialog {
  Q_OBJECT
 public:
  TfmSendMail(ui::ProgramState& state, ui::DialogService& dialogs, TfmInji& inji,
              TfmMailServer& mailServer, QWidget* parent = nullptr);
  ~TfmSendMail() override;

  // Configures the screen for the report code (200 + slot for one employee, 299 for the rows
  // selected in the employee list) and shows it modally with the caption + "のメール送信".
  // Accepted when the mails were sent (each failure was shown on its own).
  // A code of another report than payslips throws std::invalid_argument.
  int Run(print::ReportCode code, const QString& caption);
  int Run(int reportCode, const QString& caption);

  // Target 99: the rows selected in the employee list, in list order. When unset, the print
  // dialog's hook answers.
  std::function<std::vector<int>()> selectedSlots;
  // Today's date (the era label under the date fields, the era of the payslip's date).
  std::function<CivilDate()> today = [] { return Today(); };
  MailTransports transports = MailTransports::Real();

  // The recipients of the current showing, in order.
  const std::vector<int>& Recipients() const { return recipients_; }
  QString Body() const;

 private:
  void BuildForm();
  void CopyFieldsToInji();

  // Sends one mail per recipient; false when nothing could be sent (no transport, no password).
  bool SendAll();

  void btOkClick();
  void btPreViewClick();
  void btMemoryClick();
  void btMemory2Click();
  void btMailServerClick();

  ui::ProgramState& state_;
  ui::DialogService& dialogs_;
  TfmInji& inji_;
  TfmMailServer& mailServer_;

  std::vector<int> recipients_;
  int savedFormType_ = 0;
  // The SMTP password of this run, with the server and user it was given for.
  struct Password {
    std::string server;
    std::string user;
    std::string password;
  };
  std::optional<Password> password_;



  ui::TextEdit* edKenmei_ = nullptr;
  print::RuledTextEdit* mmHonbun_ = nullptr;
  QPushButton* btMemory2_ = nullptr;
  print::PayDateRow* dateRow_ = nullptr;
  print::RuledTextEdit* mmEditMemo_ = nullptr;
  QPushButton* btMemory_ = nullptr;
  QPushButton* btPreView_ = nullptr;
  QCheckBox* cbShowDialog_ = nullptr;
  QLabel* lbSendInfo_ = nullptr;
  QPushButton* btMailServer_ = nullptr;
  QPushButton* btOk_ = nullptr;
  QPushButton* btCancel_ = nullptr;
};

}  // namespace paylark::screens

#include "screens/send_mail.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>
#include <stdexcept>
#include <system_error>

#include "mail/mail_program.h"
#include "mail/payslip_mail.h"
#include "ui/date_field.h"
#include "screens/inji.h"
#include "screens/mail_server.h"
#include "session/print_rules.h"
#include "print/qt/mail_job.h"
#include "print/qt/printer_setup.h"
#include "ui/ruled_text_edit.h"
#include "print/report_pages.h"
#include "store/app_settings.h"
#include "store/format_text.h"
#include "store/period.h"
#include "store/year_file.h"
#include "ui/entry_fields.h"
#include "ui/fonts.h"
#include "ui/qt_text.h"

namespace paylark::screens {

using ui::FromUtf8;
using ui::ToUtf8;

namespace {

constexpr const char* kCaptionSuffix = "のメール送信";
constexpr const char* kSendCount = "送信件数：%d件";
constexpr const char* kNote = "メールソフトにより正常に送信出来ない場合があります。(F1キーを押してヘルプを参照して下さい)";
constexpr const char* kAskStoreBody = "メール本文の入力内容を記憶しますか？";
constexpr const char* kBodyStored = "メール本文の入力内容を記憶しました。";
constexpr const char* kSendError = "メール送信エラー発生 [%s]";
constexpr const char* kFinishInMailProgram = "メールソフトでの送信が終わったらＯＫを押して下さい。";
constexpr const char* kNoTransport =
    "メールを送信できません。\rメールソフトが見つからず、送信設定にSMTPサーバーも設定されていません。";
constexpr const char* kPasswordTitle = "メール送信";
constexpr const char* kPasswordPrompt = "SMTPサーバー %s のユーザー %s のパスワードを入力して下さい。";
constexpr const char* kSending = "送信中… (%d / %d)";

constexpr int kNoticeMilliseconds = 1500;
// The mail body: at most 170 characters, a line break counting two as in the stored text.
constexpr int kBodyMaxLength = 170;
// The subject has no fixed length; this keeps a pasted text within reason.
constexpr int kSubjectMaxBytes = 256;

QLabel* Caption(QWidget* parent, const char* text) {
  auto* l = new QLabel(FromUtf8(text), parent);
  l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return l;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
  auto* b = new QPushButton(FromUtf8(caption), parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

}  // namespace

MailTransports MailTransports::Real() {
  MailTransports t;
  t.mailProgramAvailable = [] { return !mail::FindMailProgramLauncher().empty(); };
  t.handToMailProgram = [](const mail::MailMessage& message) {
    return mail::HandToMailProgram(mail::FindMailProgramLauncher(), message);
  };
  t.sendBySmtp = mail::SendBySmtp;
  return t;
}

TfmSendMail::TfmSendMail(ui::ProgramState& state, ui::DialogService& dialogs, TfmInji& inji,
                         TfmMailServer& mailServer, QWidget* parent)
    : QDialog(parent), state_(state), dialogs_(dialogs), inji_(inji), mailServer_(mailServer) {
  setObjectName("TfmSendMail");
  BuildForm();
  // The body is read once; afterwards it keeps what the user typed for the run.
  mmHonbun_->SetTextAsStored(FromUtf8(print::JoinMemoLines(LoadMailText(state_.settings))));
}

TfmSendMail::~TfmSendMail() = default;

void TfmSendMail::BuildForm() {
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(12, 12, 12, 10);
  outer->setSpacing(8);

  auto* mailGrid = new QGridLayout;
  mailGrid->setHorizontalSpacing(10);
  mailGrid->setVerticalSpacing(6);
  mailGrid->setColumnMinimumWidth(0, 56);
  mailGrid->setColumnStretch(1, 1);
  edKenmei_ = new ui::TextEdit(kSubjectMaxBytes, this);
  edKenmei_->setObjectName("edKenmei");
  edKenmei_->setMinimumWidth(380);
  mailGrid->addWidget(Caption(this, "件名"), 0, 0);
  mailGrid->addWidget(edKenmei_, 0, 1, 1, 2);

  auto* lbHonbun = Caption(this, "本文");
  lbHonbun->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // 170 characters at most; a change beyond that is refused with a beep.
  mmHonbun_ = new print::RuledTextEdit(
      dialogs_,
      [](const std::string& typed) -> std::optional<std::string> {
        if (print::MemoLength(typed) > kBodyMaxLength) return std::nullopt;
        return typed;
      },
      this);
  mmHonbun_->setObjectName("mmHonbun");
  mmHonbun_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  mmHonbun_->setFixedHeight(QFontMetrics(mmHonbun_->font()).lineSpacing() * 6 + 14);
  btMemory2_ = Button(this, "btMemory2", "記憶");
  connect(btMemory2_, &QPushButton::clicked, this, &TfmSendMail::btMemory2Click);
  mailGrid->addWidget(lbHonbun, 1, 0, Qt::AlignTop);
  mailGrid->addWidget(mmHonbun_, 1, 1);
  mailGrid->addWidget(btMemory2_, 1, 2, Qt::AlignTop);
  outer->addLayout(mailGrid);

  // The payslip that goes with the mail.
  auto* group = new QGroupBox(FromUtf8("添付する帳票の設定"), this);
  group->setObjectName("gbPrnSetting");
  auto* grid = new QGridLayout(group);
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(6);
  grid->setColumnMinimumWidth(0, 44);
  grid->setColumnStretch(1, 1);

  dateRow_ = new print::PayDateRow(dialogs_, state_.options, group);
  auto* lbNengappi0 = Caption(group, "支給日");
  lbNengappi0->setObjectName("lbNengappi0");
  grid->addWidget(lbNengappi0, 0, 0);
  grid->addWidget(dateRow_, 0, 1, Qt::AlignLeft);

  auto* lbEditMemo = Caption(group, "メモ");
  lbEditMemo->setObjectName("lbEditMemo");
  lbEditMemo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  mmEditMemo_ = new print::RuledTextEdit(dialogs_, print::MemoRule, group);
  mmEditMemo_->setObjectName("mmEditMemo");
  mmEditMemo_->setFont(ui::MinchoFont(10));
  mmEditMemo_->setFixedHeight(QFontMetrics(mmEditMemo_->font()).lineSpacing() * print::kMemoMaxLines + 14);
  btMemory_ = Button(group, "btMemory", "記憶");
  connect(btMemory_, &QPushButton::clicked, this, &TfmSendMail::btMemoryClick);
  grid->addWidget(lbEditMemo, 1, 0, Qt::AlignTop);
  grid->addWidget(mmEditMemo_, 1, 1);
  grid->addWidget(btMemory_, 1, 2, Qt::AlignTop);

  btPreView_ = Button(group, "btPreView", "帳票ﾌﾟﾚﾋﾞｭｰ");
  connect(btPreView_, &QPushButton::clicked, this, &TfmSendMail::btPreViewClick);
  auto* previewRow = new QHBoxLayout;
  previewRow->addStretch();
  previewRow->addWidget(btPreView_);
  grid->addLayout(previewRow, 2, 0, 1, 3);
  outer->addWidget(group);

  cbShowDialog_ = new QCheckBox(FromUtf8("送信前に内容確認"), this);
  cbShowDialog_->setObjectName("cbShowDialog");
  cbShowDialog_->setChecked(true);
  lbSendInfo_ = new QLabel(this);
  lbSendInfo_->setObjectName("lbSendInfo");
  auto* infoRow = new QHBoxLayout;
  infoRow->addWidget(cbShowDialog_);
  infoRow->addStretch();
  infoRow->addWidget(lbSendInfo_);
  outer->addLayout(infoRow);

  auto* note = new QLabel(FromUtf8(kNote), this);
  note->setObjectName("lbNote");
  note->setWordWrap(true);
  outer->addWidget(note);

  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(8);
  btMailServer_ = Button(this, "btMailServer", "送信設定...");
  connect(btMailServer_, &QPushButton::clicked, this, &TfmSendMail::btMailServerClick);
  btOk_ = Button(this, "btOk", "送 信");
  btOk_->setAutoDefault(true);
  connect(btOk_, &QPushButton::clicked, this, &TfmSendMail::btOkClick);
  btCancel_ = Button(this, "btCancel", "中 止");
  btCancel_->setAutoDefault(true);
  connect(btCancel_, &QPushButton::clicked, this, &TfmSendMail::reject);
  for (QPushButton* b : {btMailServer_, btOk_, btCancel_}) b->setMinimumWidth(92);
  buttons->addWidget(btMailServer_);
  buttons->addStretch();
  buttons->addWidget(btOk_);
  buttons->addWidget(btCancel_);
  outer->addLayout(buttons);

  ui::InstallEnterMovesOn(this);
  dateRow_->ShowEra(today());
}

int TfmSendMail::Run(int reportCode, const QString& caption) {
  return Run(print::RequireReportCode(reportCode), caption);
}

int TfmSendMail::Run(print::ReportCode requested, const QString& caption) {
  const print::ReportCode code = print::RequireReportCode(requested.Value());
  if (code.kind != print::rkPayslip) {
    throw std::invalid_argument("payslip mail for report code " + std::to_string(code.Value()));
  }
  const int target = code.target;
  // One payslip per picture, with its frame, for as long as the screen is open.
  savedFormType_ = state_.options.formType;
  state_.options.formType = 0;

  recipients_.clear();
  if (code.SelectedRows()) {
    if (selectedSlots) recipients_ = selectedSlots();
  } else {
    recipients_.push_back(target);
  }
  std::erase_if(recipients_, [](int slot) { return slot < 1 || slot > kSlotCount; });

  const PayDateTexts date = inji_.DefaultPayDate();
  dateRow_->SetFields({date.year, date.month, date.day});
  setWindowTitle(caption + FromUtf8(kCaptionSuffix));

  // The print dialog's job becomes the payslips of the recipients on A5 landscape (the preview
  // shows it from there).
  inji_.ApplyPaper(print::kPaperA5, print::kLandscape);
  inji_.SetReportCode(code.Value(), recipients_);
  inji_.SetLandscape(true);
  inji_.SetSheetCount(static_cast<int>(recipients_.size()));
  lbSendInfo_->setText(FromUtf8(Format(kSendCount, static_cast<int>(recipients_.size()))));

  dateRow_->ShowEra(today());
  edKenmei_->setText(FromUtf8(mail::MailSubject(state_.open.eraYear, state_.PeriodIndex(), state_.options)));
  mmEditMemo_->SetTextAsStored(inji_.Memo());
  adjustSize();
  btOk_->setFocus();

  const int result = exec();

  state_.options.formType = savedFormType_;
  inji_.SetMemo(mmEditMemo_->toPlainText());
  return result;
}

QString TfmSendMail::Body() const { return mmHonbun_->toPlainText(); }

void TfmSendMail::CopyFieldsToInji() {
  inji_.SetDateFields(dateRow_->Fields());
  inji_.SetMemo(mmEditMemo_->toPlainText());
}

void TfmSendMail::btPreViewClick() {
  CopyFieldsToInji();
  inji_.ShowPreview(false);
  activateWindow();
}

void TfmSendMail::btMemoryClick() { print::AskAndStoreMemo(dialogs_, state_.settings, mmEditMemo_->toPlainText()); }

void TfmSendMail::btMemory2Click() {
  if (!dialogs_.Confirm(kAskStoreBody)) return;
  SaveMailText(state_.settings, print::MemoLines(ToUtf8(Body())));
  dialogs_.Notice(kBodyStored, kNoticeMilliseconds);
}

void TfmSendMail::btMailServerClick() { mailServer_.Run(); }

void TfmSendMail::btOkClick() {
  CopyFieldsToInji();
  if (SendAll()) accept();
}

bool TfmSendMail::SendAll() {
  const mail::SmtpSettings smtp = mail::LoadSmtpSettings(state_.settings);
  const bool mailProgram = transports.mailProgramAvailable && transports.mailProgramAvailable();
  const mail::Transport transport = mail::ChooseTransport(cbShowDialog_->isChecked(), mailProgram, smtp.Configured());
  if (transport == mail::Transport::None) {
    dialogs_.Error(kNoTransport);
    return false;
  }
  const bool useMailProgram = transport == mail::Transport::MailProgram;
  const bool needsPassword = !useMailProgram && !smtp.user.empty();
  if (needsPassword && (!password_ || password_->server != smtp.server || password_->user != smtp.user)) {
    const std::optional<std::string> typed =
        dialogs_.AskPassword(kPasswordTitle, Format(kPasswordPrompt, smtp.server.c_str(), smtp.user.c_str()));
    if (!typed) return false;
    password_ = Password{smtp.server, smtp.user, *typed};
  }

  hide();
  QApplication::processEvents();

  const int count = static_cast<int>(recipients_.size());
  QProgressDialog progress(parentWidget());
  progress.setObjectName("pnSending");
  progress.setWindowTitle(ui::kApplicationTitle);
  progress.setCancelButton(nullptr);
  progress.setRange(0, count);
  progress.setMinimumDuration(0);
  progress.setAutoClose(false);
  progress.setAutoReset(false);
  progress.setWindowModality(Qt::ApplicationModal);
  progress.setMinimumWidth(320);

  print::MailJob job;
  job.printer = print::PageOf(inji_.Printer());
  job.screenDpiY = logicalDpiY();
  job.source = inji_.MakeSource();
  job.source.today = today();
  job.programDir = state_.paths.programDir;
  job.from = smtp.from;
  job.subject = ToUtf8(edKenmei_->CutText());
  job.body = ToUtf8(Body());
  job.recipients = recipients_;
  if (useMailProgram) {
    job.send = [this](const mail::MailMessage& message) {
      return transports.handToMailProgram ? transports.handToMailProgram(message)
                                          : mail::SendResult{false, "no mail program"};
    };
  } else {
    job.send = [this, &smtp](const mail::MailMessage& message) {
      return transports.sendBySmtp ? transports.sendBySmtp(smtp, password_ ? password_->password : "", message)
                                   : mail::SendResult{false, "no SMTP client"};
    };
  }
  job.progress = [&progress](int index, int total) {
    progress.setLabelText(FromUtf8(Format(kSending, index + 1, total)));
    progress.setValue(index);
    progress.show();
    QApplication::processEvents();
  };
  job.sent = [this, useMailProgram](int, const std::string& address, const mail::SendResult& result) {
    if (result.ok) {
      // The mail program reads the attachment after it has returned: the picture stays until
      // the user has finished with the mail.
      if (useMailProgram) dialogs_.Information(kFinishInMailProgram);
    } else {
      qWarning("payslip mail to %s failed: %s", address.c_str(), result.error.c_str());
      dialogs_.Error(Format(kSendError, address.c_str()));
    }
  };
  const int failed = print::RunMailJob(job);
  progress.setValue(count);
  progress.close();
  // A wrong password fails every mail: it is asked again next time.
  if (needsPassword && count > 0 && failed == count) password_.reset();
  return true;
}

}  // namespace paylark::screens

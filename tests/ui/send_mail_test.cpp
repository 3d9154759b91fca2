// TfmSendMail offscreen: three employees of a saved July (or summer bonus) with mail addresses,
// sent through a local SMTP server that refuses one of them, or through fake transports.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <stdexcept>

#include "mail/smtp_settings.h"
#include "ui/date_field.h"
#include "screens/inji.h"
#include "screens/mail_server.h"
#include "screens/pre_view.h"
#include "screens/send_mail.h"
#include "store/app_settings.h"
#include "store/year_file.h"
#include "support/payroll_fixture.h"
#include "support/smtp_sink.h"
#include "support/temp_dir.h"
#include "ui_support/gui_helpers.h"
#include "ui_support/recording_dialogs.h"

namespace paylark::screens {
namespace {

using ::testing::ElementsAre;
using testing::Child;
using testing::Click;
using ui::MsgKind;

constexpr int kJuly = 7;
constexpr int kSummerBonus = 13;
const std::string kFinishInMailProgram = "メールソフトでの送信が終わったらＯＫを押して下さい。";

// Dark pixels of a decoded picture within `area`: the payslip's lines and text.
int DarkPixels(const QImage& image, const QRect& area) {
  int dark = 0;
  const QRect r = area.intersected(image.rect());
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (qGray(image.pixel(x, y)) < 128) ++dark;
  return dark;
}

// A message box as the user sees it; `onMessage` looks at the world at that moment.
class WatchingDialogs : public testing::RecordingDialogs {
 public:
  ui::MsgAnswer Message(MsgKind kind, std::string_view text, ui::MsgButtons buttons) override {
    if (onMessage) onMessage(std::string(text));
    return RecordingDialogs::Message(kind, text, buttons);
  }
  std::function<void(const std::string&)> onMessage;
};

// What a fake transport was handed.
struct Handed {
  std::string to;
  std::string subject;
  std::string body;
  std::string attachmentName;
  bool attachmentExisted = false;
  int formType = -1;
  std::string password;
};

class SendMailTest : public ::testing::Test {
 protected:
  SendMailTest()
      : state(dir.Path()),
        preview(state, dialogs),
        inji(state, dialogs, preview),
        mailServer(state, dialogs),
        screen(state, dialogs, inji, mailServer) {
    std::filesystem::create_directories(state.paths.dataDir);
    state.open.eraYear = {"令和", 7};
    state.open.currentDataFile = state.paths.dataDir / YearFileName(state.open.eraYear);
    CreateYearFile(state.open.currentDataFile, state.open);
    PeriodBlock& p = state.Period();
    p.Clear();
    p.company = testing::TestCompany();
    p.Employee(1) = testing::TestEmployee("月給　一郎", "250101_000001", PayForm::Monthly, 300000);
    p.Employee(1).SetMailAddress("ichiro@example.com");
    p.Employee(2) = testing::TestEmployee("拒否　次郎", "250101_000002", PayForm::Monthly, 250000);
    p.Employee(2).SetMailAddress("reject@example.com");
    p.Employee(3) = testing::TestEmployee("日給　花子", "250101_000003", PayForm::Daily, 10000);
    p.Employee(3).SetMailAddress("hanako@example.com");
    state.open.periodIndex = kJuly;
    SavePeriod(state.open.currentDataFile, state.open);

    screen.selectedSlots = [this] { return selected; };
    screen.transports.mailProgramAvailable = [this] { return mailProgramThere; };
    screen.transports.handToMailProgram = [this](const mail::MailMessage& m) { return Record(mailProgram, m, ""); };
    screen.transports.sendBySmtp = [this](const mail::SmtpSettings&, const std::string& password,
                                          const mail::MailMessage& m) { return Record(smtp, m, password); };
  }

  mail::SendResult Record(std::vector<Handed>& to, const mail::MailMessage& m, const std::string& password) {
    to.push_back({m.to, m.subject, m.body, m.attachment.filename().string(), std::filesystem::exists(m.attachment),
                  state.options.formType, password});
    lastAttachment = m.attachment;
    return {m.to.find("reject") == std::string::npos, "refused"};
  }

  void UseSmtp(int port, const std::string& user = "") {
    mail::SmtpSettings s;
    s.server = "127.0.0.1";
    s.port = port;
    s.security = mail::SmtpSecurity::None;
    s.user = user;
    s.from = "payroll@example.com";
    mail::SaveSmtpSettings(state.settings, s);
  }

  // Shows the screen for the report code; `act` runs once it is open and must close it.
  int RunScreen(std::function<void()> act, int reportCode = 299) {
    QTimer::singleShot(0, [act] { act(); });
    return screen.Run(reportCode, QStringLiteral("給与明細書"));
  }
  void Send(bool confirmFirst) {
    Child<QCheckBox>(&screen, "cbShowDialog")->setChecked(confirmFirst);
    Click(Child<QPushButton>(&screen, "btOk"));
  }

  std::vector<std::string> Errors() const {
    std::vector<std::string> errors;
    for (const auto& s : dialogs.shown)
      if (s.kind == MsgKind::Error) errors.push_back(s.text);
    return errors;
  }
  std::vector<std::filesystem::path> PicturesLeft() const {
    std::vector<std::filesystem::path> left;
    for (const auto& e : std::filesystem::directory_iterator(state.paths.programDir))
      if (e.path().extension() == ".jpg") left.push_back(e.path());
    return left;
  }

  testing::TempDir dir;
  ui::ProgramState state;
  WatchingDialogs dialogs;
  TfmPreView preview;
  TfmInji inji;
  TfmMailServer mailServer;
  TfmSendMail screen;
  std::vector<int> selected{1, 2, 3};
  bool mailProgramThere = false;
  std::vector<Handed> mailProgram;
  std::vector<Handed> smtp;
  std::filesystem::path lastAttachment;
};

TEST_F(SendMailTest, SmtpSendsEveryRecipientWithPictureAndReportsTheRefusedOne) {
  std::filesystem::create_directories(dir.Path() / "sink");
  testing::SmtpSink sink(dir.Path() / "sink");
  ASSERT_NE(sink.port(), 0) << "the local SMTP server did not start (python3-aiosmtpd)";
  UseSmtp(sink.port());
  screen.transports = MailTransports::Real();
  screen.transports.mailProgramAvailable = [] { return false; };
  const QString body = QStringLiteral("今月もお疲れ様でした。\n給与明細書を添付します。");

  const int result = RunScreen([&] {
    EXPECT_EQ(Child<QLabel>(&screen, "lbSendInfo")->text(), "送信件数：3件");
    Child<QPlainTextEdit>(&screen, "mmHonbun")->setPlainText(body);
    Send(false);
  });

  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_THAT(Errors(), ElementsAre("メール送信エラー発生 [reject@example.com]"));
  const std::vector<testing::ReceivedMail> mails = sink.Received();
  ASSERT_EQ(mails.size(), 2u);
  const char* expected[][2] = {{"ichiro@example.com", "給与07-07[月給　一郎].jpg"},
                               {"hanako@example.com", "給与07-07[日給　花子].jpg"}};
  for (std::size_t i = 0; i < mails.size(); ++i) {
    SCOPED_TRACE(expected[i][0]);
    EXPECT_EQ(mails[i].to, expected[i][0]);
    EXPECT_EQ(mails[i].subject, "令和7年7月分 給与明細書");
    EXPECT_THAT(QString::fromStdString(mails[i].body).replace("\r\n", "\n").toStdString(),
                ::testing::StartsWith(body.toStdString()));
    EXPECT_EQ(mails[i].attachmentName, expected[i][1]);
    QImage picture;
    ASSERT_TRUE(picture.loadFromData(QByteArray::fromStdString(mails[i].attachment), "JPG"));
    EXPECT_EQ(picture.size(), QSize(1050, 740));
    // One payslip at about 5 pixels per millimetre: its right edge lies near x = 1000, its
    // bottom near y = 690, and nothing is drawn beyond.
    EXPECT_GT(DarkPixels(picture, picture.rect()), 2000) << "the payslip is drawn on the picture";
    EXPECT_GT(DarkPixels(picture, QRect(900, 600, 100, 100)), 0) << "the lower right corner is on the picture";
    EXPECT_EQ(DarkPixels(picture, QRect(1020, 0, 30, 740)), 0) << "nothing drawn beyond the payslip";
  }
  EXPECT_TRUE(PicturesLeft().empty());
}

TEST_F(SendMailTest, OnlyPayslipCodesCanBeMailed) {
  for (const int code : {499, 100, 512, 231}) {
    EXPECT_THROW(screen.Run(code, QStringLiteral("給与明細書")), std::invalid_argument) << code;
  }
  EXPECT_FALSE(screen.isVisible());
}

TEST_F(SendMailTest, DrawsOnePayslipPerPictureAndRestoresFormTypeAndMemo) {
  state.options.formType = 1;
  inji.SetMemo(QStringLiteral("前のメモ"));
  UseSmtp(25);
  RunScreen([&] {
    EXPECT_EQ(state.options.formType, 0);
    EXPECT_EQ(inji.SheetCount(), 3) << "the preview pages one payslip per recipient";
    EXPECT_EQ(Child<QPlainTextEdit>(&screen, "mmEditMemo")->toPlainText(), "前のメモ");
    Child<QPlainTextEdit>(&screen, "mmEditMemo")->setPlainText(QStringLiteral("夏季休暇のお知らせ"));
    Send(false);
  });

  ASSERT_EQ(smtp.size(), 3u);
  for (const Handed& h : smtp) {
    EXPECT_EQ(h.formType, 0);
    EXPECT_TRUE(h.attachmentExisted);
  }
  EXPECT_EQ(state.options.formType, 1);
  EXPECT_EQ(inji.Memo(), "夏季休暇のお知らせ");
  EXPECT_EQ(inji.Code().kind, print::rkPayslip);

  RunScreen([&] { Click(Child<QPushButton>(&screen, "btCancel")); });
  EXPECT_EQ(state.options.formType, 1) << "restored when closed without sending too";
}

TEST_F(SendMailTest, PreviewShowsTheTypedDateWithoutPrinting) {
  bool printOffered = true;
  RunScreen([&] {
    testing::TypeInto(Child<QLineEdit>(&screen, "edPrnDateDD"), QStringLiteral("20"));
    testing::OnNextModal([&](QWidget* modal) {
      EXPECT_EQ(modal->objectName(), "TfmPreView");
      printOffered = Child<QWidget>(modal, "sbPrint")->isEnabled();
      Click(Child<QAbstractButton>(modal, "sbClose"));
    });
    Click(Child<QPushButton>(&screen, "btPreView"));
    Click(Child<QPushButton>(&screen, "btCancel"));
  });
  EXPECT_FALSE(printOffered);
  EXPECT_EQ(inji.DateFields().day, "20");
  EXPECT_EQ(inji.SheetCount(), 3);
}

TEST_F(SendMailTest, SummerBonusPictureIsNamedAfterTheBonusAndTheEmployee) {
  state.open.periodIndex = kSummerBonus;
  state.open.header.SetBonusMonth(kSummerBonus, 7);
  state.open.header.SetBonusDay(kSummerBonus, 10);
  UseSmtp(25);
  selected = {3};
  RunScreen([&] {
    EXPECT_EQ(Child<QLineEdit>(&screen, "edPrnDateMM")->text(), " 7");
    EXPECT_EQ(Child<QLineEdit>(&screen, "edPrnDateDD")->text(), "10");
    Send(false);
  });

  ASSERT_EQ(smtp.size(), 1u);
  EXPECT_EQ(smtp[0].subject, "令和7年 夏期賞与明細書");
  EXPECT_EQ(smtp[0].attachmentName, "夏期賞与[日給　花子].jpg");
  EXPECT_EQ(lastAttachment.parent_path(), state.paths.programDir);
  EXPECT_FALSE(std::filesystem::exists(lastAttachment));
}

TEST_F(SendMailTest, ConfirmingHandsEachMailToTheMailProgramInOrderAndWaitsBeforeDeleting) {
  UseSmtp(25);  // configured, but the confirmation goes through the mail program
  mailProgramThere = true;
  selected = {3, 1};
  std::vector<bool> pictureThereAtQuestion;
  dialogs.onMessage = [&](const std::string& text) {
    if (text == kFinishInMailProgram) pictureThereAtQuestion.push_back(std::filesystem::exists(lastAttachment));
  };
  const int result = RunScreen([&] { Send(true); });

  EXPECT_EQ(result, QDialog::Accepted);
  ASSERT_EQ(mailProgram.size(), 2u);
  EXPECT_EQ(mailProgram[0].to, "hanako@example.com");
  EXPECT_EQ(mailProgram[1].to, "ichiro@example.com");
  EXPECT_TRUE(smtp.empty());
  EXPECT_THAT(pictureThereAtQuestion, ElementsAre(true, true));
  EXPECT_TRUE(Errors().empty());
  EXPECT_TRUE(PicturesLeft().empty());
}

TEST_F(SendMailTest, OneEmployeeByReportCodeWithoutAddressGoesToTheMailProgram) {
  state.Period().Employee(1).SetMailAddress("");
  mailProgramThere = true;
  screen.selectedSlots = [] { return std::vector<int>{2, 3}; };  // not asked for one employee
  RunScreen([&] {
    EXPECT_EQ(Child<QLabel>(&screen, "lbSendInfo")->text(), "送信件数：1件");
    Send(false);
  }, 201);
  ASSERT_EQ(mailProgram.size(), 1u);
  EXPECT_EQ(mailProgram[0].to, "");
  EXPECT_EQ(mailProgram[0].attachmentName, "給与07-07[月給　一郎].jpg");
}

TEST_F(SendMailTest, WithoutAnyTransportNothingIsSentAndTheScreenStaysOpen) {
  bool stillOpen = false;
  const int result = RunScreen([&] {
    Send(true);
    stillOpen = screen.isVisible();
    Click(Child<QPushButton>(&screen, "btCancel"));
  });
  EXPECT_EQ(result, QDialog::Rejected);
  EXPECT_TRUE(stillOpen);
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_TRUE(mailProgram.empty());
  EXPECT_TRUE(smtp.empty());
}

TEST_F(SendMailTest, SmtpPasswordIsAskedOnceARunAndCancellingStops) {
  UseSmtp(25, "payroll");
  selected = {1};
  dialogs.passwordAnswer = std::nullopt;
  const int cancelled = RunScreen([&] {
    Send(false);
    Click(Child<QPushButton>(&screen, "btCancel"));
  });
  EXPECT_EQ(cancelled, QDialog::Rejected);
  EXPECT_TRUE(smtp.empty());

  dialogs.passwordAnswer = "secret";
  RunScreen([&] { Send(false); });
  RunScreen([&] { Send(false); });
  EXPECT_EQ(dialogs.passwordPrompts.size(), 2u) << "the cancelled prompt and one for the run";
  ASSERT_EQ(smtp.size(), 2u);
  EXPECT_EQ(smtp[0].password, "secret");
  EXPECT_EQ(smtp[1].password, "secret");
}

TEST_F(SendMailTest, AFailedDrawingIsThatRecipientsErrorAndLeavesNoPicture) {
  state.options.printYearToDate = true;
  state.open.currentDataFile = state.paths.dataDir / "missing.dat";  // the totals cannot be read
  UseSmtp(25);
  selected = {1, 3};
  const int result = RunScreen([&] { Send(false); });
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_THAT(Errors(), ElementsAre("メール送信エラー発生 [ichiro@example.com]",
                                    "メール送信エラー発生 [hanako@example.com]"));
  EXPECT_TRUE(smtp.empty());
  EXPECT_TRUE(PicturesLeft().empty());
}

TEST_F(SendMailTest, BodyIsStoredOnRequestLoadedByTheNextScreenAndKeptWithinItsLength) {
  RunScreen([&] {
    auto* body = Child<QPlainTextEdit>(&screen, "mmHonbun");
    body->setPlainText(QStringLiteral("一行目\n二行目"));
    body->setPlainText(QString(171, QChar(u'あ')));
    EXPECT_EQ(body->toPlainText(), "一行目\n二行目") << "171 characters are refused";
    EXPECT_EQ(dialogs.beeps, 1);
    dialogs.answers = {ui::MsgAnswer::No, ui::MsgAnswer::Yes};
    Click(Child<QPushButton>(&screen, "btMemory2"));
    EXPECT_TRUE(LoadMailText(state.settings).empty()) << "No stores nothing";
    Click(Child<QPushButton>(&screen, "btMemory2"));
    Click(Child<QPushButton>(&screen, "btCancel"));
  });
  EXPECT_THAT(dialogs.Texts(), ElementsAre("メール本文の入力内容を記憶しますか？", "メール本文の入力内容を記憶しますか？"));
  EXPECT_THAT(dialogs.notices, ElementsAre("メール本文の入力内容を記憶しました。"));
  EXPECT_THAT(LoadMailText(state.settings), ElementsAre("一行目", "二行目"));

  TfmSendMail next(state, dialogs, inji, mailServer);
  EXPECT_EQ(next.Body(), "一行目\n二行目");
}

}  // namespace
}  // namespace paylark::screens

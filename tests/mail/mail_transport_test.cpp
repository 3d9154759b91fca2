#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include "mail/mail_message.h"
#include "mail/mail_program.h"
#include "mail/smtp_transport.h"
#include "store/atomic_file.h"
#include "support/smtp_sink.h"
#include "support/temp_dir.h"

namespace paylark::mail {
namespace {

TEST(MailMessageTest, Base64AndEncodedWords) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {std::string("\xff\xfe\x00", 3), "//4A"}};
  for (const auto& [plain, coded] : cases) EXPECT_EQ(Base64(plain), coded) << plain;
  EXPECT_EQ(EncodedWord("Payslip"), "Payslip");
  EXPECT_EQ(EncodedWord("給与"), "=?UTF-8?B?57Wm5LiO?=");
}

TEST(MailMessageTest, HeaderValuesCannotCarryLineBreaks) {
  testing::TempDir dir;
  ReplaceFileContents(dir.Path() / "a.jpg", "JPEG");
  MailMessage m{"", "a@example.jp\r\nBcc: b@example.jp", "x\r\nBcc: c@example.jp", "本文", dir.Path() / "a.jpg"};
  const std::string mime = ComposeMime(m, "Thu, 10 Dec 2026 13:05:00 +0900", "B");
  EXPECT_EQ(mime.find("\r\nBcc:"), std::string::npos);
  EXPECT_NE(mime.find("To: a@example.jp  Bcc: b@example.jp\r\n"), std::string::npos);
}

struct SmtpFixture : ::testing::Test {
  testing::TempDir dir;
  std::filesystem::path received = dir.Path() / "received";
  std::filesystem::path picture = dir.Path() / "給与08-12[山田　太郎].jpg";
  SmtpSettings smtp;

  SmtpFixture() {
    std::filesystem::create_directory(received);
    ReplaceFileContents(picture, std::string("\xff\xd8\xff\xe0 not really a picture \x00\x01", 26));
    smtp.port = 0;
    smtp.security = SmtpSecurity::None;
    smtp.server = "127.0.0.1";
    smtp.from = "keiri@example.jp";
  }
  MailMessage Message(const std::string& to) {
    return {smtp.from, to, "令和8年12月分 給与明細書", "今月の明細です。\r\nご確認下さい。", picture};
  }
};

TEST_F(SmtpFixture, DeliversRecipientSubjectBodyAndAttachment) {
  testing::SmtpSink sink(received);
  ASSERT_NE(sink.port(), 0) << "python3-aiosmtpd is needed";
  smtp.port = sink.port();

  const SendResult good = SendBySmtp(smtp, "", Message("yamada@example.jp"));
  EXPECT_TRUE(good.ok) << good.error;
  const SendResult refused = SendBySmtp(smtp, "", Message("reject@example.jp"));
  EXPECT_FALSE(refused.ok);
  EXPECT_FALSE(refused.error.empty());

  const std::vector<testing::ReceivedMail> mails = sink.Received();
  ASSERT_EQ(mails.size(), 1u);
  EXPECT_EQ(mails[0].to, "yamada@example.jp");
  EXPECT_EQ(mails[0].subject, "令和8年12月分 給与明細書");
  EXPECT_EQ(mails[0].body, "今月の明細です。\r\nご確認下さい。");
  EXPECT_EQ(mails[0].attachmentName, "給与08-12[山田　太郎].jpg");
  EXPECT_EQ(mails[0].attachment, ReadWholeFile(picture));
}

TEST_F(SmtpFixture, FailuresAreReportedNotSent) {
  // Nobody listens on the port of a server that has stopped.
  int port = 0;
  {
    testing::SmtpSink sink(received);
    port = sink.port();
  }
  smtp.port = port;
  EXPECT_FALSE(SendBySmtp(smtp, "", Message("yamada@example.jp")).ok);
  // An empty or odd address never reaches the server; nor does a message whose picture is gone.
  EXPECT_FALSE(SendBySmtp(smtp, "", Message("")).ok);
  EXPECT_FALSE(SendBySmtp(smtp, "", Message("a b@example.jp")).ok);
  MailMessage missing = Message("yamada@example.jp");
  missing.attachment = dir.Path() / "none.jpg";
  EXPECT_FALSE(SendBySmtp(smtp, "", missing).ok);
  EXPECT_FALSE(SendBySmtp(SmtpSettings{}, "", Message("yamada@example.jp")).ok);
}

TEST(MailProgramTest, PassesTheMessageAsArgumentsAndTakesTheExitStatus) {
  testing::TempDir dir;
  const std::filesystem::path launcher = dir.Path() / "xdg-email";
  const std::filesystem::path log = dir.Path() / "args";
  {
    std::ofstream s(launcher);
    s << "#!/bin/sh\nfor a in \"$@\"; do printf '%s|' \"$a\"; done > '" << log.string() << "'\n"
      << "case \"$*\" in *fail@*) exit 3;; esac\n";
  }
  chmod(launcher.c_str(), 0755);
  MailMessage m{"", "yamada@example.jp", "件名 $(x)", "本文;\nrm -rf", dir.Path() / "a b.jpg"};
  EXPECT_TRUE(HandToMailProgram(launcher, m).ok);
  EXPECT_EQ(ReadWholeFile(log), "--subject|件名 $(x)|--body|本文;\nrm -rf|--attach|" + (dir.Path() / "a b.jpg").string() +
                                    "|yamada@example.jp|");
  m.to = "fail@example.jp";
  const SendResult failed = HandToMailProgram(launcher, m);
  EXPECT_FALSE(failed.ok);
  EXPECT_NE(failed.error.find("3"), std::string::npos);
  m.to = "--help";
  EXPECT_FALSE(HandToMailProgram(launcher, m).ok);
  EXPECT_FALSE(HandToMailProgram({}, m).ok);
}

}  // namespace
}  // namespace paylark::mail

#include "screens/mail_server.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "mail/smtp_settings.h"
#include "support/temp_dir.h"
#include "session/program_state.h"
#include "ui_support/gui_helpers.h"
#include "ui_support/recording_dialogs.h"

namespace paylark::screens {
namespace {

using testing::Child;
using testing::Click;

class MailServerTest : public ::testing::Test {
 protected:
  MailServerTest() : state(dir.Path()), screen(state, dialogs) {}

  // Opens the window, lets `fill` type into it, presses ＯＫ (then ｷｬﾝｾﾙ when it stayed open).
  bool Enter(const std::function<void()>& fill) {
    testing::OnNextModal([&](QWidget*) {
      fill();
      Click(Child<QPushButton>(&screen, "btOk"));
      if (screen.isVisible()) Click(Child<QPushButton>(&screen, "btCancel"));
    });
    return screen.Run();
  }
  void Type(const char* field, const QString& text) { Child<QLineEdit>(&screen, field)->setText(text); }

  testing::TempDir dir;
  ui::ProgramState state;
  testing::RecordingDialogs dialogs;
  TfmMailServer screen;
};

TEST_F(MailServerTest, StoresTheServerAndShowsItAgain) {
  EXPECT_TRUE(Enter([&] {
    EXPECT_EQ(Child<QLineEdit>(&screen, "edPort")->text(), "587");  // the defaults of a new file
    Type("edServer", " smtp.example.jp ");
    Type("edPort", "465");
    Child<QComboBox>(&screen, "cbSecurity")->setCurrentIndex(2);
    Type("edUser", "keiri");
    Type("edFrom", "keiri@example.jp");
  }));
  const mail::SmtpSettings stored = mail::LoadSmtpSettings(state.settings);
  EXPECT_EQ(stored, (mail::SmtpSettings{"smtp.example.jp", 465, mail::SmtpSecurity::Tls, "keiri", "keiri@example.jp"}));
  EXPECT_TRUE(stored.Configured());

  testing::OnNextModal([&](QWidget*) {
    EXPECT_EQ(Child<QLineEdit>(&screen, "edServer")->text(), "smtp.example.jp");
    EXPECT_EQ(Child<QComboBox>(&screen, "cbSecurity")->currentIndex(), 2);
    Click(Child<QPushButton>(&screen, "btCancel"));
  });
  EXPECT_FALSE(screen.Run());
}

TEST_F(MailServerTest, ASetServerNeedsASenderAddressAndAnEmptyOneSwitchesSmtpOff) {
  EXPECT_FALSE(Enter([&] {
    Type("edServer", "smtp.example.jp");
    Type("edFrom", "keiri");
  }));
  EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"送信者のメールアドレスを入力して下さい。"}));
  EXPECT_FALSE(mail::LoadSmtpSettings(state.settings).Configured());

  EXPECT_TRUE(Enter([&] {
    Type("edServer", "");
    Type("edFrom", "");
  }));
  EXPECT_FALSE(mail::LoadSmtpSettings(state.settings).Configured());
}

}  // namespace
}  // namespace paylark::screens

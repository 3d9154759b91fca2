#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>

#include "app/inp_pass.h"
#include "app/set_pass.h"
#include "store/app_settings.h"
#include "store/password.h"
#include "support/temp_dir.h"
#include "session/program_state.h"
#include "ui_support/gui_helpers.h"
#include "ui_support/recording_dialogs.h"

namespace paylark {
namespace {

using testing::Child;
using testing::Click;
using Texts = std::vector<std::string>;

class PasswordTest : public ::testing::Test {
 protected:
  PasswordTest() : state(dir.Path()) {}

  // Starts the prompt as the program does and types each attempt in turn; the last one is
  // followed by Cancel when it was wrong.
  bool StartWith(const std::vector<QString>& attempts) {
    app::TfmInpPass prompt(state, dialogs);
    if (prompt.Passed()) return prompt.RunAtStartUp();
    testing::OnNextModal([&](QWidget*) {
      for (const QString& attempt : attempts) {
        Child<QLineEdit>(&prompt, "edPassword")->setText(attempt);
        Click(Child<QPushButton>(&prompt, "bbOk"));
        if (!prompt.isVisible()) return;
      }
      Click(Child<QPushButton>(&prompt, "bbCancel"));
    });
    const bool passed = prompt.RunAtStartUp();
    EXPECT_EQ(passed, prompt.Passed());
    return passed;
  }

  // Opens the setting window, types both fields and presses 設定する (then キャンセル if still open).
  bool Set(const QString& first, const QString& second) {
    app::TfmSetPass window(state, dialogs);
    testing::OnNextModal([&](QWidget*) {
      EXPECT_TRUE(Child<QLineEdit>(&window, "edPass1")->text().isEmpty());
      Child<QLineEdit>(&window, "edPass1")->setText(first);
      Child<QLineEdit>(&window, "edPass2")->setText(second);
      Click(Child<QPushButton>(&window, "bbOk"));
      if (window.isVisible()) Click(Child<QPushButton>(&window, "bbCancel"));
    });
    return window.Run();
  }

  testing::TempDir dir;
  ui::ProgramState state;
  testing::RecordingDialogs dialogs;
};

TEST_F(PasswordTest, WithoutAPasswordNothingIsAsked) {
  EXPECT_TRUE(StartWith({}));
  EXPECT_TRUE(dialogs.Texts().empty());
}

TEST_F(PasswordTest, ThePromptAcceptsOnlyTheExactPassword) {
  SaveStoredPassword(state.settings, StorePassword("秘密 "));
  EXPECT_FALSE(StartWith({"秘密"}));  // the trailing blank is part of the password
  EXPECT_EQ(dialogs.Texts(), Texts{"パスワードが違います"});
  dialogs.Clear();
  EXPECT_TRUE(StartWith({"ひみつ", "秘密 "}));
  EXPECT_EQ(dialogs.Texts(), Texts{"パスワードが違います"});
}

TEST_F(PasswordTest, AnOlderStoredFormIsStillAccepted) {
  std::ofstream(state.paths.settingsFile) << "[Option]\r\nListFile=\"QRS\"\r\n";  // "abc", each byte − 16
  EXPECT_FALSE(StartWith({"QRS"}));
  EXPECT_TRUE(StartWith({"abc"}));
}

TEST_F(PasswordTest, SettingStoresAHashAndAnEmptyPasswordRemovesIt) {
  EXPECT_FALSE(Set("abc", "abd"));
  EXPECT_EQ(dialogs.Texts(), Texts{"パスワードの設定入力と確認入力が異なっています。"});
  dialogs.Clear();
  dialogs.answers = {ui::MsgAnswer::No};
  EXPECT_FALSE(Set("abc", "abc"));
  EXPECT_EQ(dialogs.Texts(), Texts{"パスワードを設定しますか？"});
  EXPECT_EQ(LoadStoredPassword(state.settings), "");

  dialogs.Clear();
  ASSERT_TRUE(Set("給与abc", "給与abc"));
  EXPECT_EQ(dialogs.Texts(), (Texts{"パスワードを設定しますか？", "パスワードを設定しました。"}));
  const std::string stored = LoadStoredPassword(state.settings);
  EXPECT_TRUE(IsHashedPassword(stored)) << stored;
  EXPECT_EQ(stored.find("給与abc"), std::string::npos);
  EXPECT_TRUE(StartWith({"給与abc"}));

  dialogs.Clear();
  ASSERT_TRUE(Set("", ""));
  EXPECT_EQ(dialogs.Texts(), (Texts{"パスワード設定を解除しますか？", "パスワード設定を解除しました。"}));
  EXPECT_EQ(LoadStoredPassword(state.settings), "");
  EXPECT_TRUE(StartWith({}));
}

TEST_F(PasswordTest, SettingFieldsAreMaskedAndEnterInTheFirstMovesToTheSecond) {
  app::TfmSetPass window(state, dialogs);
  testing::OnNextModal([&](QWidget*) {
    auto* first = Child<QLineEdit>(&window, "edPass1");
    auto* second = Child<QLineEdit>(&window, "edPass2");
    EXPECT_EQ(first->echoMode(), QLineEdit::Password);
    EXPECT_EQ(second->echoMode(), QLineEdit::Password);
    first->setFocus();
    QTest::keyClicks(first, "abc");
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_TRUE(window.isVisible());  // 設定する was not pressed
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(window.focusWidget(), second);  // the focus went on, whether or not the window is active
    QTest::keyClicks(second, "abc");
    QTest::keyClick(second, Qt::Key_Return);  // the default button from the second field
  });
  EXPECT_TRUE(window.Run());
  EXPECT_EQ(dialogs.Texts(), (Texts{"パスワードを設定しますか？", "パスワードを設定しました。"}));
}

}  // namespace
}  // namespace paylark

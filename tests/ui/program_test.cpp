#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <fstream>
#include <QPushButton>
#include <QTest>

#include "app/main_window.h"
#include "app/program.h"
#include "mail/smtp_settings.h"
#include "store/app_settings.h"
#include "store/password.h"
#include "store/profile_file.h"
#include "support/temp_dir.h"
#include "ui_support/gui_helpers.h"
#include "ui_support/recording_dialogs.h"

namespace paylark {
namespace {

namespace fs = std::filesystem;
using testing::RecordingDialogs;
using testing::TempDir;

// Runs `action` on the modal dialog with the given objectName once it is open.
void OnModalNamed(const QString& name, std::function<void(QWidget*)> action) {
  auto* timer = new QTimer;
  auto waited = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [=] {
    QWidget* modal = QApplication::activeModalWidget();
    *waited += 10;
    if ((modal && modal->objectName() == name) || *waited > 10000) {
      timer->stop();
      timer->deleteLater();
      if (modal && modal->objectName() == name) {
        action(modal);
      } else {
        ADD_FAILURE() << "no " << name.toStdString();
      }
    }
  });
  timer->start(10);
}

void CancelPeriodSelection(QWidget* selData) {
  testing::Click(testing::Child<QPushButton>(selData, "bbCancel"));
}

class ProgramTest : public ::testing::Test {
 protected:
  // A program folder with the generated tables (all four, or the first `tables` of them).
  void LayOut(int tables = 4) {
    const char* names[] = {"税額表(給与).dat", "税額表(賞与).dat", "雇用保険料額表.dat", "健康保険料額表.dat"};
    for (int i = 0; i < tables; ++i) fs::copy_file(fs::path(PAYLARK_PROGRAM_DIR) / names[i], folder / names[i]);
  }
  bool Contains(const std::string& text) const {
    for (const auto& t : dialogs.Texts()) {
      if (t == text) return true;
    }
    return false;
  }
  // Starts the program and waits until the main window has closed again.
  void RunUntilClosed(app::Program& program) {
    ASSERT_TRUE(program.Start());
    EXPECT_TRUE(QTest::qWaitFor([&program] { return !program.MainWindow().isVisible(); }, 15000))
        << "the main window is still open";
  }

  TempDir folder;
  RecordingDialogs dialogs;
};

TEST_F(ProgramTest, FirstStartShowsTheTaxNoticeOnceAndEndsWhenThePeriodSelectionIsLeft) {
  LayOut();
  fs::copy(fs::path(PAYLARK_PROGRAM_DIR) / "Tables", folder / "Tables", fs::copy_options::recursive);
  {
    app::Program program(folder.Path(), dialogs);
    OnModalNamed("TfmSelData", CancelPeriodSelection);
    RunUntilClosed(program);
  }
  const std::string editionsNotice =
      "源泉徴収税額表は次の版が組み込まれています。\r"
      "　令和8年分（2026-01-01から）\r"
      "　令和2年分（2020-01-01から）\r"
      "給与・賞与は、各月の支給日に適用される版で計算されます。";
  EXPECT_TRUE(Contains(editionsNotice)) << ::testing::PrintToString(dialogs.Texts());
  EXPECT_TRUE(Contains("初期設定を中止し、プログラムを終了して宜しいですか？"));
  EXPECT_TRUE(fs::exists(folder / "Data" / YearFileName(EraOf(Today()))));
  EXPECT_EQ(LoadProgramVersion(ProfileFile(folder / "Saldesk.ini")), app::VersionText().toStdString());

  dialogs.Clear();
  app::Program again(folder.Path(), dialogs);
  OnModalNamed("TfmSelData", CancelPeriodSelection);
  RunUntilClosed(again);
  EXPECT_FALSE(Contains(editionsNotice));
}

TEST_F(ProgramTest, PrintAndMailCommandsReachTheirScreens) {
  LayOut();
  ProfileFile settings(folder / "Saldesk.ini");
  mail::SmtpSettings smtp;
  smtp.server = "127.0.0.1";
  smtp.from = "keiri@example.jp";
  mail::SaveSmtpSettings(settings, smtp);
  app::Program program(folder.Path(), dialogs);
  for (const char* name : {"mnMeisaihyo", "mnKyuyoDaicho", "mnKyuyoIchiran", "mnSendMail", "mnMailServer"}) {
    EXPECT_TRUE(testing::Child<QAction>(&program.MainWindow(), name)->isEnabled()) << name;
  }
}

TEST_F(ProgramTest, AReadOnlySettingsFileStopsTheStartUp) {
  LayOut();
  EXPECT_TRUE(app::PassesWriteTest(folder.Path(), dialogs));
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_FALSE(fs::exists(folder / "Write.chk"));
  std::ofstream(folder / "Saldesk.ini") << "[Option]\r\n";
  fs::permissions(folder / "Saldesk.ini", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_FALSE(app::PassesWriteTest(folder.Path(), dialogs));
  EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"設定ファイルに書き込み出来ません。", "プログラム起動不可[0]"}));
}

TEST_F(ProgramTest, AMissingOrDamagedTableIsNamedAtStartUp) {
  LayOut(3);  // no grade table: three are enough to start, and the missing one is named
  {
    app::Program program(folder.Path(), dialogs);
    OnModalNamed("TfmSelData", CancelPeriodSelection);
    RunUntilClosed(program);
  }
  EXPECT_TRUE(Contains("健康保険料額表.dat がありません。"));
  EXPECT_FALSE(Contains("必要な表データファイルが足りません。"));

  dialogs.Clear();
  {
    std::ofstream damaged(folder / "税額表(賞与).dat", std::ios::binary | std::ios::trunc);
    damaged << std::string(100, '\0');
  }
  app::Program program(folder.Path(), dialogs);
  RunUntilClosed(program);
  EXPECT_TRUE(Contains("税額表(賞与).dat の大きさが 100 バイトです（1568 バイトのはずです）。\r健康保険料額表.dat がありません。"));
  EXPECT_TRUE(Contains("必要な表データファイルが足りません。"));
}

TEST_F(ProgramTest, FewerThanThreeTablesEndTheProgram) {
  LayOut(2);
  app::Program program(folder.Path(), dialogs);
  RunUntilClosed(program);
  EXPECT_TRUE(Contains("必要な表データファイルが足りません。"));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(ProgramTest, TheStartUpPasswordIsAskedUntilItIsRight) {
  LayOut();
  {
    ProfileFile settings(folder / "Saldesk.ini");
    SaveStoredPassword(settings, StorePassword("abc"));
    SaveProgramVersion(settings, "3.01");
  }
  app::Program program(folder.Path(), dialogs);
  OnModalNamed("TfmInpPass", [](QWidget* prompt) {
    auto* field = testing::Child<QLineEdit>(prompt, "edPassword");
    field->setText("abd");
    testing::Click(testing::Child<QPushButton>(prompt, "bbOk"));
    field->setText("abc");
    OnModalNamed("TfmSelData", CancelPeriodSelection);
    testing::Click(testing::Child<QPushButton>(prompt, "bbOk"));
  });
  RunUntilClosed(program);
  EXPECT_TRUE(Contains("パスワードが違います"));
  EXPECT_TRUE(Contains("初期設定を中止し、プログラムを終了して宜しいですか？"));
}

TEST_F(ProgramTest, CancellingThePasswordEndsBeforeThePeriodSelection) {
  LayOut();
  SaveStoredPassword(*std::make_unique<ProfileFile>(folder / "Saldesk.ini"), StorePassword("abc"));
  app::Program program(folder.Path(), dialogs);
  OnModalNamed("TfmInpPass", [](QWidget* prompt) {
    testing::Click(testing::Child<QPushButton>(prompt, "bbCancel"));
  });
  RunUntilClosed(program);
  EXPECT_FALSE(Contains("初期設定を中止し、プログラムを終了して宜しいですか？"));
}

}  // namespace
}  // namespace paylark

#include <gtest/gtest.h>

#include <fstream>

#include "app/report_import.h"
#include "store/sjis.h"
#include "support/temp_dir.h"
#include "ui_support/recording_dialogs.h"
#include "ui_support/year_files.h"

namespace paylark {
namespace {

namespace fs = std::filesystem;
using testing::RecordingDialogs;
using testing::TempDir;

std::string Line(const std::string& item, const std::string& value) {
  std::string sjis = ToSjis(item);
  sjis.resize(12, ' ');
  return sjis + "  " + std::string(6 - value.size(), ' ') + value + "\r\n";
}

class ReportImportTest : public ::testing::Test {
 protected:
  ReportImportTest() : state(folder.Path()) {
    fs::create_directories(state.paths.dataDir);
    state.open.eraYear = {"令和", 8};
    state.open.currentDataFile = state.paths.dataDir / YearFileName(state.open.eraYear);
    const auto yamada = testing::TestEmployee("山田　太郎", "260101_000001", PayForm::Monthly, 0);
    const auto suzuki = testing::TestEmployee("鈴木花子", "260101_000002", PayForm::Hourly, 0);
    // June: 山田 had 10 days of paid leave left.
    testing::SaveTestPeriod(state.open.currentDataFile, 6, "ひばり商事", {yamada, suzuki},
                            [](PeriodBlock& p) { p.Attendance(1).Set(Kintai::PaidLeaveBalance, 10); });
    state.open.periodIndex = 7;
    LoadPeriod(state.open.currentDataFile, 6, state.Period());
    state.Period().ClearFigures();
  }
  std::string Report(const std::string& name, const std::string& body) {
    const fs::path path = folder / name;
    std::ofstream(path, std::ios::binary) << body;
    return path.string();
  }

  TempDir folder;
  ui::ProgramState state;
  RecordingDialogs dialogs;
};

TEST_F(ReportImportTest, FilesLandInTheirEmployeesAndPaidLeaveIsRecomputed) {
  dialogs.filesToOpen = {Report("07[山田太郎].knm", Line("実働時間", "160:30") + Line("有休日数", "2") + Line("出勤日数", "18")),
                         Report("07b[山田太郎].knm", Line("出勤日数", "19")),
                         Report("07[鈴木花子].knm", Line("実働時間", "80")),
                         Report("07[佐藤].knm", Line("出勤日数", "5")),
                         Report("07.knm", Line("出勤日数", "7"))};
  EXPECT_TRUE(app::ImportAttendanceReports(state, dialogs));
  const PeriodBlock& p = state.Period();
  EXPECT_EQ(p.Attendance(1).Get(Kintai::WorkedHours), 160.5);
  EXPECT_EQ(p.Attendance(1).Get(Kintai::WorkDays), 19);         // the later file wins
  EXPECT_EQ(p.Attendance(1).Get(Kintai::PaidLeaveBalance), 8);  // June's 10 − 2
  EXPECT_EQ(p.Attendance(2).Get(Kintai::WorkedHours), 80);
  EXPECT_EQ(p.Attendance(2).Get(Kintai::PaidLeaveBalance), 0);  // nothing in June: left as it is
  EXPECT_EQ(p.Attendance(3), AttendanceRecord{});               // no unused slot takes figures
  EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"該当者のデータ無し [佐藤]", "該当者のデータ無し []"}));
}

TEST_F(ReportImportTest, CancelOrAnUnreadableFileLeavesTheSheetAsItIs) {
  EXPECT_FALSE(app::ImportAttendanceReports(state, dialogs));  // nothing chosen
  fs::create_directory(folder / "[鈴木花子].knm");             // a folder: cannot be read as a file
  dialogs.filesToOpen = {Report("[山田太郎].knm", Line("出勤日数", "18")), (folder / "[鈴木花子].knm").string(),
                         Report("x[山田太郎].knm", Line("出勤日数", "1"))};
  EXPECT_FALSE(app::ImportAttendanceReports(state, dialogs));
  EXPECT_EQ(state.Period().Attendance(1).Get(Kintai::WorkDays), 18);  // earlier files stay, later ones are not read
  EXPECT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].kind, ui::MsgKind::Error);
}

}  // namespace
}  // namespace paylark

#include <gtest/gtest.h>

#include <fstream>

#include "calc/attendance_import.h"
#include "store/sjis.h"
#include "store/year_file.h"
#include "support/payroll_fixture.h"
#include "support/recording_reporter.h"
#include "support/temp_dir.h"

namespace paylark {
namespace {

namespace fs = std::filesystem;
using testing::RecordingReporter;
using testing::TempDir;

// A report line: the item name blank-padded to 12 bytes, two separator bytes, the value in 6.
std::string Line(const std::string& item, const std::string& value) {
  std::string sjis = ToSjis(item);
  sjis.resize(12, ' ');
  std::string v = value;
  if (v.size() < 6) v.insert(0, 6 - v.size(), ' ');
  return sjis + "  " + v + "\r\n";
}

fs::path WriteReport(const TempDir& dir, const std::string& name, const std::string& body) {
  const fs::path path = dir / name;
  std::ofstream(path, std::ios::binary) << body;
  return path;
}

PeriodBlock Staff() {
  PeriodBlock p;
  p.Employee(1) = testing::TestEmployee("山田　太郎", "260101_000001", PayForm::Monthly, 0);
  p.Employee(2) = testing::TestEmployee("鈴木 花子", "260101_000002", PayForm::Hourly, 0);
  p.Employee(3).SetName("");  // unused slot
  return p;
}

TEST(AttendanceReport, NameFromTheBracketsAndLinesByByteColumns) {
  TempDir dir;
  EXPECT_EQ(ReportEmployeeName("/x/2026-12[山田太郎]勤務.knm"), "山田太郎");
  EXPECT_EQ(ReportEmployeeName("勤務.knm"), "");
  EXPECT_EQ(ReportEmployeeName("a[].knm"), "");
  const auto lines = ReadAttendanceReport(
      WriteReport(dir, "[山田太郎].knm", Line("実働時間", "160:30") + Line("出勤日数", "20") + "\n" + Line("不明", "1")));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].item, "実働時間");
  EXPECT_EQ(lines[0].value, "160:30");
  EXPECT_EQ(lines[2].item, "不明");
  EXPECT_THROW(ReadAttendanceReport(dir / "missing.knm"), YearFileError);
}

TEST(AttendanceImport, FindsTheEmployeeAmongSlotsInUseOnly) {
  const PeriodBlock p = Staff();
  EXPECT_EQ(FindReportEmployee(p, "山田太郎"), 1);     // full-width space removed from the name
  EXPECT_EQ(FindReportEmployee(p, "鈴木花子"), 2);
  EXPECT_EQ(FindReportEmployee(p, "山田 太郎"), 0);    // a space in the bracket text matches nobody
  EXPECT_EQ(FindReportEmployee(p, ""), 0);             // never an unused slot's empty name
  EXPECT_EQ(NoEmployeeMessage("佐藤"), "該当者のデータ無し [佐藤]");
}

TEST(AttendanceImport, StoresTheTenItemsLaterLinesWinAndRecomputesPaidLeave) {
  PeriodBlock p = Staff();
  p.Attendance(1).Set(Kintai::ScheduledDays, 20);
  p.Attendance(1).Set(Kintai::PaidLeaveBalance, 3);
  const std::vector<ReportLine> first{{"実働時間", "160:30"}, {"有休日数", "2"}, {"所定労働日数", "99"},
                                      {"遅刻早退時間", "5"}, {"出勤日数", "18"}};
  const std::vector<ReportLine> second{{"出勤日数", "19"}};
  RecordingReporter reporter;
  ApplyAttendanceReport(p, 1, first, reporter);
  ApplyAttendanceReport(p, 1, second, reporter);
  EXPECT_EQ(p.Attendance(1).Get(Kintai::WorkedHours), 160.5);
  EXPECT_EQ(p.Attendance(1).Get(Kintai::WorkDays), 19);
  EXPECT_EQ(p.Attendance(1).Get(Kintai::ScheduledDays), 20);  // never read from a report
  EXPECT_EQ(p.Attendance(1).Get(Kintai::LateHours), 0);
  EXPECT_TRUE(reporter.errors.empty());

  testing::FakePreviousPeriods previous;
  RecomputePaidLeaveBalance(p, 1, 7, previous);               // June not found: left as it is
  EXPECT_EQ(p.Attendance(1).Get(Kintai::PaidLeaveBalance), 3);
  previous.figures[{6, "260101_000001"}] = {0, 10.0};
  RecomputePaidLeaveBalance(p, 1, 7, previous);
  EXPECT_EQ(p.Attendance(1).Get(Kintai::PaidLeaveBalance), 8);
  RecomputePaidLeaveBalance(p, 1, 7, previous);               // importing again gives the same
  EXPECT_EQ(p.Attendance(1).Get(Kintai::PaidLeaveBalance), 8);

  ApplyAttendanceReport(p, 1, {{"欠勤日数", "1.2.3"}}, reporter);
  EXPECT_EQ(reporter.errors, std::vector<std::string>{"入力エラー"});
  EXPECT_EQ(p.Attendance(1).Get(Kintai::AbsenceDays), 0);
}

}  // namespace
}  // namespace paylark

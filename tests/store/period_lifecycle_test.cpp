#include <gtest/gtest.h>

#include <fstream>

#include "store/atomic_file.h"
#include "store/backup.h"
#include "store/change_check.h"
#include "store/password.h"
#include "store/period_preparation.h"
#include "store/year_file_list.h"
#include "support/temp_dir.h"

namespace paylark {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// Saves period `k` of a yearly file with a company and one employee per name.
void SaveWith(const fs::path& file, OpenPeriod& state, int k, const std::string& company,
              std::vector<std::string> names) {
  state.periodIndex = k;
  state.period.Clear();
  state.period.company.SetName(company);
  for (std::size_t i = 0; i < names.size(); ++i) {
    EmployeeRecord& e = state.period.Employee(static_cast<int>(i) + 1);
    e.SetName(names[i]);
    e.SetKey("2601" + std::to_string(10 + i) + "_000000");
    e.SetPayFormCode(i == 0 ? 1 : 2);
  }
  state.period.Attendance(1).Set(Kintai::WorkDays, 5);
  SavePeriod(file, state);
}

TEST(YearFileList, EveryEraAndYearInCalendarOrder) {
  TempDir dir;
  for (const char* name : {"令和8年給与･賞与.dat", "平成31年給与･賞与.dat", "令和1年給与･賞与.dat",
                           "平成30年給与･賞与.dat", "令和10年給与･賞与.dat", "社員情報.dat", "メモ.txt"}) {
    std::ofstream(dir / name) << "x";
  }
  std::vector<std::string> labels;
  for (const auto& f : ListYearFiles(dir.Path())) labels.push_back(f.Label());
  EXPECT_EQ(labels, (std::vector<std::string>{"平成30年", "平成31年", "令和1年", "令和8年", "令和10年"}));
}

TEST(ChangeCheck, StaleBytesBehindNamesAreNoChangeOnEitherSide) {
  PeriodBlock memory;
  memory.company.SetName("ひばり商事");
  memory.Employee(1).SetName("山田太郎");
  PeriodBlock file = memory;
  // The file was written by a program that left the old, longer name behind the length byte.
  file.Employee(1).SetName("山田太郎兵衛");
  file.Employee(1).bytes[0] = 8;
  EXPECT_FALSE(PeriodDiffers(memory, file));
  memory.company.bytes[40] = 'x';  // behind the company name in memory
  EXPECT_FALSE(PeriodDiffers(memory, file));
  memory.Attendance(1).Set(Kintai::WorkDays, 1);
  EXPECT_TRUE(PeriodDiffers(memory, file));
}

TEST(PeriodPreparation, CarryOverSources) {
  TempDir dir;
  OpenPeriod state;
  state.eraYear = {"令和", 8};
  state.currentDataFile = dir / YearFileName(state.eraYear);
  OpenPeriod previousYear;
  const fs::path lastYear = dir / YearFileName({"令和", 7});
  CreateYearFile(lastYear, previousYear);
  SaveWith(lastYear, previousYear, 12, "前年商事", {"前年一郎"});
  CreateYearFile(state.currentDataFile, state);

  auto prepare = [&](int period, const std::string& company, bool later) {
    state.period.Attendance(1).Set(Kintai::WorkDays, 99);
    const PreparedPeriod p = PrepareNewPeriod(dir.Path(), state, period);
    EXPECT_EQ(state.period.company.Name(), company);
    EXPECT_EQ(p.laterDataExists, later);
    EXPECT_EQ(p.needsReferenceData, company.empty());
    EXPECT_EQ(state.period.Attendance(1), AttendanceRecord{});
  };
  {
    SCOPED_TRACE("January from December of the previous year");
    prepare(1, "前年商事", false);
  }
  SaveWith(state.currentDataFile, state, 3, "三月商事", {"三月一郎", "三月次郎"});
  {
    SCOPED_TRACE("April from March");
    prepare(4, "三月商事", false);
    EXPECT_EQ(state.period.Employee(2).Name(), "三月次郎");
  }
  {
    SCOPED_TRACE("January while March is saved: the previous year's data is older than what is known");
    prepare(1, "", true);
  }
  SaveWith(state.currentDataFile, state, 6, "六月商事", {"六月一郎"});
  {
    SCOPED_TRACE("bonus from the latest saved month");
    prepare(13, "六月商事", false);
  }
  {
    SCOPED_TRACE("May from an unsaved, empty April");
    prepare(5, "", false);
  }
  SaveWith(state.currentDataFile, state, 4, "四月商事", {"四月一郎"});
  {
    SCOPED_TRACE("May from April while June is saved: discarded");
    prepare(5, "", true);
    EXPECT_FALSE(state.period.Employee(1).InUse());
  }
}

TEST(PeriodPreparation, JanuaryAcrossAnEraChange) {
  TempDir dir;
  OpenPeriod old;
  CreateYearFile(dir / YearFileName({"平成", 31}), old);
  SaveWith(dir / YearFileName({"平成", 31}), old, 12, "平成商事", {"平成一郎"});
  OpenPeriod state;
  state.eraYear = {"令和", 2};
  state.currentDataFile = dir / YearFileName(state.eraYear);
  CreateYearFile(state.currentDataFile, state);
  PrepareNewPeriod(dir.Path(), state, 1);
  EXPECT_EQ(state.period.company.Name(), "平成商事");
}

TEST(PeriodPreparation, MonthlyPaidStartWithTheScheduledFigures) {
  PeriodBlock p;
  p.company.SetPeriodDays(21);
  p.company.SetPeriodHours(168);
  p.Employee(1).SetKey("a");
  p.Employee(1).SetPayFormCode(1);
  p.Employee(2).SetKey("b");
  p.Employee(2).SetPayFormCode(2);
  PresetMonthlyAttendance(p);
  EXPECT_EQ(p.Attendance(1).Get(Kintai::WorkDays), 21);
  EXPECT_EQ(p.Attendance(1).Get(Kintai::WorkedHours), 168);
  EXPECT_EQ(p.Attendance(2).Get(Kintai::WorkDays), 0);
}

TEST(Backup, CopiesDataFilesAndSettingsWholeAndStopsOnFailure) {
  TempDir data, target, restoreInto;
  std::ofstream(data / "令和8年給与･賞与.dat") << "year";
  std::ofstream(data / "社員情報.dat") << "template";
  std::ofstream(data / "notes.txt") << "not copied";
  const fs::path settings = data / ".." / (data.Path().filename().string() + "-Saldesk.ini");
  std::ofstream(settings) << "[Option]\r\n";
  ASSERT_TRUE(BackupDataFiles(data.Path(), settings, target.Path()).ok);
  EXPECT_EQ(ReadWholeFile(target / "社員情報.dat"), "template");
  EXPECT_EQ(ReadWholeFile(target / settings.filename()), "[Option]\r\n");
  EXPECT_FALSE(fs::exists(target / "notes.txt"));

  const fs::path mySettings = restoreInto / settings.filename();
  ASSERT_TRUE(RestoreDataFiles(target.Path(), restoreInto.Path(), mySettings).ok);
  EXPECT_EQ(ReadWholeFile(restoreInto / "令和8年給与･賞与.dat"), "year");
  EXPECT_EQ(ReadWholeFile(mySettings), "[Option]\r\n");

  EXPECT_FALSE(BackupDataFiles(data.Path(), settings, target / "missing").ok);
  fs::remove(target / settings.filename());
  EXPECT_FALSE(RestoreDataFiles(target.Path(), restoreInto.Path(), mySettings).ok);  // no settings file there
  fs::remove(settings);
}

TEST(Password, HashedAndOlderStoredForms) {
  const std::string stored = StorePassword("secret 1");
  EXPECT_TRUE(IsHashedPassword(stored));
  EXPECT_EQ(stored.find("secret"), std::string::npos);
  EXPECT_TRUE(PasswordMatches(stored, "secret 1"));
  EXPECT_FALSE(PasswordMatches(stored, "secret1"));   // the blank counts
  EXPECT_FALSE(PasswordMatches(stored, "Secret 1"));
  EXPECT_NE(StorePassword("secret 1"), stored);        // salted

  const std::string legacy = LegacyEncodePassword("abc");  // "QRS"
  EXPECT_EQ(legacy, "QRS");
  EXPECT_TRUE(PasswordMatches(legacy, "abc"));
  EXPECT_FALSE(PasswordMatches(legacy, "abd"));
  EXPECT_EQ(StorePassword(""), "");
  EXPECT_TRUE(PasswordMatches("", "anything"));
}

}  // namespace
}  // namespace paylark

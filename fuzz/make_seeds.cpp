// Seed corpora for the fuzz targets, written by the program's own writers: a yearly file saved by
// the store, a settings file written through the settings writers, the four table files as the
// table generator wrote them into the program folder, report lines in the layout the import
// reads, and entry texts as the display formats and the normalisation write them.
//
//   make_seeds OUTPUT_FOLDER PROGRAM_FOLDER
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>

#include "entry/display_format.h"
#include "fuzz/fuzz_support.h"
#include "store/app_settings.h"
#include "store/item_settings.h"
#include "store/profile_file.h"
#include "store/rate_tables.h"
#include "store/sjis.h"
#include "store/year_file.h"

using namespace paylark;
namespace fs = std::filesystem;

namespace {

PeriodBlock SampleMonth() {
  PeriodBlock p;
  p.company.SetName("株式会社ひばり商事");
  p.company.SetPayDay(25);
  p.company.SetPeriodDays(20);
  p.company.SetPeriodHours(160);
  p.company.SetDayHours(8);
  p.company.SetHealthRate(4.955);
  p.company.SetPensionRate(9.15);
  EmployeeRecord& a = p.Employee(1);
  a.SetName("山田　太郎");
  a.SetKey("240401_090000");
  a.SetPayFormCode(1);
  a.SetBasePay(280000);
  a.SetTaxDependants(1);
  a.SetHealthSubject(true);
  a.SetPensionSubject(true);
  EmployeeRecord& b = p.Employee(2);
  b.SetName("鈴木　花子");
  b.SetKey("240401_090001");
  b.SetPayFormCode(3);
  b.SetTaxColumn(1);
  p.Attendance(1).Set(Kintai::WorkDays, 20);
  p.Attendance(1).Set(Kintai::WorkedHours, 168.5);
  p.Attendance(1).Set(Kintai::OvertimeHours, 8.5);
  p.Payment(2).Set(Sikyu::BasePay, 120000);
  return p;
}

void YearFiles(const fs::path& out) {
  const fs::path file = out / "令和8年給与･賞与.dat";
  OpenPeriod state;
  CreateYearFile(file, state);
  for (int period : {11, 12, 14}) {
    state.periodIndex = period;
    state.period = SampleMonth();
    if (period == 14) {
      state.header.SetBonusMonth(14, 12);
      state.header.SetBonusDay(14, 10);
      state.period.Payment(1).Set(Sikyu::Bonus, 600000);
    }
    SavePeriod(file, state);
  }
  const std::string whole = fuzz::ReadFile(file);
  fs::remove(file);
  // The last byte picks the period the target reads: one seed per kind of period.
  for (unsigned char pick : {11, 13, 0}) {
    std::string seed = whole;
    seed.back() = static_cast<char>(pick);
    fuzz::WriteFile(out / ("year-period-" + std::to_string(1 + pick % kPeriodCount)), seed);
  }
  fuzz::WriteFile(out / "year-short", whole.substr(0, FileHeader::kSize + 2000));
}

void Settings(const fs::path& out) {
  const fs::path file = out / "settings.ini";
  ProfileFile settings(file);
  const Options options;
  SaveOptions(settings, options);
  SaveItemSettings(settings, DefaultItemSettings(ItemKind::Salary), options);
  SaveItemSettings(settings, DefaultItemSettings(ItemKind::Bonus), options);
  SaveWindowSettings(settings, LoadWindowSettings(settings, 640, 480));
  SavePrinterSettings(settings, LoadPrinterSettings(settings));
  SavePrintMemo(settings, {"毎月25日支給", "ご苦労様でした"});
  SaveMailText(settings, {"今月の給与明細です。"});
  SaveProgramVersion(settings, "3.01");
  SaveStandardDailyHours(settings, 7.75);
  SaveBackupPath(settings, "/srv/backup");
}

void Tables(const fs::path& out, const fs::path& program) {
  for (const fs::path& folder : {program, program / "Tables" / "2020-01-01"}) {
    for (int i = 0; i < kTableCount; ++i) {
      const fs::path file = folder / TableFileName(static_cast<TableId>(i));
      if (!fs::exists(file)) continue;
      const std::string bytes = fuzz::ReadFile(file);
      const std::string tag = folder == program ? "current" : "2020";
      fuzz::WriteFile(out / ("table-" + std::to_string(i) + "-" + tag), std::string(1, static_cast<char>(i)) + bytes);
      // The image alone, as a file of the fixed layout.
      fuzz::WriteFile(out / ("table-" + std::to_string(i) + "-" + tag + "-image"),
                      std::string(1, static_cast<char>(i)) + bytes.substr(0, TableFileSize(static_cast<TableId>(i))));
    }
  }
}

std::string ReportLine(const std::string& item, const std::string& value) {
  std::string sjis = ToSjis(item);
  sjis.resize(12, ' ');
  return sjis + "  " + std::string(6 - value.size(), ' ') + value + "\r\n";
}

void Reports(const fs::path& out) {
  fuzz::WriteFile(out / "report-month",
                  ReportLine("出勤日数", "20") + ReportLine("実働時間", "160:30") + ReportLine("普通残業時間", "12.5") +
                      ReportLine("有休日数", "1") + ReportLine("欠勤日数", "0") + ReportLine("遅刻早退回数", "2") +
                      ReportLine("遅刻早退時間", "1:15") + ReportLine("深夜残業時間", "0:45"));
  fuzz::WriteFile(out / "report-short", ReportLine("実働時間", "80"));
}

void Entries(const fs::path& out) {
  int n = 0;
  auto seed = [&](int code, const std::string& text) {
    fuzz::WriteFile(out / ("entry-" + std::to_string(n++)), std::string{static_cast<char>(code), 1} + text);
  };
  for (int code : {20, 51, 52, 62, 63, 70, 90, 100}) {
    seed(code, FormatAmount(7, 1234567));
    seed(code, FormatHours(160.5, 1));
    seed(code, FormatHours(-0.5, 1));
    seed(code, FormatHours(12.75, 0));
    seed(code, FormatDays(20.5));
    seed(code, "012.34");
    seed(code, "-0:30");
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_seeds OUTPUT_FOLDER PROGRAM_FOLDER\n";
    return 2;
  }
  const fs::path out = argv[1];
  const struct {
    const char* target;
    void (*write)(const fs::path&);
  } kinds[] = {{"year_file", YearFiles}, {"settings", Settings}, {"knm", Reports}, {"entry", Entries}};
  try {
    for (const auto& k : kinds) {
      fs::create_directories(out / k.target);
      k.write(out / k.target);
    }
    fs::create_directories(out / "rate_tables");
    Tables(out / "rate_tables", argv[2]);
  } catch (const std::exception& e) {
    std::cerr << "make_seeds: " << e.what() << "\n";
    return 1;
  }
  return 0;
}

// Attendance report files (*.knm): the input is the report. Properties: any file reads without
// undefined behaviour; every line's value is at most the six bytes of its field; taking the
// report into a slot changes only that slot's attendance record.
#include <memory>

#include "calc/attendance_import.h"
#include "fuzz/fuzz_support.h"
#include "store/attendance_report.h"
#include "store/year_file.h"

using namespace paylark;

namespace {

class CountingReporter : public Reporter {
 public:
  void Error(std::string_view) override { ++errors; }
  int errors = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzz::ScratchFolder folder;
  const std::filesystem::path file = folder / "07[山田太郎].knm";
  fuzz::WriteFile(file, fuzz::AsText(data, size));
  std::vector<ReportLine> lines;
  try {
    lines = ReadAttendanceReport(file);
  } catch (const YearFileError&) {
    fuzz::Finding("a report file that exists failed to read");
  }
  fuzz::Require(ReportEmployeeName(file) == "山田太郎", "the employee name of the file name");

  auto period = std::make_unique<PeriodBlock>();
  period->Employee(1).SetName("山田　太郎");
  period->Employee(1).SetKey("240401_090000");
  period->Employee(2).SetName("鈴木");
  period->Employee(2).SetKey("240401_090001");
  period->Attendance(2).Set(Kintai::WorkDays, 3);
  const int slot = FindReportEmployee(*period, ReportEmployeeName(file));
  fuzz::Require(slot == 1, "the report's employee is not found");
  auto before = std::make_unique<PeriodBlock>(*period);
  CountingReporter reporter;
  ApplyAttendanceReport(*period, slot, lines, reporter);
  before->Attendance(1) = period->Attendance(1);
  fuzz::Require(*before == *period, "taking a report over changed more than its slot's attendance");
  return 0;
}

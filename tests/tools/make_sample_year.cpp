// Writes a small yearly file for end-to-end checks: a company with three employees (月給, 日給 with
// 乙欄, 時間給, one of them retired in period 12), salary months 11 and 12 with attendance entered
// but figures not yet calculated, and the winter bonus (period 14, paid in December) entered.
// With --levy the company collects the 子ども・子育て支援金 (0.115 %) and the 月給 employee has
// the levy premium of grade 22 (345).
//
//   make_sample_year FOLDER ERA YEAR [--levy]   ->   FOLDER/<ERA><YEAR>年給与･賞与.dat
#include <cstdlib>
#include <iostream>
#include <string>

#include "store/year_file.h"

using namespace paylark;

namespace {

PeriodBlock SampleMonth(int month, bool levy) {
  PeriodBlock p;
  CompanyRecord& c = p.company;
  c.SetName("株式会社ひばり商事");
  c.SetGeneralBusiness(true);
  c.SetPayDay(25);
  c.SetPeriodDays(20);
  c.SetPeriodHours(160);
  c.SetMonthDays(20);
  c.SetMonthHours(160);
  c.SetDayHours(8);
  c.SetEmploymentRate(0.55);
  c.SetHealthRate(4.955);
  c.SetNursingRate(0.795);
  c.SetPensionRate(9.15);

  EmployeeRecord& a = p.Employee(1);
  a.SetName("山田　太郎");
  a.SetDepartment("営業部");
  a.SetKey("240401_090000");
  a.SetPayFormCode(1);
  a.SetBasePay(280000);
  a.SetTaxDependants(1);
  a.SetPositionAllowance(20000);
  a.SetOvertimePrice(0, 2200);
  a.SetCommuteUnit(2);
  a.SetCommuteNonTaxable(12000);
  a.SetResidentTaxOther(11000);
  a.SetResidentTaxJune(11500);
  a.SetAbsenceDeduction(14000);
  a.SetHealthSubject(true);
  a.SetHealthPremium(14865);
  a.SetNursingCollected(false);
  a.SetPensionSubject(true);
  a.SetPensionPremium(27450);
  a.SetEmploymentSubject(true);
  a.SetGrade(22);
  if (levy) {
    c.SetLevyRate(0.115);
    a.SetLevyPremium(345);
  }

  EmployeeRecord& b = p.Employee(2);
  b.SetName("鈴木花子");
  b.SetKey("240401_090100");
  b.SetPayFormCode(2);
  b.SetTaxColumn(1);
  b.SetBasePay(9500);
  b.SetCommuteUnit(1);
  b.SetCommuteNonTaxable(500);
  b.SetEmploymentSubject(true);

  EmployeeRecord& h = p.Employee(3);
  h.SetName("佐藤次郎");
  h.SetKey("240401_090200");
  h.SetPayFormCode(3);
  h.SetBasePay(1200);
  h.SetPaidLeavePay(8000);
  if (month == 12) h.SetRetirementDate("241130");

  p.Attendance(1).Set(Kintai::ScheduledDays, 20);
  p.Attendance(1).Set(Kintai::ScheduledHours, 160);
  p.Attendance(1).Set(Kintai::WorkDays, 20);
  p.Attendance(1).Set(Kintai::WorkedHours, 170.5);
  p.Attendance(1).Set(Kintai::OvertimeHours, 10.5);
  p.Attendance(2).Set(Kintai::WorkDays, 18);
  p.Attendance(3).Set(Kintai::WorkedHours, 96.25);
  p.Attendance(3).Set(Kintai::PaidLeaveDays, 1);
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  const bool levy = argc == 5 && std::string(argv[4]) == "--levy";
  if (argc != 4 && !levy) {
    std::cerr << "usage: make_sample_year FOLDER ERA YEAR [--levy]\n";
    return 2;
  }
  const EraYear eraYear{argv[2], std::atoi(argv[3])};
  const std::filesystem::path file = std::filesystem::path(argv[1]) / YearFileName(eraYear);
  std::filesystem::remove(file);
  OpenPeriod state;
  CreateYearFile(file, state);
  for (int month : {11, 12}) {
    state.periodIndex = month;
    state.period = SampleMonth(month, levy);
    SavePeriod(file, state);
  }
  state.periodIndex = 14;
  state.period = SampleMonth(12, levy);
  state.period.ClearFigures();
  state.period.Payment(1).Set(Sikyu::Bonus, 600000);
  state.period.Payment(2).Set(Sikyu::Bonus, 100000);
  state.header.SetBonusMonth(14, 12);
  state.header.SetBonusDay(14, 10);
  SavePeriod(file, state);
  std::cout << file.string() << "\n";
  return 0;
}

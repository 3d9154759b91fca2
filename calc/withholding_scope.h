// Whose 給与所得の源泉徴収票 goes to the 税務署, and the 法定調書合計表's figures of 給与所得.
//
// The slip's 支払金額 and 源泉徴収税額 are those of the 年末調整 when the employee is adjusted (the
// 給与の総額 with the 前職分, the 年調年税額), otherwise this employer's pay and the tax withheld. The
// scope of the year (store/year_end_rules.h, FilingScope) is judged on that 支払金額: above the
// threshold of the employee's case the slip is filed. The 給与支払報告書 goes to the municipality for
// every employee but a leaver of the year whose pay is at most the year's limit.
#pragma once

#include <string>
#include <vector>

#include "calc/year_end_figures.h"
#include "store/year_end_rules.h"

namespace paylark {

// The two amounts the slip prints in 支払金額 and 源泉徴収税額.
struct SlipAmounts {
  Yen paid = 0;
  Yen tax = 0;
};
SlipAmounts SlipAmountsOf(const EmployeeYearEnd& employee);

// What the scope needs beyond the adjustment.
struct FilingFacts {
  bool officer = false;       // 法人の役員 during the year
  bool professional = false;  // 弁護士・司法書士・税理士等 paid as an employee
  bool retired = false;       // left during the year
};

struct FilingDecision {
  bool filed = false;   // the 源泉徴収票 goes to (or counts as filed with) the 税務署
  std::string reason;   // the case and the threshold, "年末調整済・役員・1,500,000円超"
};
FilingDecision TaxOfficeFiling(const FilingScope& scope, const EmployeeYearEnd& employee, const FilingFacts& facts);

// Whether the 給与支払報告書 goes to the municipality (a leaver paid at most the limit is left out).
bool InMunicipalReport(const FilingScope& scope, const EmployeeYearEnd& employee, bool retired);

// 法定調書合計表, 給与所得の源泉徴収票合計表: 人員, 支払金額 and 源泉徴収税額 of every employee and of those
// whose slips are filed.
struct StatutoryRow {
  int people = 0;
  Yen paid = 0;
  Yen tax = 0;
};
struct StatutoryTotals {
  StatutoryRow all;
  StatutoryRow filed;
};
struct FiledEmployee {
  const EmployeeYearEnd* employee = nullptr;
  FilingFacts facts;
};
StatutoryTotals StatutoryTotalsOf(const FilingScope& scope, const std::vector<FiledEmployee>& employees);

}  // namespace paylark

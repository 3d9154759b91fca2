// The year's pay of each employee for the 年末調整, gathered from the yearly file(s) by payment date,
// and who is adjusted.
//
// A period counts for calendar year Y when its payment date falls in Y: a salary month is paid on
// the company's pay day of that month, a bonus period on the pay month and day of the file's
// header; a bonus whose pay month is not set is placed on 31 December of the file's year, as the
// withholding tables place it (calc/payment_date.h). Only saved periods count. Per employee (by
// employee key) the year's figures are the sums over those periods of 課税支給合計 (支払金額),
// 社会保険料計 and 所得税; a 年末調整過不足 already settled is not part of 所得税, so a re-run after a
// correction starts from the same figures.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calc/year_end.h"
#include "store/declarations.h"
#include "store/era.h"
#include "store/period.h"
#include "store/year_file_content.h"

namespace paylark {

struct EmployeeYearPay {
  std::string key;
  std::string name;
  Yen salary = 0;           // 給料・手当等
  Yen bonus = 0;            // 賞与等
  Yen socialInsurance = 0;  // 社会保険料計
  Yen withheld = 0;         // 所得税
  int taxColumn = 0;        // at the last payment of the year: 0 甲欄, 1 乙欄
  bool retired = false;     // a retirement date is set at the last payment
  bool paidDecemberSalary = false;  // the December salary was paid to him (所基通190-1 (4))
  CivilDate lastPayment;    // payment date of the last period that paid him
};

// The employees in the order first met (period order, slot order), each with the year's sums.
std::vector<EmployeeYearPay> GatherYearPay(const std::vector<YearFileContent>& files, int year);

// Why an employee is not adjusted; nullopt when he is. `leavingCaseDeclared` is one of the mid-year
// cases of 所基通190-1 (1)–(3) (death, 非居住者 by transfer abroad, 著しい心身の障害); case (4), leaving
// after the December salary, follows from the pay itself.
struct AdjustmentEligibility {
  bool hasDependantDeclaration = false;  // 扶養控除等申告書
  bool nonResident = false;
  bool leavingCaseDeclared = false;
};
std::optional<std::string> YearEndExclusion(const EmployeeYearPay& pay, Yen totalPay, Yen payLimit,
                                            const AdjustmentEligibility& eligibility);

// The calculation's input from the year's pay and the employee's declaration (none: nothing
// declared, which also means no 扶養控除等申告書).
YearEndInput YearEndInputOf(const EmployeeYearPay& pay, const Declaration* declaration);
AdjustmentEligibility EligibilityOf(const Declaration* declaration);

// Everything of one employee's adjustment: the year's pay, why he is not adjusted (if so) and the
// result (when he is).
struct EmployeeYearEnd {
  EmployeeYearPay pay;
  std::optional<std::string> exclusion;
  YearEndResult result;
};
EmployeeYearEnd AdjustEmployee(const YearEndRules& rules, const EmployeeYearPay& pay, const Declaration* declaration);

}  // namespace paylark

// 年末調整: the income tax of the year of one employee, recomputed from the year's pay and the
// declarations, and its difference from the tax withheld during the year.
//
// The steps, all in whole yen with checked arithmetic and the figures of the year's rules
// (store/year_end_rules.h):
//   給与の総額 A (this employer's 給与・賞与 of the year + 前職分)
//   → 給与所得控除後の給与等の金額 (別表第五: 4,000円 bands between 190万/220万 and 660万)
//   − 所得金額調整控除 (子ども・特別障害者等, ⌈(min(A, 1,000万) − 850万) × 10 %⌉)
//   − 所得控除 (社会保険料, 小規模企業共済等掛金, 生命保険料, 地震保険料, 配偶者, 配偶者特別,
//     扶養, 障害者等 (障害者・寡婦・ひとり親・勤労学生), 基礎, 特定親族特別)
//   = 課税給与所得金額 (千円未満切捨て) → 算出所得税額 (速算表) − 住宅借入金等特別控除額
//   = 年調所得税額 → × 102.1 %, 100円未満切捨て = 年調年税額; 過不足額 = 年調年税額 − 徴収済税額
//   (positive: collected with the settling pay; negative: refunded).
// Ages and kinds of relatives are decided by birth dates against the year's date ranges (the
// state on 31 December). The employee's own 合計所得 is the 給与所得 after 所得金額調整控除 plus the
// declared income other than this salary.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/era.h"
#include "store/declarations.h"
#include "store/money.h"
#include "store/year_end_rules.h"

namespace paylark {

class Explanation;

// A spouse or a dependant as the employee declares them.
struct DeclaredRelative {
  CivilDate birth;
  Yen income = 0;           // estimated 合計所得金額 of the year
  bool cohabiting = false;  // 同居: an elderly dependant is then a 同居老親等 (直系尊属 living together)
  DisabilityKind disability = DisabilityKind::None;
};

struct LifeInsurancePremiums {
  Yen newGeneral = 0;   // 一般 新契約
  Yen oldGeneral = 0;   // 一般 旧契約
  Yen careMedical = 0;  // 介護医療
  Yen newPension = 0;   // 個人年金 新契約
  Yen oldPension = 0;   // 個人年金 旧契約
};

struct YearEndInput {
  Yen salary = 0;           // 給料・手当等 paid in the year (支払金額)
  Yen bonus = 0;            // 賞与等
  Yen socialInsurance = 0;  // 社会保険料 withheld from the pay
  Yen withheld = 0;         // 所得税 withheld from the pay
  Yen previousPaid = 0;     // 前職分
  Yen previousSocialInsurance = 0;
  Yen previousWithheld = 0;
  Yen declaredSocialInsurance = 0;  // 社会保険料 paid directly (保険料控除申告書)
  Yen smallBusinessMutualAid = 0;   // 小規模企業共済等掛金
  LifeInsurancePremiums life;
  Yen earthquake = 0;    // 地震保険料
  Yen oldLongTerm = 0;   // 旧長期損害保険料
  std::optional<DeclaredRelative> spouse;
  std::vector<DeclaredRelative> dependants;  // 扶養親族, children under 16, 特定親族
  CivilDate employeeBirth;
  DisabilityKind employeeDisability = DisabilityKind::None;
  bool widow = false;            // 寡婦
  bool singleParent = false;     // ひとり親
  bool workingStudent = false;   // 勤労学生
  Yen otherIncome = 0;           // 合計所得 other than this salary (基礎控除申告書)
  Yen housingLoanCredit = 0;     // 住宅借入金等特別控除 as the 税務署's statement gives it
  bool incomeAdjustmentDeclared = true;  // 所得金額調整控除申告書 handed in
};

struct YearEndResult {
  Yen totalPay = 0;              // 給与の総額 (前職分 included)
  Yen salaryIncome = 0;          // 給与所得控除後の金額
  Yen incomeAdjustment = 0;      // 所得金額調整控除額
  Yen socialInsurance = 0;       // 社会保険料控除
  Yen smallBusinessMutualAid = 0;
  Yen lifeInsurance = 0;
  Yen earthquakeInsurance = 0;
  Yen spouse = 0;                // 配偶者控除
  Yen spouseSpecial = 0;         // 配偶者特別控除
  Yen dependants = 0;            // 扶養控除
  Yen disabilityEtc = 0;         // 障害者等の控除 (障害者・寡婦・ひとり親・勤労学生)
  Yen basic = 0;                 // 基礎控除
  Yen specificRelative = 0;      // 特定親族特別控除
  Yen deductionsTotal = 0;       // 所得控除の合計
  Yen taxableIncome = 0;         // 課税給与所得金額
  Yen computedTax = 0;           // 算出所得税額
  Yen housingLoanCredit = 0;     // 住宅借入金等特別控除額 (applied)
  Yen adjustedIncomeTax = 0;     // 年調所得税額
  Yen annualTax = 0;             // 年調年税額
  Yen withheld = 0;              // 徴収済税額 (前職分 included)
  Yen difference = 0;            // 過不足額 = 年調年税額 − 徴収済税額
};

// The figures printed by the command line and shown by the screens, in this order.
struct YearEndLine {
  const char* name;
  Yen YearEndResult::*field;
};
const std::vector<YearEndLine>& YearEndLines();

// With `explanation`, every line of YearEndLines() is explained there (slot 0, YearEndField of
// its index).
YearEndResult ComputeYearEnd(const YearEndRules& rules, const YearEndInput& input,
                             Explanation* explanation = nullptr);

// The single steps, for the tests of the tables.
Yen SalaryIncomeAfterDeduction(const YearEndRules& rules, Yen totalPay);
Yen LifeInsuranceDeduction(const YearEndRules& rules, const LifeInsurancePremiums& premiums, bool youngDependant);

// 不足額 deferral (年末調整による不足額徴収繰延べ): when the net pay of the settling month (after
// tax, before the settlement) is below the year's share (70 %) of the average of the earlier
// months, the part of the 不足額 above the settling month's own withholding may be collected half
// in January and half in February.
struct ShortfallDeferral {
  bool offered = false;
  Yen collectedNow = 0;
  Yen january = 0;
  Yen february = 0;
};
ShortfallDeferral DeferralOfShortfall(const YearEndRules& rules, Yen shortfall, Yen settlingMonthNetPay,
                                      Yen averageEarlierNetPay, Yen settlingMonthTax);

}  // namespace paylark

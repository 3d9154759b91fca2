// The rules of one year's 年末調整 (year-end adjustment), read from a text table per year
// ("year-end-2026.txt" in the program folder's YearEnd folder; the format is described in
// tables/README.md). Every amount, band, limit, birth-date range and rounding unit of a year is
// here, so a corrected or a later year is a new file, not a new program. The calculation that
// uses them is calc/year_end.h.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "store/era.h"
#include "store/money.h"

namespace paylark {

// A table that cannot be read or is not sound; what() names the file, the line and the reason.
class YearEndRulesError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One band of 給与所得控除後の給与等の金額, from `from` (inclusive) up to the next band's `from`.
struct SalaryIncomeBand {
  enum class Kind { Zero, Less, Band, Rate };
  Yen from = 0;
  Kind kind = Kind::Zero;
  Yen unit = 0;     // Band: the pay is cut down to a multiple of this (4,000円 steps)
  int num = 1;      // Band, Rate: the fraction kept
  int den = 1;
  Yen minus = 0;    // Less, Band, Rate: subtracted last
};

// An amount for an income up to and including `upTo`.
struct AmountUpTo {
  Yen upTo = 0;
  Yen amount = 0;
};

// The amounts for the three bands of the employee's own 合計所得 (≤ 900万, ≤ 950万, ≤ 1,000万).
struct ColumnsUpTo {
  Yen upTo = 0;
  std::array<Yen, 3> amounts{};
};

// A premium up to and including `upTo` gives ⌈premium × num / den⌉ + add.
struct PremiumBracket {
  Yen upTo = 0;
  int num = 1;
  int den = 1;
  Yen add = 0;
};

// A deduction formula over a premium: brackets in ascending order, the cap above the last.
struct PremiumFormula {
  std::vector<PremiumBracket> brackets;
  Yen cap = 0;
  bool Present() const { return !brackets.empty(); }
};

// One row of the 速算表: taxable income up to `upTo` (none = no limit) × percent − subtract.
struct TaxRateRow {
  std::optional<Yen> upTo;
  int percent = 0;
  Yen subtract = 0;
};

// Whose 給与所得の源泉徴収票 goes to the 税務署 (with the 法定調書合計表), by the 支払金額 of the year: a
// slip is filed when the amount is above the threshold of the employee's case. From the 令和8年分
// the scope is the one of the 給与支払報告書 (every employee, less the leavers with small pay), and
// filing the 給与支払報告書 with the municipality counts as filing the slip.
struct FilingScope {
  enum class Basis { Table, Report };
  Basis basis = Basis::Table;
  // Table: 年末調整をした 法人の役員, 弁護士・税理士等, the others.
  Yen adjustedOfficer = 0;
  Yen adjustedProfessional = 0;
  Yen adjustedOther = 0;
  // Table: 扶養控除等申告書あり・年末調整なし (年の中途の退職者 etc.), its 役員, and the pay above which
  // every such slip is filed (主たる給与 over 2,000万円).
  Yen notAdjustedOther = 0;
  Yen notAdjustedOfficer = 0;
  Yen notAdjustedAll = 0;
  Yen withoutDeclaration = 0;  // Table: 扶養控除等申告書なし (乙欄・丙欄)
  Yen reportRetiredOmit = 0;   // 給与支払報告書: a leaver paid at most this may be left out
  int electronicCount = 0;     // 前々年 slips due at least this many: filed electronically
};

struct YearEndRules {
  int year = 0;
  Yen payLimit = 0;                               // 給与の総額 above which there is no adjustment
  std::vector<SalaryIncomeBand> salaryIncome;     // 給与所得控除後の給与等の金額 (別表第五)
  // 所得金額調整控除: ⌈(min(pay, cap) − threshold) × num / den⌉ for pay above the threshold.
  Yen adjustmentThreshold = 0;
  Yen adjustmentCap = 0;
  int adjustmentNum = 0;
  int adjustmentDen = 1;
  CivilDate youngBornFrom;                        // 23歳未満 at 31 December: born on or after
  std::vector<AmountUpTo> basic;                  // 基礎控除 by the employee's 合計所得; 0 above
  Yen relativeIncomeLimit = 0;                    // 同一生計配偶者・扶養親族の合計所得 ≤
  std::array<Yen, 3> employeeIncomeBands{};       // the employee's 合計所得 ≤ 900万 / 950万 / 1,000万
  std::array<Yen, 3> spouseGeneral{};             // 配偶者控除 一般
  std::array<Yen, 3> spouseElderly{};             // 配偶者控除 老人
  CivilDate elderlyBornUntil;                     // 70歳以上: born on or before
  std::vector<ColumnsUpTo> spouseSpecial;         // 配偶者特別控除 by the spouse's 合計所得
  CivilDate under16BornFrom;                      // 16歳未満: born on or after
  CivilDate specificBornFrom;                     // 19歳以上23歳未満 (特定扶養親族, 特定親族)
  CivilDate specificBornUntil;
  Yen dependantGeneral = 0;                       // 一般の控除対象扶養親族
  Yen dependantSpecific = 0;                      // 特定扶養親族
  Yen dependantElderly = 0;                       // 老人扶養親族
  Yen dependantElderlyCohabiting = 0;             // 同居老親等
  std::vector<AmountUpTo> specificRelative;       // 特定親族特別控除 by the relative's 合計所得
  Yen disabilityGeneral = 0;                      // 障害者
  Yen disabilitySpecial = 0;                      // 特別障害者
  Yen disabilitySpecialCohabiting = 0;            // 同居特別障害者
  Yen widow = 0;                                  // 寡婦控除
  Yen widowIncomeLimit = 0;
  Yen singleParent = 0;                           // ひとり親控除
  Yen singleParentIncomeLimit = 0;
  Yen workingStudent = 0;                         // 勤労学生控除
  Yen workingStudentIncomeLimit = 0;
  Yen workingStudentOtherIncomeLimit = 0;         // 勤労以外の所得 ≤
  PremiumFormula lifeNew;                         // 新契約 (一般, 介護医療, 個人年金)
  PremiumFormula lifeOld;                         // 旧契約 (一般, 個人年金)
  PremiumFormula lifeNewWithYoung;                // 新 一般 with a 扶養親族 under 23 (only some years)
  Yen lifeCombinedCap = 0;                        // 新 and 旧 of one kind together
  Yen lifeCombinedWithYoungCap = 0;               // the same for 一般 with a 扶養親族 under 23
  Yen lifeTotalCap = 0;                           // the three kinds together
  Yen earthquakeCap = 0;                          // 地震保険料
  PremiumFormula oldLongTerm;                     // 旧長期損害保険料
  Yen earthquakeTotalCap = 0;
  Yen taxableUnit = 1;                            // 課税給与所得金額 cut to a multiple of this
  std::vector<TaxRateRow> taxRates;               // 速算表
  int reconstructionNum = 1;                      // 復興特別所得税 included: × num / den
  int reconstructionDen = 1;
  Yen annualTaxUnit = 1;                          // 年調年税額 cut to a multiple of this
  int deferralNum = 0;                            // 不足額 deferral: last net pay below num/den of
  int deferralDen = 1;                            // the average of the earlier months
  FilingScope filing;                             // 源泉徴収票 to the 税務署, 給与支払報告書
};

// Reads a table from its text; `source` names it in errors.
YearEndRules ParseYearEndRules(std::string_view text, const std::string& source);
// "year-end-2026.txt"
std::string YearEndRulesFileName(int year);
// Reads the table of `year` from `folder`; a missing file is an error naming it.
YearEndRules LoadYearEndRules(const std::filesystem::path& folder, int year);

}  // namespace paylark

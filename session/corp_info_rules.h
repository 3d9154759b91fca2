// The rules of the company information screen (会社情報の設定): the defaults a period with zero
// rates gets when the screen is shown, the checks of confirming in their order, storing the
// values into the company information record and whether the employees' premiums need setting
// again.
#pragma once

#include <optional>
#include <string>

#include "calc/premium_month.h"
#include "store/period.h"
#include "store/premium_rates.h"
#include "store/rate_tables.h"

namespace paylark::screens {

// The values of the screen's fields, as read from them.
struct CompanyInput {
  std::string name;  // as typed; trimmed when checked and stored
  int payDay = 0;    // 給与支給日, 31 = end of month
  double dayHours = 0;    // 日労働時間数
  double monthDays = 0;   // 月労働日数
  double monthHours = 0;  // 月労働時間数
  bool generalBusiness = true;     // 一般事業所 (else それ以外)
  bool useEmploymentTable = false; // 雇用保険料額表を使用
  double employmentRate = 0;  // per cent, the employee's share
  double healthRate = 0;
  double nursingRate = 0;
  double pensionRate = 0;
  double pensionFundRate = 0;
  double levyRate = 0;         // 子ども・子育て支援金, per cent, the employee's share
  int premiumCollection = 0;   // 社会保険料の徴収: 0 翌月徴収, 1 当月徴収
  int wageClosingDay = 0;      // 給与締日 1..31 (31 = month end), 0 = not set
  int wageClosingMonth = 0;    // 0 当月締め, 1 前月締め
};

// The field a failed check puts the focus on.
enum class CompanyField { Name, PayDay, DayHours, EmploymentRate, WageClosingDay };

struct CompanyProblem {
  CompanyField field;
  std::string message;
  bool operator==(const CompanyProblem&) const = default;
};

// A record whose rates are 0 gets the rates in force for its period from the premium rate data
// when the screen is shown (calc/company_rates.h ApplyRatesInForceToZeros); a rate the data does
// not give (健康保険組合) stays 0 and must be typed.

// The first failing check in order, or nothing: the company name (empty after trimming, or with
// a character that the file cannot hold), the pay day (1..31), the working conditions (days and
// hours per month, hours per day not 0) and the four rates other than the pension fund rate.
// A 給与締日 other than 0 (not set) or 1..31 fails after the pay day.
std::optional<CompanyProblem> CheckCompanyInput(const CompanyInput& input);

// The 子ども・子育て支援金 rate (employee's share) a period gets when the screen is shown and its
// levy rate is 0: half the levy rate of the premium month in the premium rate data (0.115 from
// April 2026), none before the levy or for an unknown premium month.
void ApplyLevyDefault(CompanyRecord& company, const std::optional<YearMonth>& premiumMonth,
                      const paylark::PremiumRates& rates);

// The worker's employment insurance rate in force on the wage closing date, as shown beside
// 雇用保険料額表を使用 ("被保険者負担 5.5/1000"); empty when the table file has no dated rate for it.
std::string EmploymentRateInForceText(const RateTables& tables, bool generalBusiness,
                                      const std::optional<CivilDate>& closingDate);

// Stores checked input: the name trimmed and cut to 44 Shift-JIS bytes, the figures and flags.
void StoreCompanyInput(const CompanyInput& input, CompanyRecord& company);

// The rates that the premiums stored per employee were set from.
struct PremiumRates {
  double health = 0;
  double nursing = 0;
  double pension = 0;
  double pensionFund = 0;
  double levy = 0;
};
PremiumRates PremiumRatesOf(const CompanyRecord& company);
// True when one of the five rates (the levy's too) differs from those remembered: the premiums of every employee
// must be set again in the employee editor (they are not recomputed by themselves).
bool PremiumRatesChanged(const PremiumRates& remembered, const CompanyInput& input);

}  // namespace paylark::screens

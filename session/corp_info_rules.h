// The rules of the company information screen (会社情報の設定): the defaults a period with zero
// rates gets when the screen is shown, the checks of confirming in their order, storing the
// values into the company information record and whether the employees' premiums need setting
// again.
#pragma once

#include <optional>
#include <string>

#include "store/period.h"

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
};

// The field a failed check puts the focus on.
enum class CompanyField { Name, PayDay, DayHours, EmploymentRate };

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
std::optional<CompanyProblem> CheckCompanyInput(const CompanyInput& input);

// Stores checked input: the name trimmed and cut to 44 Shift-JIS bytes, the figures and flags.
void StoreCompanyInput(const CompanyInput& input, CompanyRecord& company);

// The rates that the premiums stored per employee were set from.
struct PremiumRates {
  double health = 0;
  double nursing = 0;
  double pension = 0;
  double pensionFund = 0;
};
PremiumRates PremiumRatesOf(const CompanyRecord& company);
// True when one of the four rates differs from those remembered: the premiums of every employee
// must be set again in the employee editor (they are not recomputed by themselves).
bool PremiumRatesChanged(const PremiumRates& remembered, const CompanyInput& input);

}  // namespace paylark::screens

// 割増賃金の単価: the least overtime unit prices and the per-day and per-hour deductions the law
// allows for one employee, from the master amounts and the company's 月労働時間数 / 月労働日数.
//
// The hourly base (1時間当たりの賃金) is the wage that counts over the hours it pays for: for 月給
// (基本給 + the allowances that count) ÷ 月労働時間数; for 日給 基本給 ÷ 日労働時間数 plus the
// allowances ÷ 月労働時間数; for 時間給 基本給 plus the allowances ÷ 月労働時間数. 家族手当 and the
// fixed allowances whose names say they are one of the excluded kinds (家族, 通勤, 別居, 子女教育,
// 住宅) are left out. Each overtime price is the hourly base × its premium rate of the dated rule
// table, computed exactly on integers and rounded up to the yen; the deductions are rounded down.
//
// 深夜残業時間 on the sheet are overtime hours worked at night: they are counted next to (not
// inside) 普通残業時間 in the expected 実働時間, so their price carries both premiums (1.25 + 0.25),
// and 休日深夜残業 carries the holiday and the night premium (1.35 + 0.25).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "calc/item_enabled.h"
#include "store/options.h"
#include "store/period.h"

namespace paylark {

// Premium rates in percent of the hourly base, in force from a date (yyyymmdd).
struct PremiumWageRule {
  std::int32_t effectiveDate;
  int overtimePercent;  // 時間外労働 (労働基準法37条1項)
  int nightAddPercent;  // 深夜労働の加算 (37条4項)
  int holidayPercent;   // 休日労働 (割増賃金令)
};
// The rule in force on `date` (yyyymmdd); the oldest one for an earlier date.
const PremiumWageRule& PremiumWageRuleOn(std::int32_t date);
// The total percent of each overtime unit price 0 普通, 1 深夜, 2 休日普通, 3 休日深夜.
std::array<int, 4> OvertimePercents(const PremiumWageRule& rule);

// True when an allowance of that name is of a kind left out of the hourly base.
bool ExcludedFromHourlyBase(const std::string& allowanceName);

struct SuggestedUnitPrices {
  // The hourly base as the exact fraction numerator ÷ denominator (yen).
  std::int64_t hourlyNumerator = 0;
  std::int64_t hourlyDenominator = 1;
  std::array<Yen, 4> overtime{};  // 残業(普通), 残業(深夜), 休日残業(普通), 休日残業(深夜)
  std::array<int, 4> percents{};
  // 月給 only: 欠勤控除額 per day (基本給 ÷ 月労働日数) and 遅早控除額 per hour (the hourly base).
  std::optional<Yen> absencePerDay;
  std::optional<Yen> latenessPerHour;
  std::vector<std::string> counted;   // "基本給 300,000", "役職手当 20,000", ...
  std::vector<std::string> excluded;  // allowances left out, by name
  std::string divisor;                // "160時間", "8時間 / 160時間"
};

enum class UnitPriceProblem { NoMonthHours, NoMonthDays, NoDayHours, NoBasePay, TooLarge };
std::string UnitPriceProblemText(UnitPriceProblem problem);

struct UnitPriceResult {
  std::optional<SuggestedUnitPrices> prices;
  std::optional<UnitPriceProblem> problem;
};

// The least unit prices for the employee (pay form, 基本給, 役職手当, 家族手当, 固定手当 1..3 with
// the user's names) under the company's hours and days of the month and the rule of `date`.
UnitPriceResult SuggestUnitPrices(const EmployeeRecord& employee, const CompanyRecord& company,
                                  const Options& options, std::int32_t date);

// The text that shows the figures before they are put into the editor.
std::string UnitPriceQuestion(const SuggestedUnitPrices& prices);
// The hourly base as text: whole yen with separators, and two decimals (truncated) when not whole.
std::string HourlyBaseText(const SuggestedUnitPrices& prices);

// Hours and days of a salary month that are worth 0 yen because their unit price is 0: 普通残業時間,
// 深夜残業時間, 休日普通残業 and 休日深夜残業 of any active employee, and 欠勤日数 and 遅刻早退時間 of
// a monthly-paid one, where the item is calculated (enabled and not manual).
struct UnpricedRows {
  std::string employee;
  std::vector<std::string> rows;
  bool operator==(const UnpricedRows&) const = default;
};
std::vector<UnpricedRows> FindUnpricedRows(const PeriodBlock& period, const EnabledItemsByPayForm& enabled);
// One warning for all of them; empty when there are none.
std::string UnpricedRowsWarning(const std::vector<UnpricedRows>& found);

}  // namespace paylark

#include "store/employment_rates.h"

#include <cstdlib>
#include <limits>

namespace paylark {

std::string EmploymentRateTable::Problem() const {
  if (rows.empty() || rows.size() > static_cast<std::size_t>(kMaxEmploymentRateRows)) {
    return "employment rate row count";
  }
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const EmploymentRateRow& r = rows[i];
    if (r.from.month < 1 || r.from.month > 12 || r.from.day < 1 || r.from.year < 1 || r.from.year > 9999 ||
        r.from.day > DaysInMonth(r.from.year, r.from.month)) {
      return "employment rate row " + std::to_string(i + 1) + ": the date is not a day of the calendar";
    }
    if (i > 0 && !(rows[i - 1].from < r.from)) {
      return "employment rate row " + std::to_string(i + 1) + ": dates do not ascend";
    }
    for (std::int32_t rate : {r.general, r.agricultureSake, r.construction}) {
      if (rate < 0 || rate > kRateMillionths) {
        return "employment rate row " + std::to_string(i + 1) + ": a rate outside 0..1";
      }
    }
  }
  return {};
}

const EmploymentRateRow* EmploymentRateTable::InForceOn(const CivilDate& closingDate) const {
  const EmploymentRateRow* found = nullptr;
  for (const EmploymentRateRow& r : rows) {
    if (closingDate < r.from) break;
    found = &r;
  }
  return found;
}

std::int32_t WorkerRate(const EmploymentRateRow& row, bool generalBusiness) {
  return generalBusiness ? row.general : row.agricultureSake;
}

Yen EmploymentPremiumAtRate(Yen wage, std::int32_t rateMillionths) {
  const std::int64_t product = static_cast<std::int64_t>(wage) * rateMillionths;
  const std::int64_t magnitude = std::llabs(product);
  std::int64_t yen = magnitude / kRateMillionths;
  if (magnitude % kRateMillionths > kRateMillionths / 2) ++yen;  // over 50銭: up; 50銭 or less: down
  const std::int64_t premium = product < 0 ? -yen : yen;
  if (premium < std::numeric_limits<Yen>::min() || premium > std::numeric_limits<Yen>::max()) throw MoneyOverflow("金額が範囲を超えました");
  return static_cast<Yen>(premium);
}

}  // namespace paylark

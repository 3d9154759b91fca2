// The worker's share of the employment insurance premium (雇用保険料 被保険者負担分) by the date
// from which it applies and by business kind. A rate is held in millionths of the wage (5/1000 is
// 5,000), so the premium is an exact integer product: wage × rate ÷ 1,000,000 yen, the fraction
// rounded as the law has it for a premium deducted from wages — 50銭以下切捨て, over 50銭 up
// (1,500.50 → 1,500, 1,500.505 → 1,501). A negative wage (absence deductions beyond the pay) is
// rounded the same way on its magnitude.
//
// The rows come from the extension of 雇用保険料額表.dat; a rate applies to the wages whose closing
// date (賃金締切日) is on or after its date, until the next row's date.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/era.h"
#include "store/money.h"

namespace paylark {

constexpr std::int32_t kRateMillionths = 1'000'000;
constexpr int kMaxEmploymentRateRows = 100;

struct EmploymentRateRow {
  CivilDate from;                           // the first wage closing date the rates apply to
  std::int32_t general = 0;                 // 一般の事業
  std::int32_t agricultureSake = 0;         // 農林水産・清酒製造の事業
  std::int32_t construction = 0;            // 建設の事業
  bool operator==(const EmploymentRateRow&) const = default;
};

struct EmploymentRateTable {
  std::vector<EmploymentRateRow> rows;  // by date, ascending
  bool operator==(const EmploymentRateTable&) const = default;

  // Empty when sound: 1..100 rows, dates of the calendar strictly ascending, rates 0..1,000,000.
  std::string Problem() const;
  // The row in force on a wage closing date: the last whose date is not after it; null before
  // the first row.
  const EmploymentRateRow* InForceOn(const CivilDate& closingDate) const;
};

// The worker's rate of a row for the company's business kind: 一般事業所 the general rate, any
// other business the 農林水産・清酒製造 rate (equal to the construction rate for the worker).
std::int32_t WorkerRate(const EmploymentRateRow& row, bool generalBusiness);

// wage × rateMillionths ÷ 1,000,000 rounded 50銭以下切捨て / over 50銭 up. Throws MoneyOverflow
// when the premium leaves the 32-bit range.
Yen EmploymentPremiumAtRate(Yen wage, std::int32_t rateMillionths);

}  // namespace paylark

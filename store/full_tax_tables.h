// The complete withholding tables of one edition, as a table file's extension carries them: every
// row of the 月額表 with all its brackets above the rows, and every row of the bonus rate table
// (賞与に対する源泉徴収税額の算出率の表). With these the tax is the official table's for every amount;
// the fixed-size images before the extension can hold only part of the brackets.
//
// Lower bounds are inclusive, upper bounds exclusive. Tax column 0 is 甲, any other 乙.
#pragma once

#include <string>
#include <vector>

#include "store/money.h"
#include "store/options.h"
#include "store/rate_table_images.h"
#include "store/tax_lookup_step.h"

namespace paylark {

// Limits of the extension (far above any edition; they keep a damaged file from asking for a
// huge allocation).
constexpr int kMaxFullMonthlyRows = 2'000;
constexpr int kMaxFullBrackets = 100;
constexpr int kMaxFullBonusRows = 100;

struct MonthlyTaxRow {
  Yen lower = 0;
  Yen upper = 0;
  KouColumns kou{};  // 甲 tax for 0..7 dependants
  Yen otsu = 0;      // 乙 tax
  bool operator==(const MonthlyTaxRow&) const = default;
};

// Above the rows: tax = base + rate × (amount − lower), the product rounded to whole yen.
struct KouBracket {
  Yen lower = 0;
  KouColumns base{};
  double rate = 0;
  bool operator==(const KouBracket&) const = default;
};
struct OtsuBracket {
  Yen lower = 0;
  Yen base = 0;
  double rate = 0;
  bool operator==(const OtsuBracket&) const = default;
};

struct FullMonthlyTaxTable {
  std::vector<MonthlyTaxRow> rows;  // contiguous, each lower = the previous upper
  double otsuRateBelowFirst = 0;    // 乙 below the first row: this rate of the whole amount (甲 is 0)
  Yen kouReductionBeyondSeven = 0;  // 甲: per dependant over seven, from the tax for seven
  Yen otsuReductionPerDependant = 0;
  // From the last row's upper bound on, ascending by lower bound; each runs up to the next one's
  // lower bound, the last one without end.
  std::vector<KouBracket> kouBrackets;
  std::vector<OtsuBracket> otsuBrackets;

  // Empty when the table is sound (limits, contiguous rows, brackets that start where the rows
  // end and ascend, rates between 0 and 1, no negative reduction); otherwise what is wrong.
  std::string Problem() const;

  // The tax for `amount` (社保控除後計) of a sound table; never negative. Negative dependants count
  // as none. `deductionMode` rounds the products of a rate and an amount.
  // `step`, when given, receives the row or bracket used.
  Yen Tax(Yen amount, int column, int dependants, RoundingMode deductionMode, MonthlyTaxStep* step = nullptr) const;

  bool operator==(const FullMonthlyTaxTable&) const = default;
};

// 甲: one row per rate with the range of the previous month's amount for each dependant column
// (7 = 7人以上). 乙: one row per rate with the upper bound of the previous month's amount.
struct BonusKouRow {
  double rate = 0;
  KouColumns lower{};
  KouColumns upper{};
  bool operator==(const BonusKouRow&) const = default;
};
struct BonusOtsuRow {
  double rate = 0;
  Yen upper = 0;
  bool operator==(const BonusOtsuRow&) const = default;
};

struct FullBonusTaxTable {
  std::vector<BonusKouRow> kou;    // for each column contiguous: a row's lower = the previous upper
  std::vector<BonusOtsuRow> otsu;  // upper bounds ascending

  std::string Problem() const;  // as FullMonthlyTaxTable::Problem

  // The rate for the previous month's amount: the row whose range holds it; below the first row
  // the first row's rate, from the last upper bound on the last row's. 甲 uses the column of
  // min(dependants, 7); 乙 does not depend on dependants.
  double Rate(Yen previousMonthAmount, int dependants, int column, BonusRateStep* step = nullptr) const;

  bool operator==(const FullBonusTaxTable&) const = default;
};

}  // namespace paylark

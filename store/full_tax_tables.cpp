#include "store/full_tax_tables.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "store/yen_rounding.h"

namespace paylark {
namespace {

constexpr int kMaxKouColumn = kDependantColumns - 1;  // 7人以上

bool SoundRate(double rate) { return std::isfinite(rate) && rate >= 0 && rate <= 1; }

template <class Bracket>
std::string BracketProblem(const std::vector<Bracket>& brackets, Yen start, const char* side) {
  const std::string name = std::string(side) + " brackets";
  if (brackets.empty()) return "no " + name;
  if (brackets.size() > static_cast<std::size_t>(kMaxFullBrackets)) return "too many " + name;
  if (brackets.front().lower != start) return name + " do not start where the rows end";
  for (std::size_t i = 0; i < brackets.size(); ++i) {
    if (i > 0 && brackets[i].lower <= brackets[i - 1].lower) return name + " do not ascend";
    if (!SoundRate(brackets[i].rate)) return name + ": a rate is not between 0 and 1";
  }
  return {};
}

// The last bracket whose lower bound is not above the amount (the amount is at least the first).
template <class Bracket>
const Bracket& BracketOf(const std::vector<Bracket>& brackets, Yen amount) {
  auto it = std::upper_bound(brackets.begin(), brackets.end(), amount,
                             [](Yen a, const Bracket& b) { return a < b.lower; });
  return *(it - 1);
}

Yen ToCheckedYen(std::int64_t value) {
  if (value > std::numeric_limits<Yen>::max() || value < std::numeric_limits<Yen>::min()) {
    throw MoneyOverflow("金額が範囲を超えました");
  }
  return static_cast<Yen>(value);
}

}  // namespace

std::string FullMonthlyTaxTable::Problem() const {
  if (rows.empty()) return "no monthly rows";
  if (rows.size() > static_cast<std::size_t>(kMaxFullMonthlyRows)) return "too many monthly rows";
  if (rows.front().lower < 0) return "the first monthly row starts below 0";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].upper <= rows[i].lower) return "a monthly row ends before it starts";
    if (i > 0 && rows[i].lower != rows[i - 1].upper) return "the monthly rows are not contiguous";
  }
  if (!SoundRate(otsuRateBelowFirst)) return "the 乙 rate below the first row is not between 0 and 1";
  if (kouReductionBeyondSeven < 0 || otsuReductionPerDependant < 0) return "a negative reduction";
  std::string problem = BracketProblem(kouBrackets, rows.back().upper, "甲");
  if (problem.empty()) problem = BracketProblem(otsuBrackets, rows.back().upper, "乙");
  return problem;
}

Yen FullMonthlyTaxTable::Tax(Yen amount, int column, int dependants, RoundingMode deductionMode,
                             MonthlyTaxStep* step) const {
  const bool otsu = column != 0;
  const int people = std::max(dependants, 0);
  const int d = std::min(people, kMaxKouColumn);
  MonthlyTaxStep local;
  MonthlyTaxStep& s = step != nullptr ? *step : local;
  s.otsu = otsu;
  s.kouColumn = d;
  auto excessTax = [&](double rate, Yen lower) {
    const double exact = rate * (static_cast<double>(amount) - static_cast<double>(lower));
    const Yen rounded = RoundYen(deductionMode, exact);
    if (step != nullptr) {
      s.rate = rate;
      s.excessFrom = lower;
      s.excessExact = exact;
      s.excessTax = rounded;
    }
    return static_cast<std::int64_t>(rounded);
  };

  std::int64_t tax = 0;
  if (amount < rows.front().lower) {
    s.kind = MonthlyTaxStep::Kind::BelowFirst;
    s.upper = rows.front().lower;
    if (otsu) {
      s.rate = otsuRateBelowFirst;
      s.excessExact = otsuRateBelowFirst * amount;
    }
    tax = otsu ? RoundYen(deductionMode, otsuRateBelowFirst * amount) : 0;
    s.excessTax = static_cast<Yen>(tax);
  } else if (amount < rows.back().upper) {
    const auto row = std::upper_bound(rows.begin(), rows.end(), amount,
                                      [](Yen a, const MonthlyTaxRow& r) { return a < r.upper; });
    tax = otsu ? row->otsu : row->kou[d];
    s.kind = MonthlyTaxStep::Kind::Row;
    s.lower = row->lower;
    s.upper = row->upper;
    s.base = static_cast<Yen>(tax);
  } else {
    s.kind = MonthlyTaxStep::Kind::Bracket;
    auto bracketUpper = [](const auto& brackets, const auto& b) {
      const auto next = &b + 1;
      return next != brackets.data() + brackets.size() ? next->lower : 0;
    };
    if (otsu) {
      const OtsuBracket& b = BracketOf(otsuBrackets, amount);
      s.lower = b.lower;
      s.upper = bracketUpper(otsuBrackets, b);
      s.base = b.base;
      tax = b.base + excessTax(b.rate, b.lower);
    } else {
      const KouBracket& b = BracketOf(kouBrackets, amount);
      s.lower = b.lower;
      s.upper = bracketUpper(kouBrackets, b);
      s.base = b.base[d];
      tax = b.base[d] + excessTax(b.rate, b.lower);
    }
  }

  if (otsu) {
    tax -= static_cast<std::int64_t>(people) * otsuReductionPerDependant;
    s.reducedPeople = people;
    s.reductionPerPerson = otsuReductionPerDependant;
  } else if (people > kMaxKouColumn) {
    tax -= static_cast<std::int64_t>(people - kMaxKouColumn) * kouReductionBeyondSeven;
    s.reducedPeople = people - kMaxKouColumn;
    s.reductionPerPerson = kouReductionBeyondSeven;
  }
  return ToCheckedYen(std::max<std::int64_t>(tax, 0));
}

std::string FullBonusTaxTable::Problem() const {
  if (kou.empty() || otsu.empty()) return "no bonus rows";
  if (kou.size() > static_cast<std::size_t>(kMaxFullBonusRows) ||
      otsu.size() > static_cast<std::size_t>(kMaxFullBonusRows)) {
    return "too many bonus rows";
  }
  for (std::size_t i = 0; i < kou.size(); ++i) {
    if (!SoundRate(kou[i].rate)) return "bonus 甲: a rate is not between 0 and 1";
    for (int d = 0; d < kDependantColumns; ++d) {
      if (kou[i].upper[d] < kou[i].lower[d]) return "bonus 甲: a range ends before it starts";
      if (i > 0 && kou[i].lower[d] != kou[i - 1].upper[d]) return "bonus 甲: the ranges are not contiguous";
    }
  }
  for (std::size_t i = 0; i < otsu.size(); ++i) {
    if (!SoundRate(otsu[i].rate)) return "bonus 乙: a rate is not between 0 and 1";
    if (i > 0 && otsu[i].upper <= otsu[i - 1].upper) return "bonus 乙: the upper bounds do not ascend";
  }
  return {};
}

double FullBonusTaxTable::Rate(Yen previousMonthAmount, int dependants, int column, BonusRateStep* step) const {
  BonusRateStep local;
  BonusRateStep& s = step != nullptr ? *step : local;
  s.found = true;
  s.otsu = column != 0;
  if (column == 0) {
    const int d = std::clamp(dependants, 0, kMaxKouColumn);
    for (std::size_t i = 0; i < kou.size(); ++i) {
      if (previousMonthAmount < kou[i].upper[d]) {
        s.lower = kou[i].lower[d];
        s.upper = kou[i].upper[d];
        s.openBelow = i == 0;
        return s.rate = kou[i].rate;
      }
    }
    s.lower = kou.back().upper[d];
    s.openAbove = true;
    return s.rate = kou.back().rate;
  }
  for (std::size_t i = 0; i < otsu.size(); ++i) {
    if (previousMonthAmount < otsu[i].upper) {
      s.lower = i == 0 ? 0 : otsu[i - 1].upper;
      s.upper = otsu[i].upper;
      s.openBelow = i == 0;
      return s.rate = otsu[i].rate;
    }
  }
  s.lower = otsu.back().upper;
  s.openAbove = true;
  return s.rate = otsu.back().rate;
}

}  // namespace paylark

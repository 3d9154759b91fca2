#include "calc/rounding.h"

#include <cmath>

namespace paylark {

Yen PayYen(const Options& options, double a, double b) { return RoundYen(options.paymentRounding, a * b); }
Yen ReduceYen(const Options& options, double a, double b) { return RoundYen(options.reductionRounding, a * b); }
Yen DeductYen(const Options& options, double a, double b) { return RoundYen(options.deductionRounding, a * b); }

double RoundFiftySen(long double x) {
  constexpr long double kAlmostHalf = 0.49L;
  return static_cast<double>(x >= 0 ? std::truncl(x + kAlmostHalf) : std::truncl(x - kAlmostHalf));
}

Yen TruncateYen(double x) { return RoundYen(RoundingMode::Truncate, x); }

}  // namespace paylark

// Yen rounding of the calculation. RoundYen itself (the three modes and their tolerance) is in
// store/yen_rounding.h; here are the products rounded by the mode of their class and the
// rounding of premiums set from the grade table.
#pragma once

#include "store/money.h"
#include "store/options.h"
#include "store/yen_rounding.h"

namespace paylark {

// a × b rounded by the payment, reduction or deduction mode of the options.
[[nodiscard]] Yen PayYen(const Options& options, double a, double b);
[[nodiscard]] Yen ReduceYen(const Options& options, double a, double b);
[[nodiscard]] Yen DeductYen(const Options& options, double a, double b);
// The rounding of the employee's share of premiums set from the grade table: a fraction below
// 0.51 yen is dropped, one of 0.51 or more raises the amount. Returns whole yen as a double.
[[nodiscard]] double RoundFiftySen(long double x);
// Whole yen of a value typed into an amount cell: truncated towards zero with the tolerance of
// the truncate mode.
[[nodiscard]] Yen TruncateYen(double x);

}  // namespace paylark

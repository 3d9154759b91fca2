// Yen rounding. Every product of an amount and a rate or a quantity is formed in double precision
// and then rounded to whole yen by one of three modes; which mode applies depends on the class of
// the amount (支給項目, 減額項目, 控除項目: the settings HasuuSik, HasuuGen, HasuuKou).
//
//   Truncate (0): integer part of x + 0.000001 (x − 0.000001 below zero). The tolerance absorbs
//                 the representation error of products such as 0.29 × 100.
//   Up (1):       the smallest integer not below x, with no tolerance.
//   Half (2):     half away from zero.
//
// A result outside the 32-bit range is an error (MoneyOverflow), never a wrap-around.
#pragma once

#include "store/money.h"
#include "store/options.h"

namespace paylark {

[[nodiscard]] Yen RoundYen(RoundingMode mode, double x);
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

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
//
// It lives in the store because the rate table lookups (withholding tax) round with it too.
#pragma once

#include "store/money.h"
#include "store/options.h"

namespace paylark {

[[nodiscard]] Yen RoundYen(RoundingMode mode, double x);

}  // namespace paylark

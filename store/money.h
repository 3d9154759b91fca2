// Money is signed 32-bit whole yen. Every addition is checked: an overflow is an error, never a
// wrap-around.
#pragma once

#include <cstdint>
#include <stdexcept>

namespace paylark {

using Yen = std::int32_t;

class MoneyOverflow : public std::overflow_error {
 public:
  using std::overflow_error::overflow_error;
};

[[nodiscard]] inline Yen CheckedAdd(Yen a, Yen b) {
  Yen r;
  if (__builtin_add_overflow(a, b, &r)) throw MoneyOverflow("金額が範囲を超えました");
  return r;
}
[[nodiscard]] inline Yen CheckedSub(Yen a, Yen b) {
  Yen r;
  if (__builtin_sub_overflow(a, b, &r)) throw MoneyOverflow("金額が範囲を超えました");
  return r;
}
[[nodiscard]] inline Yen CheckedMul(Yen a, Yen b) {
  Yen r;
  if (__builtin_mul_overflow(a, b, &r)) throw MoneyOverflow("金額が範囲を超えました");
  return r;
}
// In-place forms, for the running totals of a calculation.
inline void AddTo(Yen& total, Yen amount) { total = CheckedAdd(total, amount); }
inline void SubtractFrom(Yen& total, Yen amount) { total = CheckedSub(total, amount); }

}  // namespace paylark

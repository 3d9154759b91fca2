#include "store/yen_rounding.h"

#include <cmath>
#include <limits>

namespace paylark {
namespace {

Yen ToYen(double whole) {
  if (!(whole >= static_cast<double>(std::numeric_limits<Yen>::min()) &&
        whole <= static_cast<double>(std::numeric_limits<Yen>::max()))) {
    throw MoneyOverflow("金額が範囲を超えました");
  }
  return static_cast<Yen>(whole);
}

}  // namespace

Yen RoundYen(RoundingMode mode, double x) {
  switch (mode) {
    case RoundingMode::Up:
      return ToYen(std::ceil(x));
    case RoundingMode::Half:
      return ToYen(std::trunc(x >= 0 ? x + 0.5 : x - 0.5));
    case RoundingMode::Truncate:
    default:
      return ToYen(std::trunc(x >= 0 ? x + 0.000001 : x - 0.000001));
  }
}

}  // namespace paylark

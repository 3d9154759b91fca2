#include "calc/pay_date.h"

#include <cstdio>
#include <optional>

namespace paylark {
namespace {

std::string TwoWide(int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%2d", value);
  return buffer;
}

constexpr int kLastDayMarker = 31;
constexpr int kNonLeapYear = 2001;

}  // namespace

PayDateTexts PayDateOfPeriod(const EraYear& eraYear, int month, int payDay) {
  int day = payDay;
  if (payDay == kLastDayMarker && month >= 1 && month <= 12) {
    const std::optional<int> gregorian = GregorianYear(eraYear);
    day = DaysInMonth(gregorian.value_or(kNonLeapYear), month);
  }
  return {TwoWide(eraYear.year), TwoWide(month), TwoWide(day)};
}

}  // namespace paylark

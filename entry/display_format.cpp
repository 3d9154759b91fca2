#include "entry/display_format.h"

#include <cmath>
#include <cstdio>

namespace paylark {
namespace {

std::string FixedTwoDecimals(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%6.2f", value);
  return buffer;
}

std::string PadLeft(std::string text, int width) {
  if (width > 0 && text.size() < static_cast<std::size_t>(width)) {
    text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
  }
  return text;
}

// A whole number (already rounded) as digits without a sign; exact for every double.
std::string WholeDigits(double whole) {
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.0f", std::fabs(whole));
  return buffer;
}

}  // namespace

std::string FormatAmount(int width, double value) {
  if (!std::isfinite(value)) return PadLeft(FixedTwoDecimals(value), width);
  const double whole = std::round(value);
  const std::string digits = WholeDigits(whole);
  std::string text = whole < 0 ? "-" : "";
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  return PadLeft(std::move(text), width);
}

std::string FormatHours(double value, int timeStyle) {
  if (timeStyle == 0 || !std::isfinite(value)) return FixedTwoDecimals(value);
  double whole = std::trunc(value);
  double minutes = std::nearbyint(std::fabs(value - whole) * 60.0);  // ties to even
  if (minutes >= 60.0) {
    // 1.999 hours is 2:00, not 1:60.
    whole += value < 0 ? -1.0 : 1.0;
    minutes = 0.0;
  }
  std::string text;
  if (value < 0) text = "-";  // also for 0 whole hours, where the hours carry no sign
  text += WholeDigits(whole);
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, ":%.2d", static_cast<int>(minutes));
  text += buffer;
  return PadLeft(std::move(text), 6);
}

std::string FormatDays(double value) { return FixedTwoDecimals(value); }

}  // namespace paylark

#include "entry/pocket_calculator.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace paylark {
namespace {

constexpr int kSignificantDigits = 10;
constexpr int kMaxTypedDigits = 10;
// General format switches to the exponent form outside 0.00001 ≤ |v| < 10^10.
constexpr int kLowestFixedExponent = -5;


// The number being typed: the display without the "." that only marks a whole number.
std::string TypedText(const CalcState& s) {
  std::string text = s.display;
  if (!s.pointTyped && !text.empty() && text.back() == '.') text.pop_back();
  return text;
}

int TypedDigitCount(std::string_view text) {
  int count = 0;
  for (char c : text) count += (c >= '0' && c <= '9') ? 1 : 0;
  if (text.size() > 1 && text[0] == '0' && text[1] == '.') --count;  // "0.5" has one digit typed
  return count;
}

void ShowTyped(CalcState& s, const std::string& typed) {
  s.display = s.pointTyped ? typed : typed + ".";
  s.value = ParseCalcText(typed);
}

void ShowValue(CalcState& s, long double value) {
  if (!std::isfinite(value)) {
    s.display = "E";
    s.value = 0;
    s.error = true;
    return;
  }
  s.display = FormatCalcValue(value, s.decimals);
  s.value = value;
}

// After "＝" the display is a result that a new number replaces, together with the calculation.
bool AfterEquals(const CalcState& s) { return s.justComputed && s.newNumber; }

void Compute(CalcState& s) {
  const long double x = ParseCalcText(s.a);
  const long double y = ParseCalcText(s.b);
  long double result = 0;
  switch (s.op) {
    case kCalcPlus: result = x + y; break;
    case kCalcMinus: result = x - y; break;
    case kCalcMultiply: result = x * y; break;
    case kCalcDivide: result = y == 0 ? HUGE_VALL : x / y; break;  // ÷ 0 shows "E"
    default: result = 0; break;
  }
  s.justComputed = true;
  ShowValue(s, result);
}

void StartAfreshAfterError(CalcState& s) {
  if (s.error) CalcClear(s);
}

}  // namespace

void CalcClear(CalcState& s) {
  s = CalcState{};
}

bool CalcDigit(CalcState& s, int digit) {
  if (digit < 0 || digit > 9) return false;
  StartAfreshAfterError(s);
  if (AfterEquals(s)) CalcClear(s);
  std::string typed;
  if (s.newNumber) {
    s.pointTyped = false;
    s.decimals = 0;
  } else {
    typed = TypedText(s);
    if (TypedDigitCount(typed) >= kMaxTypedDigits) return false;
    if (typed == "0") typed.clear();  // no leading zeros
  }
  typed += static_cast<char>('0' + digit);
  if (s.pointTyped) ++s.decimals;
  s.newNumber = false;
  ShowTyped(s, typed);
  return true;
}

bool CalcPoint(CalcState& s) {
  StartAfreshAfterError(s);
  if (AfterEquals(s)) CalcClear(s);
  std::string typed;
  if (s.newNumber) {
    typed = "0";
  } else {
    if (s.pointTyped) return true;  // one point per number; ignored
    typed = TypedText(s);
  }
  typed += '.';
  s.pointTyped = true;
  s.newNumber = false;
  s.decimals = 0;
  ShowTyped(s, typed);
  return true;
}

bool CalcOperator(CalcState& s, int op) {
  if (op != kCalcPlus && op != kCalcMinus && op != kCalcMultiply && op != kCalcDivide) return false;
  StartAfreshAfterError(s);
  if (s.a.empty()) {
    s.a = s.display;
  } else {
    s.b = s.display;
  }
  if (s.op != 0 && !s.justComputed && !s.newNumber) {
    Compute(s);
    if (s.error) return true;
    s.a = s.display;
  }
  s.op = op;
  s.justComputed = false;
  s.pointTyped = false;
  s.decimals = 0;
  s.newNumber = true;
  return true;
}

bool CalcEquals(CalcState& s) {
  StartAfreshAfterError(s);
  if (s.op == 0) return true;
  if (s.newNumber) {
    if (s.b.empty()) s.b = s.a;  // 5 × ＝ squares
  } else {
    s.b = s.display;
  }
  Compute(s);
  if (!s.error) s.a = s.display;
  s.newNumber = true;
  return true;
}

bool CalcPercent(CalcState& s) {
  StartAfreshAfterError(s);
  if (s.newNumber && s.b.empty()) return false;
  const long double x = ParseCalcText(s.display);
  const bool ofA = s.op == kCalcPlus || s.op == kCalcMinus;  // 200 ＋ 10 ％ is 20
  ShowValue(s, ofA ? ParseCalcText(s.a) * x / 100 : x / 100);
  if (s.error) return true;
  s.b = s.display;
  s.newNumber = true;
  return true;
}

bool CalcPress(CalcState& s, int code) {
  if (code >= 0 && code <= 9) return CalcDigit(s, code);
  switch (code) {
    case kCalcPoint: return CalcPoint(s);
    case kCalcPlus:
    case kCalcMinus:
    case kCalcMultiply:
    case kCalcDivide: return CalcOperator(s, code);
    case kCalcEquals: return CalcEquals(s);
    case kCalcPercent: return CalcPercent(s);
    case kCalcClear: CalcClear(s); return true;
    default: return false;
  }
}

std::string FormatCalcValue(long double value, int typedDecimals) {
  if (!std::isfinite(value)) return "E";
  if (value == 0) value = 0;  // no "-0."
  // Round to the significant digits first; the exponent after rounding decides the form.
  char buffer[64];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                                       kSignificantDigits - 1);
  if (ec != std::errc()) return "E";
  const std::string_view sci(buffer, static_cast<std::size_t>(end - buffer));
  const bool negative = sci.front() == '-';
  const std::size_t e = sci.find('e');
  std::string digits;  // the significant digits without the point
  for (char c : sci.substr(0, e)) {
    if (c >= '0' && c <= '9') digits += c;
  }
  const int exponent = std::atoi(std::string(sci.substr(e + 1)).c_str());
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string text = negative ? "-" : "";
  if (exponent >= kLowestFixedExponent && exponent < kSignificantDigits) {
    if (exponent >= 0) {
      const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
      if (digits.size() < whole) digits.append(whole - digits.size(), '0');
      text += digits.substr(0, whole) + "." + digits.substr(whole);
    } else {
      text += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    const std::size_t shown = text.size() - text.find('.') - 1;
    if (shown < static_cast<std::size_t>(typedDecimals)) {
      text.append(static_cast<std::size_t>(typedDecimals) - shown, '0');
    }
    return text;
  }
  text += digits.substr(0, 1);
  if (digits.size() > 1) text += "." + digits.substr(1);
  text += "E" + std::to_string(exponent);
  return text;
}

long double ParseCalcText(std::string_view text) {
  long double value = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || ptr != text.data() + text.size()) return 0;
  return value;
}

}  // namespace paylark

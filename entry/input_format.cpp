#include "entry/input_format.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "entry/input_messages.h"
#include "entry/numeric_text.h"

namespace paylark {
namespace {

constexpr std::size_t kMaxFieldCharacters = 9;

std::size_t Count(std::string_view text, char c) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), c));
}

// Minutes typed after the colon: an optional sign and digits; empty counts as 0. Saturates instead
// of overflowing, since only the comparison with 59 matters.
std::optional<long long> ReadMinutes(std::string_view text) {
  if (text.empty()) return 0;
  bool negative = false;
  if (text.front() == '+' || text.front() == '-') {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (!IsAsciiDigits(text)) return std::nullopt;
  long long value = 0;
  for (char c : text) {
    value = std::min<long long>(value * 10 + (c - '0'), std::numeric_limits<int>::max());
  }
  return negative ? -value : value;
}

// Digits of the value of a run of digits: leading zeros do not count, and 0 has one digit.
std::size_t SignificantDigits(std::string_view digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? 1 : digits.size() - first;
}

// The text without the zeros that lead its integer part (after a sign). The result writes one
// leading "0" of its own, so that a normalised text normalises to itself: neither does a "0" pile
// up at each pass nor does the character limit then cut digits off. A zero before a "-" stays,
// so that "0-5" is still a sign in the wrong place.
std::string WithoutLeadingZeros(std::string text) {
  const std::size_t start = !text.empty() && text.front() == '-' ? 1 : 0;
  std::size_t end = start;
  while (end < text.size() && text[end] == '0' && (end + 1 == text.size() || text[end + 1] != '-')) ++end;
  text.erase(start, end - start);
  return text;
}

}  // namespace

int FormatDecimals(int formatCode) { return formatCode < 0 ? 0 : formatCode % 10; }

int FormatIntegerDigits(int formatCode) {
  if (formatCode == 70) return 6;
  if (formatCode == 90) return 7;
  const int decimals = FormatDecimals(formatCode);
  const int digits = formatCode / 10 - decimals - (decimals > 0 ? 1 : 0);
  return std::max(digits, 0);
}

std::string NormalizeNumericField(std::string_view text, int formatCode, Reporter& reporter) {
  const std::string cleaned = RemoveCommasAndSpaces(text);
  if (FirstCharacters(cleaned, kMaxFieldCharacters).empty()) return {};
  const std::string unpadded = WithoutLeadingZeros(cleaned);
  const std::string_view t = FirstCharacters(unpadded, kMaxFieldCharacters);

  if (Count(t, '.') + Count(t, ':') > 1 || Count(t, '-') > 1) {
    reporter.Error(kMsgDuplicateSeparatorOrSign);
    return {};
  }

  const std::size_t separator = t.find_first_of(".:");
  if (separator != std::string_view::npos && t[separator] == ':') {
    const std::optional<long long> minutes = ReadMinutes(t.substr(separator + 1));
    if (!minutes) {
      reporter.Error(kMsgNotANumber);
      return {};
    }
    if (*minutes > 59) {
      reporter.Error(kMsgMinutesOver59);
      return {};
    }
  }

  const std::size_t minus = t.find('-');
  if (minus != std::string_view::npos && minus != 0) {
    reporter.Error(kMsgSignPosition);
    return {};
  }

  const bool negative = minus == 0;
  const std::string_view digits =
      t.substr(negative ? 1 : 0, separator == std::string_view::npos ? std::string_view::npos
                                                                     : separator - (negative ? 1 : 0));
  std::string_view fraction;
  if (separator != std::string_view::npos) {
    fraction = FirstCharacters(t.substr(separator + 1),
                               static_cast<std::size_t>(FormatDecimals(formatCode)));
  }

  if (!digits.empty() && !IsAsciiDigits(digits)) {
    reporter.Error(kMsgNotANumber);
    return {};
  }
  if (SignificantDigits(digits) > static_cast<std::size_t>(FormatIntegerDigits(formatCode))) {
    reporter.Error(kMsgTooManyDigits);
    return {};
  }
  if (!fraction.empty() && !IsAsciiDigits(fraction)) {
    reporter.Error(kMsgNotANumber);
    return {};
  }

  std::string result = negative ? "-0" : "0";
  result += digits;
  if (!fraction.empty()) {
    result += t[separator];
    result += fraction;
  }
  return result;
}

}  // namespace paylark

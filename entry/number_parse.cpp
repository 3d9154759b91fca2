#include "entry/number_parse.h"

#include <charconv>
#include <cmath>
#include <string>

#include "entry/input_messages.h"
#include "entry/numeric_text.h"
#include "store/sjis.h"

namespace paylark {
namespace {

bool IsSign(char c) { return c == '+' || c == '-'; }

// An optional sign followed by ASCII digits, as a signed 32-bit integer.
std::optional<std::int32_t> ReadInt32(std::string_view text, Reporter& reporter) {
  std::string_view body = text;
  bool negative = false;
  if (!body.empty() && IsSign(body.front())) {
    negative = body.front() == '-';
    body.remove_prefix(1);
  }
  if (!IsAsciiDigits(body)) {
    reporter.Error(kMsgNotANumber);
    return std::nullopt;
  }
  // Read the digits with their sign so that -2147483648 is in range.
  std::string signedDigits;
  if (negative) signedDigits.push_back('-');
  signedDigits.append(body);
  std::int32_t value = 0;
  auto [end, ec] = std::from_chars(signedDigits.data(), signedDigits.data() + signedDigits.size(), value);
  if (ec == std::errc::result_out_of_range) {
    reporter.Error(kMsgOutOfRange);
    return std::nullopt;
  }
  if (ec != std::errc() || end != signedDigits.data() + signedDigits.size()) {
    reporter.Error(kMsgNotANumber);
    return std::nullopt;
  }
  return value;
}

// Plain digits with at most one "." (what the sheet's cells hold after normalising): read
// directly, without the general scan.
std::optional<double> ReadPlainDecimal(std::string_view text) {
  bool dot = false;
  bool digit = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (c == '.' && !dot) {
      dot = true;
    } else {
      return std::nullopt;
    }
  }
  double value = 0;
  if (!digit) return std::nullopt;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

std::optional<double> TryParseNumber(std::string_view text, Reporter& reporter) {
  if (text.empty()) return 0.0;
  if (const std::optional<double> plain = ReadPlainDecimal(text)) return plain;
  if (text.find(':') != std::string_view::npos) return TryParseHours(text, reporter);

  const std::string cleaned = RemoveCommasAndSpaces(text);
  std::string kept;
  bool signSeen = false;
  bool dotSeen = false;
  for (char c : cleaned) {
    if (IsSign(c)) {
      if (signSeen) {
        reporter.Error(kMsgInputError);
        return std::nullopt;
      }
      signSeen = true;
      kept.push_back(c);
    } else if (c == '.') {
      if (dotSeen) {
        reporter.Error(kMsgInputError);
        return std::nullopt;
      }
      dotSeen = true;
      kept.push_back(c);
    } else if (c >= '0' && c <= '9') {
      kept.push_back(c);
    } else if (c != ' ') {
      break;  // the rest of the text is not part of the number
    }
  }
  if (kept.empty() || (kept.size() == 1 && IsSign(kept[0]))) return 0.0;
  if (IsSign(kept.back())) kept.pop_back();  // "5-" reads as 5

  std::string_view body = kept;
  bool negative = false;
  if (IsSign(body.front())) {
    negative = body.front() == '-';
    body.remove_prefix(1);
  }
  // What is left holds digits and at most one "."; a sign here stood between digits.
  if (body.find_first_of("+-") != std::string_view::npos ||
      body.find_first_of("0123456789") == std::string_view::npos) {
    reporter.Error(kMsgNotANumber);
    return std::nullopt;
  }
  double value = 0;
  auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), value,
                                   std::chars_format::fixed);
  if (ec == std::errc::result_out_of_range || !std::isfinite(value)) {
    reporter.Error(kMsgOutOfRange);
    return std::nullopt;
  }
  if (ec != std::errc() || end != body.data() + body.size()) {
    reporter.Error(kMsgNotANumber);
    return std::nullopt;
  }
  return negative ? -value : value;
}

double ParseNumber(std::string_view text, Reporter& reporter) {
  return TryParseNumber(text, reporter).value_or(0.0);
}

std::optional<double> TryParseHours(std::string_view text, Reporter& reporter) {
  const std::string trimmed = Trim(text);
  const std::string_view t = trimmed;
  const std::size_t colon = t.find(':');
  std::string_view hourPart = t.substr(0, colon);
  std::string_view minutePart;
  if (colon != std::string_view::npos) {
    minutePart = t.substr(colon + 1);
    if (minutePart.find(':') != std::string_view::npos) {
      reporter.Error(kMsgInputError);
      return std::nullopt;
    }
  }

  std::string minuteText(1, '0');
  minuteText.append(minutePart);
  const std::optional<double> minutes = TryParseNumber(minuteText, reporter);
  if (!minutes) return std::nullopt;

  std::string hours = RemoveCommasAndSpaces(hourPart);
  const bool negative = !hours.empty() && hours.front() == '-';
  std::string_view whole = hours;
  if (negative) {
    whole.remove_prefix(1);
    if (!whole.empty() && IsSign(whole.front())) {
      reporter.Error(kMsgNotANumber);
      return std::nullopt;
    }
  }
  std::int32_t wholeHours = 0;
  if (!whole.empty()) {
    const std::optional<std::int32_t> read = ReadInt32(whole, reporter);
    if (!read) return std::nullopt;
    wholeHours = *read;
  }
  const double value = static_cast<double>(wholeHours) + *minutes / 60.0;
  return negative ? -value : value;
}

double ParseHours(std::string_view text, Reporter& reporter) {
  return TryParseHours(text, reporter).value_or(0.0);
}

std::optional<std::int32_t> TryParseInteger(std::string_view text, Reporter& reporter) {
  const std::string cleaned = RemoveCommasAndSpaces(text);
  if (cleaned.empty()) return 0;
  return ReadInt32(cleaned, reporter);
}

std::int32_t ParseInteger(std::string_view text, Reporter& reporter) {
  return TryParseInteger(text, reporter).value_or(0);
}

std::int32_t ParseIntegerOrZero(std::string_view text) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty()) return 0;
  SilentReporter silent;
  return ReadInt32(trimmed, silent).value_or(0);
}

}  // namespace paylark

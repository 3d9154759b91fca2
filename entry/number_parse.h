// Reading numbers from field texts. Amounts, day counts and percentages are decimal numbers;
// hours are decimal hours or hours and minutes ("1:45" is 1.75, "-0:30" is -0.5).
//
// Every failure is shown through the Reporter and never thrown. The Try... forms give nullopt
// after the message, so that a caller can leave the field unstored; the plain forms give 0 after
// the message (an empty field counts as 0 as well).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "entry/reporter.h"

namespace paylark {

// A decimal number. Commas and spaces are ignored; a text with ":" is read as hours. A second sign
// or a second "." is "入力エラー"; any other character ends the number and the rest is ignored;
// a sign at the end is dropped ("5-" is 5); nothing or a lone sign is 0. A sign between digits
// ("1-2") or a lone "." is no number.
std::optional<double> TryParseNumber(std::string_view text, Reporter& reporter);
double ParseNumber(std::string_view text, Reporter& reporter);

// Hours as "h:m" (m may have decimals); without a colon the whole text is whole hours. A second
// colon is "入力エラー". "-1:30" is -1.5.
std::optional<double> TryParseHours(std::string_view text, Reporter& reporter);
double ParseHours(std::string_view text, Reporter& reporter);

// A signed 32-bit integer; commas and spaces are ignored, empty text is 0. Anything else than an
// optional sign and digits is no number; a value beyond 32 bits is out of range (never wrapped).
std::optional<std::int32_t> TryParseInteger(std::string_view text, Reporter& reporter);
std::int32_t ParseInteger(std::string_view text, Reporter& reporter);

// For stored texts that may be empty or damaged (settings, carried-over fields): the trimmed text
// read as a signed 32-bit integer, and 0 without any message for empty text, for text that is not
// an integer and for a value beyond 32 bits.
std::int32_t ParseIntegerOrZero(std::string_view text);

}  // namespace paylark

// Input format codes of numeric entry fields and the check of a typed field when it is left.
//
// A format code is a small integer attached to each numeric field: the units digit is the number
// of decimals, the rest the total number of characters; integer digits = (code div 10) −
// (code mod 10), one fewer when there are decimals. Two codes differ: 70 (amounts in the employee
// editor) allows 6 integer digits and 90 (amounts in the payroll sheet) 7.
//
//   20 day, month, year, dependants   2.0     63 rates in per cent    2.3
//   51 print position adjustment      3.1     70 amounts (editor)     6.0
//   52 day counts                     2.2     90 amounts              7.0
//   62 hours                          3.2    100 amounts (detail)    10.0
#pragma once

#include <string>
#include <string_view>

#include "entry/reporter.h"

namespace paylark {

// Number of decimals a field of the code keeps (0 for a negative code).
int FormatDecimals(int formatCode);
// Number of integer digits a field of the code allows (never below 0).
int FormatIntegerDigits(int formatCode);

// The typed text of a numeric field checked and normalised, or empty text.
//
// Commas and spaces are removed and the text is cut to 9 characters. At most one "." or ":" and
// one "-" (in the first place) are allowed, minutes after ":" at most 59, decimals beyond the code
// are cut off (not rounded, not padded) and the integer part is written with one leading "0"
// (typed leading zeros are dropped first, before the cut to 9 characters): "12.345" under 52 is
// "012.34", "1:5" under 62 is "01:5", "-:30" is "-0:30", "00012" under 20 is "012". A normalised
// text normalises to itself, so a field normalised at every focus-out never changes by itself. A separator left
// with no decimals after it is dropped, so that "12." under 20 is "012" and reads as an integer.
//
// A rejected text gives empty text after its message through the reporter; empty typed text gives
// empty text without a message. A text that is not a number ("1a", "+5", full-width digits) is
// rejected with "数値として正しくありません。", so that whatever comes back converts.
std::string NormalizeNumericField(std::string_view text, int formatCode, Reporter& reporter);

}  // namespace paylark

// The pocket calculator of the entry screens (簡易電卓): four operations and a per-cent key on
// extended precision.
//
// The display shows the typed number as typed ("1.50", with a "." appended while no point was
// typed: "15.") or a value in general format with up to 10 significant digits, again with a "."
// when the text has none ("7.", "0.1", "3.333333333") and with zeros appended up to the number of
// decimals typed last ("2 ＋ 1.50 ＝" reads "3.50"). Operands are kept as the texts shown (A, the
// first; B, the second), so a chain of operations works on what the user saw; "＝" repeated
// repeats the last operation with the same B.
//
// Beyond the bare key rules:
// - A digit or point typed right after "＝" starts a new calculation (as "Ｃ" then that key), so
//   "3 ＋ 4 ＝ 5 ＋ 2 ＝" gives 7, not the 9 that reusing A would give.
// - Starting a new number clears the point flag and the decimal count, so "．" works in every number.
// - A digit after "％" starts a new number instead of extending the per-cent result.
// - At most 10 digits can be typed into one number; the 11th is refused.
// - A result that cannot be shown (a division by zero, an overflow) reads "E" with the value 0;
//   the next key starts afresh (as after "Ｃ") before it acts.
#pragma once

#include <string>
#include <string_view>

namespace paylark {

// Key codes of the calculator's buttons.
enum CalcKey : int {
  kCalcPoint = 10,
  kCalcPlus = 110,
  kCalcMinus = 120,
  kCalcMultiply = 130,
  kCalcDivide = 140,
  kCalcEquals = 150,
  kCalcPercent = 160,
  kCalcClear = 170,
};

struct CalcState {
  std::string a;           // first operand, as shown
  std::string b;           // second operand, as shown
  int op = 0;              // pending operator: 0 none, kCalcPlus .. kCalcDivide
  long double value = 0;   // the number on the display (a result in full precision)
  bool newNumber = true;   // the next digit starts a new number
  bool pointTyped = false; // a decimal point was typed into the current number
  bool justComputed = false;
  int decimals = 0;        // digits typed after the point
  bool error = false;      // the display reads "E"
  std::string display = "0.";
};

// Key rules. Each returns false when the key was refused (the window beeps).
void CalcClear(CalcState& s);                 // Ｃ
bool CalcDigit(CalcState& s, int digit);      // 0..9
bool CalcPoint(CalcState& s);                 // ．
bool CalcOperator(CalcState& s, int op);      // ＋ － × ÷
bool CalcEquals(CalcState& s);                // ＝
bool CalcPercent(CalcState& s);               // ％ (refused with nothing to act on)
// Any key by its code (0..9 digits, then the CalcKey codes); false for a refused or unknown key.
bool CalcPress(CalcState& s, int code);

// A value as the display shows it, with zeros appended up to `typedDecimals` decimals; "E" for a
// value that is not finite.
std::string FormatCalcValue(long double value, int typedDecimals);
// A shown text as a number ("7." is 7, "1.5E12" is 1.5 × 10^12); 0 for anything else.
long double ParseCalcText(std::string_view text);

}  // namespace paylark

// The rules of the detail entry screen (明細入力画面) that need no window: how a row of the
// employee's item lists shows its figure, the check and display of a field when it is left, the
// write-back of a field into the records, the manual-entry switch, the calculator's value in a
// field, the 有休残日数 carry, stepping over active employees and the totals.
//
// The screen has four groups of rows: 勤怠 (16), 支給 (18), 控除 (18) and その他 (3). Row i of a group
// shows position i of the matching item list of the period kind for the employee's pay form; a row
// finds its figure by the item name its label shows.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "calc/explanation.h"
#include "entry/reporter.h"
#include "store/money.h"
#include "store/options.h"
#include "store/period.h"

namespace paylark::screens {

enum class RowGroup { Kintai = 0, Sikyu = 1, Koujo = 2, Sonota = 3 };
inline constexpr std::array<int, 4> kGroupRows{16, 18, 18, 3};

inline constexpr int kAttendanceFieldCode = 62;  // the fields' own format codes
inline constexpr int kMoneyFieldCode = 100;
inline constexpr int kAttendanceTypingLimit = 6;
inline constexpr int kMoneyTypingLimit = 7;
inline constexpr int kAmountWidth = 10;  // a formatted amount, "   123,456"

inline constexpr std::string_view kPaidLeaveTaken = "有休日数";
inline constexpr std::string_view kPaidLeaveBalance = "有休残日数";
inline constexpr std::string_view kIncomeTaxLabel = "所得税";
inline constexpr std::string_view kMsgDayLimit = "日数の入力は31までです。";
inline constexpr std::string_view kLegendText =
    "計算により値がセットされ､入力出来ない項目です。　｢修正ON/OFF｣ボタンにより入力が可能となります。(一部項目は除く)";

// A row as the screen shows it for one employee.
struct RowView {
  std::string label;        // the entry without its prefix letter; empty: the row is hidden
  bool calculated = false;  // "F" entry: drawn in the disabled-item colour
  bool manual = false;      // manual-entry flag set: red text and editable
  bool readOnly = false;
  double value = 0;         // the stored figure (0 when the label names none)
  std::string text;         // the value as the field shows it
  bool Visible() const { return !label.empty(); }
};

// The view of a row from its list entry ("V出勤日数", "F基本給", "F固定手当１", "F" …).
RowView ViewOfRow(RowGroup group, const std::string& entry, const PeriodBlock& period, int slot,
                  const Options& options);

// Attendance items measured in hours: the name contains 時間 or 残業.
bool IsHourItem(std::string_view label);
// The characters typing may enter into a field of the row.
std::string AcceptedCharacters(RowGroup group, std::string_view label);
// The format code of the check when a field is left: 52 for the six day counts, 62 for the other
// attendance items, 100 for 課税支給合計, 社会保険料計 and 社保控除後計, 90 for every other amount.
int CheckFormatCode(RowGroup group, std::string_view label);
// A figure as its field shows it: hours by the time style, other attendance "%6.2f", money with
// thousands separators at width 10.
std::string FieldText(RowGroup group, std::string_view label, double value, int timeStyle);

// A field left with `typed`: normalised by its check code (rejected text, after its message,
// counts as empty), a day count above 31 refused with kMsgDayLimit, and shown again; empty or
// rejected input therefore shows a formatted 0.
std::string CommitFieldText(RowGroup group, std::string_view label, std::string_view typed, int timeStyle,
                            Reporter& reporter);

// Stores a field's text into the records of the slot under the label's name (attendance as a
// number, amounts as whole yen; その他 into both records). A label that names nothing is not stored.
void WriteBackRow(RowGroup group, std::string_view label, std::string_view text, PeriodBlock& period, int slot,
                  const Options& options);

// Whether 修正ON/OFF applies to a field: a calculated payment or deduction field other than
// 課税支給合計, 社会保険料計 and 社保控除後計.
bool ManualSwitchAllowed(RowGroup group, std::string_view label, bool calculated);
// Inverts the manual-entry flag of the position the label names; the new state, or nullopt when the
// label names no position with a flag (nothing changes).
std::optional<bool> ToggleManual(RowGroup group, std::string_view label, PeriodBlock& period, int slot,
                                 const Options& options);

// The calculator's value as a field's text: attendance by FieldText; amounts rounded to whole yen
// by the deduction mode (控除), the reduction mode (欠勤控除, 遅刻早退控除), the payment mode (other
// payments) or truncation (その他), then formatted at width 10.
std::string CalculatorText(RowGroup group, std::string_view label, long double value, const Options& options,
                           int timeStyle);

// The 有休残日数 carry after 有休日数 was left: when the stored balance is exactly 0 and the
// previous period has a balance for the employee (not kPaidLeaveNotFound), the balance field shows
// the previous balance minus the days taken.
std::optional<std::string> CarriedBalanceText(double storedBalance, double previousBalance, double taken);

// The nearest active employee (in use, not retired) below or above a slot.
std::optional<int> ActiveSlotBefore(const PeriodBlock& period, int slot);
std::optional<int> ActiveSlotAfter(const PeriodBlock& period, int slot);

// 支給合計, 控除合計, その他合計 and 差引支給額 = 支給合計 + その他合計 − 控除合計.
struct DetailTotals {
  Yen payments = 0;
  Yen deductions = 0;
  Yen others = 0;
  Yen net = 0;
};
// `others` are the amounts the その他 rows show.
DetailTotals TotalsOf(const PaymentRecord& payment, const DeductionRecord& deduction,
                      const std::array<double, 3>& others);

// The explanation of a row's amount (F2 and 計算の説明): the detail text of the entry of the
// position the label names; kNoExplanation when the row names none or nothing was computed for it.
inline constexpr std::string_view kNoExplanation = "この項目は計算されないため、説明はありません。";
std::string RowExplanation(RowGroup group, std::string_view label, const Explanation& explanation, int slot,
                           const Options& options);

// "明細入力画面 【name】" and the payslip caption of the period kind.
std::string WindowTitle(std::string_view name);
std::string SlipCaption(bool bonusPeriod);

}  // namespace paylark::screens

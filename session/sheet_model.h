// The rules of the payroll sheet (給与入力シート), free of any widget.
//
// The sheet is transposed: one column per active employee (column 1 = the first active slot) and
// one row per item position that is a variable item ("V…") for at least one pay form in the item
// lists of the period kind. Rows built from attendance items are attendance rows of three kinds
// (hours, day counts, other counts); every payment, deduction and other item is a money row. A
// row carries, per pay form, whether its entry is variable there: that flag decides whether the
// cell of an employee of that pay form can be edited, is drawn with its text, and is a stop for
// the Enter key. A column without an employee (pay form 0) has every flag set.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/sheet_takeover.h"
#include "entry/reporter.h"
#include "store/era.h"
#include "store/item_settings.h"
#include "store/options.h"
#include "store/period.h"

namespace paylark::app {

enum class RowKind {
  Money,            // payments, deductions, other items: whole yen (format code 90)
  Hours,            // attendance whose name contains 時間 or 残業 (62)
  Days,             // 出勤日数, 有休日数, 欠勤日数, 休日出勤日数, 特別休暇日数 (52, at most 31)
  OtherAttendance,  // 遅刻早退回数, 有休残日数 (62, shown as days)
};

struct SheetRow {
  std::string name;  // without the prefix letter, user items by the user's names
  RowKind kind = RowKind::Money;
  std::array<bool, kPayFormCount> variable{};  // 月給, 日給, 時間給

  bool Attendance() const { return kind != RowKind::Money; }
  // Whether the row is variable for a pay form code; codes outside 1..3 (no employee) count as
  // variable everywhere.
  bool VariableFor(int payFormCode) const;
};

inline constexpr std::string_view kPaidLeaveTakenRow = "有休日数";
inline constexpr std::string_view kPaidLeaveBalanceRow = "有休残日数";
inline constexpr std::string_view kMsgDayLimit = "日数の入力は31までです。";

// The kind of an attendance row by its name.
RowKind AttendanceRowKind(std::string_view name);
// The input format code of a row kind.
int FormatCodeOf(RowKind kind);

// The rows of the sheet from the item lists of the period kind: attendance (salary only),
// payments, deductions, other items, each in list order.
std::vector<SheetRow> BuildSheetRows(const DerivedItemLists& lists, const Options& options, ItemKind kind);

// The active slots (in use, not retired) in slot order: column k shows slot ActiveSlots()[k − 1].
std::vector<int> ActiveSlots(const PeriodBlock& period);

// The stored value behind a cell: attendance rows by the field of the same name, money rows by
// 変動手当/その他 (payment record), 変動控除 (deduction record) and in bonus periods 賞与 and 役員報酬;
// 0 for a name that matches no field.
double CellValue(const PeriodBlock& period, int slot, const SheetRow& row, const Options& options, ItemKind kind);
// A value as the cell of a row kind shows it.
std::string FormatCell(RowKind kind, double value, int timeStyle);

// The sheet as the main window fills it from the records: the rows' names and, for every active
// employee, the cells' texts. Taken over unchanged, it recalculates the period as the save of an
// untouched sheet does.
SheetColumns SheetOfRecords(const PeriodBlock& period, const std::vector<SheetRow>& rows, const Options& options,
                            ItemKind kind);

// Leaving a cell: the typed text normalised by the row's format code (rejected text after its
// message counts as empty), a day count above 31 refused with kMsgDayLimit, and the value written
// back in the row's format; empty or rejected input therefore shows a formatted 0.
std::string CommitCellText(std::string_view typed, RowKind kind, int timeStyle, Reporter& reporter);

// Whether a typed character may enter a cell of the row kind (Backspace and Tab always pass).
bool AcceptsCharacter(RowKind kind, char32_t ch);

// The row Enter moves to: the next row below `currentRow` (1-based) that is variable for the pay
// form, wrapping from the last row to row 1 and ending with the current row itself; none when no
// row of the column is variable.
std::optional<int> NextEnterRow(const std::vector<SheetRow>& rows, int payFormCode, int currentRow);

// The 有休残日数 carry when a 有休日数 cell is left: the text of a balance cell becomes the previous
// period's balance minus the days taken when it holds 0 or nothing; nullopt leaves it alone.
std::optional<std::string> CarriedPaidLeave(double previousBalance, std::string_view takenText,
                                            std::string_view balanceText);

// The read-only result rows below the input rows, recalculated with the records: 総支給額 (支給合計),
// 控除合計 and 差引支給額 (支給合計 − 控除合計 + その他１..３). They are never taken over as input.
inline constexpr std::array<std::string_view, 3> kResultRowNames{"総支給額", "控除合計", "差引支給額"};
// The three result cells of a slot as the sheet shows money; a net pay beyond whole yen shows '*'.
std::array<std::string, 3> ResultCells(const PeriodBlock& period, int slot);

// The title of the period: "令和8年12月分給与", "令和8年・夏期賞与", "令和8年・冬季賞与", "令和8年・" + the
// third bonus's name.
std::string PeriodTitle(const EraYear& eraYear, int period, const std::string& thirdBonusName);
// "所定労働時間： 160.00時間"
std::string ScheduledHoursText(double hours);

}  // namespace paylark::app

// The record field behind an item name, as the detail entry screen and the payslip match them: a
// row shows the item of its list position, and its figure lives in the attendance, payment or
// deduction record under that item's name (user-named items by the names the user gave them).
//
// Payment position 1 holds 基本給 in a salary month and 賞与 in a bonus period, position 2 役職手当
// or 役員報酬; both names of a position find it in either kind. その他 1..3 are kept in both the
// payment and the deduction record and have their own look-up.
#pragma once

#include <optional>
#include <string_view>

#include "store/options.h"
#include "store/period.h"

namespace paylark {

// 所定労働日数 … 有休残日数 (all fifteen attendance figures).
std::optional<Kintai> KintaiFieldOfName(std::string_view name);
// The item name of an attendance figure, from the same table.
std::string_view KintaiItemName(Kintai field);
// Positions 1..17 by their names, and 課税支給合計.
std::optional<Sikyu> SikyuFieldOfName(std::string_view name, const Options& options);
// Positions 1..15 by their names, 社会保険料計, 社保控除後計 and 子ども・子育て支援金 (21).
std::optional<Koujo> KoujoFieldOfName(std::string_view name, const Options& options);
// その他 1..3 as 1..3.
std::optional<int> OtherItemOfName(std::string_view name, const Options& options);
inline Sikyu SikyuOther(int other) { return static_cast<Sikyu>(static_cast<int>(Sikyu::Other1) + other - 1); }
inline Koujo KoujoOther(int other) { return static_cast<Koujo>(static_cast<int>(Koujo::Other1) + other - 1); }

// Whether a position carries a manual-entry flag: payments 1..12, 欠勤控除 and 遅刻早退控除 (not the
// variable allowances and the totals); deductions 1..12 and 子ども・子育て支援金.
bool HasManualFlag(Sikyu position);
bool HasManualFlag(Koujo position);

}  // namespace paylark

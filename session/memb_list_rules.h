// The rules of the employee list (社員一覧リスト) that need no window: the list line in its fixed
// Shift-JIS columns, which slots are listed in which order, the select-all action of the
// selection modes, the dimmed lines, the checks of ＯＫ and the deletion of a slot, which closes up
// the block of slots in use with all four records of every slot.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/era.h"
#include "store/period.h"

namespace paylark::screens {

// Modes of the list, set by its caller.
enum class MembListMode : int { Edit = 0, Payslips = 1, Ledger = 2, Mail = 3 };

// Sort orders, by header section: No, 氏名, 社員区分, 支給形態.
enum class MembListOrder : int { Slot = 1, Name = 2, Category = 3, PayForm = 4 };

// Column (1-based character) where the mail address starts.
inline constexpr int kMailColumn = 60;

// One line of the list (UTF-8), its columns counted in Shift-JIS bytes (full-width characters fill
// two places): " 03  山田太郎          一般社員    月給         5/ 3/ 1    yamada@example.jp".
// With `ageOn`, an employee whose birth date is known shows the age on that day after the pay form
// (" 46歳 " in its six blank places).
std::string MembListLine(int slot, const EmployeeRecord& employee, std::optional<CivilDate> ageOn = std::nullopt);

// The mail address counts when it is not blank.
bool HasMailAddress(const EmployeeRecord& employee);

// The slots listed in an order: every slot in use, retired ones only when they are shown. Names
// and categories are compared by their sort keys as text, case-insensitively, in Shift-JIS order.
std::vector<int> ListedSlots(const PeriodBlock& period, MembListOrder order, bool showRetired);

// A line is dimmed when, in the mail mode, its employee has no mail address, or when retirees are
// shown and its employee is retired.
bool LineDimmed(MembListMode mode, const EmployeeRecord& employee, bool showRetired);

// The select-all action from "全て選択": the new selection of the listed slots. In the payslip and
// ledger modes every line; otherwise the lines with a mail address, except that with retirees
// shown a retired employee's line keeps its state.
std::vector<bool> SelectAllLines(const PeriodBlock& period, const std::vector<int>& listed, MembListMode mode,
                                 bool showRetired, const std::vector<bool>& current);

// The message that stops ＯＫ, if any.
std::optional<std::string> OkProblem(MembListMode mode, int selectedCount, bool hasCurrentLine);

// Removes slot `slot`: the four records of every later slot move up by one and slot 30 becomes
// empty. Other periods are not touched.
void DeleteSlot(PeriodBlock& period, int slot);

// Slots whose employee key is not empty.
int SlotsInUse(const PeriodBlock& period);

}  // namespace paylark::screens

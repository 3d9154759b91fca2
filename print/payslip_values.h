// The figure a payslip row shows, found by the row's item name (prefix dropped, user-named items
// under the names the user gave them). Names are compared exactly; a row whose name matches none
// shows 0. When a user gave an item the name of a standard one, the later entry of the look-up
// order wins: 基本給/賞与, 役員報酬/役職手当, 家族手当, 固定手当１..３, the overtime pays, the
// commuting allowances, 変動手当１..３, 欠勤控除, 遅刻早退控除, 課税支給合計 for payments, and the
// premiums, 社会保険料計, 社保控除後計, 所得税, 住民税, 固定控除１..３, 変動控除１..３ for deductions.
#pragma once

#include <string_view>

#include "store/money.h"
#include "store/options.h"
#include "store/period.h"

namespace paylark::print {

// 所定労働日数 … 有休残日数; 0 for any other name.
double AttendanceValue(const AttendanceRecord& attendance, std::string_view name);
// Payment position 1 is 基本給 in a month and 賞与 in a bonus period, position 2 役職手当 or 役員報酬.
Yen PaymentValue(const PaymentRecord& payments, std::string_view name, const Options& options);
Yen DeductionValue(const DeductionRecord& deductions, std::string_view name, const Options& options);
// その他１..３ by the user's names (the payment record holds them).
Yen OtherValue(const PaymentRecord& payments, std::string_view name, const Options& options);

}  // namespace paylark::print

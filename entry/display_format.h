// Fixed display formats of stored values in entry fields and the payroll sheet.
#pragma once

#include <string>

namespace paylark {

// Whole yen with thousands separators, right-aligned to width characters ("%*.0n"): width 7 in
// the payroll sheet and the employee editor, 10 in the detail entry screen. A fraction is rounded
// half away from zero. A text longer than the width is not cut.
std::string FormatAmount(int width, double value);

// Hours in the time display style (TimeStyle): 0 decimal hours ("%6.2f", "  1.75"), otherwise
// hours and minutes right-aligned to 6 (" 1:45", " -0:30"). Minutes are rounded to the nearest
// whole minute, ties to even; a fraction that rounds to 60 minutes carries into the hours, so
// 1.999 hours shows as "2:00".
std::string FormatHours(double value, int timeStyle);

// Day counts: "%6.2f".
std::string FormatDays(double value);

}  // namespace paylark

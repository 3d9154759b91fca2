// Whether the period in memory differs from the period in the file. The strings of both copies
// are normalised first (bytes behind a string's length zeroed), so that stale bytes left behind a
// shorter name — in memory or in a file written by an older program — count as no change.
#pragma once

#include "store/period.h"

namespace paylark {

bool PeriodDiffers(const PeriodBlock& memory, const PeriodBlock& file);

}  // namespace paylark

// The lines of the grade table viewer (健康保険等級表): one per grade, in fixed columns for a
// fixed-pitch font.
#pragma once

#include <string>

#include "store/rate_table_images.h"

namespace paylark::screens {

// "   58,000円以上    63,000円未満     58,000円": lower bound, upper bound and standard monthly
// remuneration (標準報酬月額), each with thousands separators right-aligned to 9 places. The
// highest grade has no upper bound (stored as the largest yen amount); its "未満" column is blank,
// spaces of the same width, so that the standard amount stays in its column.
std::string GradeListLine(const Grade& grade);

}  // namespace paylark::screens

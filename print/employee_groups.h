// The employees a report lists and the category groups of the monthly list's subtotals.
#pragma once

#include <string>
#include <vector>

#include "store/employee_texts.h"
#include "store/period.h"

namespace paylark::print {

// Slots from 1 upward, stopping at the first slot not in use.
std::vector<int> UsedSlots(const PeriodBlock& period);
// The used slots that are not retired.
std::vector<int> ActiveSlots(const PeriodBlock& period);

struct CategoryGroup {
  std::string name;
  std::vector<int> slots;
};
// The categories of the active employees: the standard ones that occur in their order, then the
// other texts in the order in which they first occur.
std::vector<CategoryGroup> CategoryGroups(const PeriodBlock& period);

}  // namespace paylark::print

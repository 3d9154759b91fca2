// The employees a report lists and the category groups of the monthly list's subtotals.
#pragma once

#include <string>
#include <vector>

#include "store/period.h"

namespace paylark::print {

// The category name as the employee editor shows it: a standard category ("役員", "一般社員",
// "臨時社員", "パート", "アルバイト") by its index, else the employee's own text.
std::string CategoryName(const EmployeeRecord& employee);

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

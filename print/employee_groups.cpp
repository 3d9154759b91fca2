#include "print/employee_groups.h"

#include <algorithm>
#include <array>

namespace paylark::print {

namespace {

// The standard categories in their list order.
constexpr std::array<const char*, 5> kStandardCategories{kCategoryTexts[1], kCategoryTexts[2], kCategoryTexts[3],
                                                         kCategoryTexts[4], kCategoryTexts[5]};

}  // namespace

std::vector<int> UsedSlots(const PeriodBlock& period) {
  std::vector<int> slots;
  for (int slot = 1; slot <= kSlotCount && period.Employee(slot).InUse(); ++slot) slots.push_back(slot);
  return slots;
}

std::vector<int> ActiveSlots(const PeriodBlock& period) {
  std::vector<int> slots;
  for (int slot : UsedSlots(period))
    if (!period.Employee(slot).Retired()) slots.push_back(slot);
  return slots;
}

std::vector<CategoryGroup> CategoryGroups(const PeriodBlock& period) {
  std::vector<CategoryGroup> groups;
  auto add = [&groups](const std::string& name, int slot) {
    auto found = std::find_if(groups.begin(), groups.end(), [&](const CategoryGroup& g) { return g.name == name; });
    if (found == groups.end()) {
      groups.push_back({name, {}});
      found = groups.end() - 1;
    }
    found->slots.push_back(slot);
  };
  const std::vector<int> active = ActiveSlots(period);
  for (const char* standard : kStandardCategories)
    for (int slot : active)
      if (CategoryName(period.Employee(slot)) == standard) add(standard, slot);
  for (int slot : active) {
    const std::string name = CategoryName(period.Employee(slot));
    if (std::find(kStandardCategories.begin(), kStandardCategories.end(), name) == kStandardCategories.end())
      add(name, slot);
  }
  return groups;
}

}  // namespace paylark::print

#include "store/employee_texts.h"

namespace paylark {

namespace {

template <std::size_t N>
std::string FromOne(const std::array<const char*, N>& texts, std::int32_t code) {
  return code >= 1 && code <= static_cast<std::int32_t>(N) ? texts[static_cast<std::size_t>(code - 1)] : "";
}

}  // namespace

std::string CategoryListText(std::int32_t index) {
  return index >= 1 && index < static_cast<std::int32_t>(kCategoryTexts.size()) ? kCategoryTexts[index] : "";
}

std::string CategoryName(const EmployeeRecord& employee) {
  const std::string listText = CategoryListText(employee.CategoryIndex());
  return listText.empty() ? employee.CategoryText() : listText;
}

std::string PayFormText(std::int32_t payForm) { return FromOne(kPayFormTexts, payForm); }

std::string CommuteUnitText(std::int32_t unit) { return FromOne(kCommuteUnitTexts, unit); }

}  // namespace paylark

// The texts of an employee's coded master data as the employee editor lists them and the lists
// and reports print them: 社員区分, 支給形態 and the commuting allowance's 支給単位.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "store/period.h"

namespace paylark {

// 社員区分: list index 0 is the blank entry; −1 marks a typed text.
inline constexpr std::array<const char*, 6> kCategoryTexts{"", "役員", "一般社員", "臨時社員", "パート", "アルバイト"};
// 支給形態 by pay form 1..3.
inline constexpr std::array<const char*, 3> kPayFormTexts{"月給", "日給", "時間給"};
// 支給単位 of the commuting allowance by unit 1..11.
inline constexpr std::array<const char*, 11> kCommuteUnitTexts{
    "１日毎", "毎月", "1,4,7,10月", "2,5,8,11月", "3,6,9,12月", "1, 7月", "2, 8月", "3, 9月", "4,10月", "5,11月", "6,12月"};

// The list text of a category index 1..5, else empty.
std::string CategoryListText(std::int32_t index);
// The category as the editor shows it: the standard one of its index, else the employee's text.
std::string CategoryName(const EmployeeRecord& employee);
// "月給", "日給", "時間給", or empty for another code.
std::string PayFormText(std::int32_t payForm);
// The commuting unit's text, or empty for another code.
std::string CommuteUnitText(std::int32_t unit);

}  // namespace paylark

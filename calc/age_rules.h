// What an employee's age decides about the premiums of a premium month.
//
// An age is reached on the day before the birthday (年齢到達日, 年齢計算ニ関スル法律): someone born on
// 1 December reaches 40 on 30 November. 介護保険 (第2号被保険者) is collected from the month of the
// 40th 到達日 up to the month before the month of the 65th 到達日. 厚生年金 ends with the month
// before the month of the 70th 到達日. 健康保険 ends with the month before the month of the 75th
// birthday itself (後期高齢者医療 from that day), and with it 介護保険 and 子ども・子育て支援金.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/era.h"
#include "store/period.h"

namespace paylark {

// The 到達日 of `age`: the day before the birthday of that age.
CivilDate AgeReachedOn(const CivilDate& birth, int age);
// Full years of age on `day` (the age counts from the 到達日).
int AgeOn(const CivilDate& birth, const CivilDate& day);

struct AgeCollection {
  bool health = true;   // 健康保険 (and so 子ども・子育て支援金)
  bool nursing = false; // 介護保険
  bool pension = true;  // 厚生年金
  bool operator==(const AgeCollection&) const = default;
};
// What the age allows to be collected for premium month `rateMonth` (the month's first day).
AgeCollection CollectionByAge(const CivilDate& birth, const CivilDate& rateMonth);

// An employee whose subject flags disagree with the age in the premium month.
struct AgeChange {
  int slot = 0;
  std::string name;
  int age = 0;          // on the last day of the premium month
  AgeCollection now;    // the employee's flags
  AgeCollection byAge;  // what the age asks for
};
// Every active employee with a birth date whose health, nursing or pension flag (a flag that is
// set, or the nursing flag of an employee with health insurance) differs from the age rule.
std::vector<AgeChange> AgeChangesFor(const PeriodBlock& period, const CivilDate& rateMonth);

// The birth date of a record; nullopt when unknown or not a date.
std::optional<CivilDate> BirthDateOf(const EmployeeRecord& employee);

}  // namespace paylark

#include "calc/age_rules.h"

#include "store/rate_table_extension.h"

namespace paylark {
namespace {

int MonthIndex(const CivilDate& d) { return d.year * 12 + d.month - 1; }

CivilDate PreviousDay(const CivilDate& d) {
  if (d.day > 1) return CivilDate{d.year, d.month, d.day - 1};
  if (d.month > 1) return CivilDate{d.year, d.month - 1, DaysInMonth(d.year, d.month - 1)};
  return CivilDate{d.year - 1, 12, 31};
}

// The birthday of `age`; 29 February falls on 1 March in a common year (its 到達日 is 28 February).
CivilDate Birthday(const CivilDate& birth, int age) {
  const int year = birth.year + age;
  if (birth.month == 2 && birth.day == 29 && !IsLeapYear(year)) return CivilDate{year, 3, 1};
  return CivilDate{year, birth.month, birth.day};
}

}  // namespace

CivilDate AgeReachedOn(const CivilDate& birth, int age) { return PreviousDay(Birthday(birth, age)); }

int AgeOn(const CivilDate& birth, const CivilDate& day) {
  int age = day.year - birth.year;
  while (age > 0 && AgeReachedOn(birth, age) > day) --age;
  while (AgeReachedOn(birth, age + 1) <= day) ++age;
  return age;
}

AgeCollection CollectionByAge(const CivilDate& birth, const CivilDate& rateMonth) {
  const int m = MonthIndex(rateMonth);
  AgeCollection c;
  c.health = m < MonthIndex(Birthday(birth, 75));
  c.nursing = c.health && m >= MonthIndex(AgeReachedOn(birth, 40)) && m < MonthIndex(AgeReachedOn(birth, 65));
  c.pension = m < MonthIndex(AgeReachedOn(birth, 70));
  return c;
}

std::optional<CivilDate> BirthDateOf(const EmployeeRecord& employee) {
  if (employee.BirthDate() == 0) return std::nullopt;
  return DateFromNumber(employee.BirthDate());
}

std::vector<AgeChange> AgeChangesFor(const PeriodBlock& period, const CivilDate& rateMonth) {
  std::vector<AgeChange> changes;
  const CivilDate monthEnd{rateMonth.year, rateMonth.month, DaysInMonth(rateMonth.year, rateMonth.month)};
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    const EmployeeRecord& e = period.Employee(slot);
    if (!e.Active()) continue;
    const std::optional<CivilDate> birth = BirthDateOf(e);
    if (!birth) continue;
    AgeChange c;
    c.slot = slot;
    c.name = e.Name();
    c.age = AgeOn(*birth, monthEnd);
    c.now = AgeCollection{e.HealthSubject(), e.NursingCollected(), e.PensionSubject()};
    const AgeCollection byAge = CollectionByAge(*birth, rateMonth);
    // Age only ends health and pension insurance; it never makes a non-member a member.
    c.byAge.health = c.now.health && byAge.health;
    c.byAge.pension = c.now.pension && byAge.pension;
    c.byAge.nursing = c.byAge.health && byAge.nursing;
    if (c.byAge != c.now) changes.push_back(c);
  }
  return changes;
}

}  // namespace paylark

// Japanese eras (明治 to 令和). Every date shown or used in a file name goes through here; no other
// module converts between era years and Gregorian years by arithmetic of its own.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace paylark {

struct CivilDate {
  int year = 0;   // Gregorian
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  auto operator<=>(const CivilDate&) const = default;
};

struct EraYear {
  std::string era;  // "令和", UTF-8
  int year = 0;     // 1 = the first (partial) year of the era
  bool operator==(const EraYear&) const = default;
};

// The era in force on a date. Dates before 明治 are reported as 明治 with a year below 1.
EraYear EraOf(const CivilDate& date);

// The Gregorian year of an era year; nullopt for an unknown era name.
std::optional<int> GregorianYear(const EraYear& eraYear);

// The era years that name a Gregorian year, the later era first (two in a year whose era changed,
// for example 2019: 令和1 and 平成31).
std::vector<EraYear> EraYearsOf(int gregorianYear);

// The era names from the oldest to the newest.
const std::vector<std::string>& EraNames();

bool IsLeapYear(int gregorianYear);
int DaysInMonth(int gregorianYear, int month);

// Today's date from the system clock (local time).
CivilDate Today();

}  // namespace paylark

#include "store/era.h"

#include <ctime>

namespace paylark {
namespace {

struct EraStart {
  const char* name;
  CivilDate first;  // first day of the era
};

// First days as the Japanese calendar of the desktop platform counts them.
constexpr EraStart kEras[] = {
    {"明治", {1868, 9, 8}},
    {"大正", {1912, 7, 30}},
    {"昭和", {1926, 12, 25}},
    {"平成", {1989, 1, 8}},
    {"令和", {2019, 5, 1}},
};

}  // namespace

EraYear EraOf(const CivilDate& date) {
  const EraStart* found = &kEras[0];
  for (const auto& era : kEras) {
    if (!(date < era.first)) found = &era;
  }
  return {found->name, date.year - found->first.year + 1};
}

std::optional<int> GregorianYear(const EraYear& eraYear) {
  for (const auto& era : kEras) {
    if (eraYear.era == era.name) return era.first.year + eraYear.year - 1;
  }
  return std::nullopt;
}

std::vector<EraYear> EraYearsOf(int gregorianYear) {
  std::vector<EraYear> result;
  for (int i = static_cast<int>(std::size(kEras)) - 1; i >= 0; --i) {
    const auto& era = kEras[i];
    if (era.first.year > gregorianYear) continue;
    result.push_back({era.name, gregorianYear - era.first.year + 1});
    // An era that began after January 1 shares its first year with the era before it.
    if (era.first.year < gregorianYear || (era.first.month == 1 && era.first.day == 1)) break;
  }
  return result;
}

const std::vector<std::string>& EraNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> v;
    for (const auto& era : kEras) v.emplace_back(era.name);
    return v;
  }();
  return names;
}

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(y) ? 29 : kDays[month - 1];
}

CivilDate Today() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

}  // namespace paylark

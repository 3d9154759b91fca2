#include "calc/payment_date.h"

namespace paylark {
namespace {

constexpr int kMonthsInYear = 12;

CivilDate DayOfMonth(int year, int month, int day) {
  const int last = DaysInMonth(year, month);
  return {year, month, day >= 1 && day <= last ? day : last};
}

}  // namespace

std::optional<CivilDate> PaymentDateOfPeriod(const EraYear& eraYear, int period, const CompanyRecord& company,
                                             const FileHeader& header) {
  const std::optional<int> year = GregorianYear(eraYear);
  if (!year) return std::nullopt;
  if (IsSalaryPeriod(period)) return DayOfMonth(*year, period, company.PayDay());
  if (!IsBonusPeriod(period)) return std::nullopt;
  const int month = header.BonusMonth(period);
  if (month < 1 || month > kMonthsInYear) return CivilDate{*year, kMonthsInYear, DaysInMonth(*year, kMonthsInYear)};
  return DayOfMonth(*year, month, header.BonusDay(period));
}

}  // namespace paylark

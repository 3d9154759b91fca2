#include "calc/payment_date.h"

namespace paylark {
namespace {

constexpr int kMonthsInYear = 12;

CivilDate DayOfMonth(int year, int month, int day) {
  const int last = DaysInMonth(year, month);
  return {year, month, day >= 1 && day <= last ? day : last};
}

}  // namespace

CivilDate BonusPaymentDate(int year, int payMonth, int payDay) {
  if (payMonth < 1 || payMonth > kMonthsInYear) return CivilDate{year, kMonthsInYear, DaysInMonth(year, kMonthsInYear)};
  return DayOfMonth(year, payMonth, payDay);
}

std::optional<CivilDate> PaymentDateOfPeriod(const EraYear& eraYear, int period, const CompanyRecord& company,
                                             const FileHeader& header) {
  const std::optional<int> year = GregorianYear(eraYear);
  if (!year) return std::nullopt;
  if (IsSalaryPeriod(period)) return DayOfMonth(*year, period, company.PayDay());
  if (!IsBonusPeriod(period)) return std::nullopt;
  return BonusPaymentDate(*year, header.BonusMonth(period), header.BonusDay(period));
}

}  // namespace paylark

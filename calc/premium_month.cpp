#include "calc/premium_month.h"

namespace paylark {
namespace {

constexpr int kMonthsInYear = 12;
constexpr int kFiscalYearFirstMonth = 4;

YearMonth MonthBefore(int year, int month) {
  return month > 1 ? YearMonth{year, month - 1} : YearMonth{year - 1, kMonthsInYear};
}

}  // namespace

YearMonth PremiumMonth(const CompanyRecord& company, int salaryYear, int salaryMonth) {
  if (company.PremiumCollection() == 1) return {salaryYear, salaryMonth};
  return MonthBefore(salaryYear, salaryMonth);
}

std::optional<YearMonth> PremiumMonthOfPeriod(const CompanyRecord& company, int year, int period,
                                              const std::optional<CivilDate>& paymentDate) {
  if (IsSalaryPeriod(period)) return PremiumMonth(company, year, period);
  if (IsBonusPeriod(period) && paymentDate) return YearMonth{paymentDate->year, paymentDate->month};
  return std::nullopt;
}

CivilDate WageClosingDate(const CompanyRecord& company, const CivilDate& paymentDate) {
  const int day = company.WageClosingDay();
  if (day < 1 || day > 31) return paymentDate;
  const YearMonth month = company.WageClosingMonth() == 1 ? MonthBefore(paymentDate.year, paymentDate.month)
                                                          : YearMonth{paymentDate.year, paymentDate.month};
  const int last = DaysInMonth(month.year, month.month);
  return {month.year, month.month, day > last ? last : day};
}

int FiscalYearOf(const CivilDate& date) { return date.month >= kFiscalYearFirstMonth ? date.year : date.year - 1; }

}  // namespace paylark

// The month whose premium a payment collects, and the dates by which the premiums of a period are
// chosen.
//
// Premium month (保険料の月): the social insurance premium of month m is collected from the salary
// of month m + 1 (翌月徴収, the usual way) or of month m itself (当月徴収), as the company record
// says. So salary month m of year y has premium month m − 1 (翌月徴収; January → December of
// y − 1) or m (当月徴収). A bonus's premium month is its payment month.
//
// Wage closing date (賃金締切日): the employment insurance rate follows the date on which the
// wages of a period are closed, not the pay date. The company's 給与締日 (1..31, 31 = the month's
// last day; a day beyond the month is its last day) falls in the pay month (当月締め) or in the
// month before (前月締め). Without a 給与締日 the pay date stands in for it; a bonus is closed on
// its payment date.
//
// Fiscal year (年度): April to March; the bonus cap of health insurance adds up the standard
// bonuses of one fiscal year.
#pragma once

#include <optional>

#include "store/era.h"
#include "store/period.h"

namespace paylark {

struct YearMonth {
  int year;
  int month;
  auto operator<=>(const YearMonth&) const = default;
};

YearMonth PremiumMonth(const CompanyRecord& company, int salaryYear, int salaryMonth);

// The premium month of period `period` of a file of Gregorian year `year`: a salary month by
// the collection setting, a bonus period the month of its payment date. nullopt for a bonus
// without payment date or a period outside 1..15.
std::optional<YearMonth> PremiumMonthOfPeriod(const CompanyRecord& company, int year, int period,
                                              const std::optional<CivilDate>& paymentDate);

// The wage closing date of a salary month paid on `paymentDate` (a date in that month).
CivilDate WageClosingDate(const CompanyRecord& company, const CivilDate& paymentDate);

// The Gregorian year in which the fiscal year of `date` begins (January–March: the year before).
int FiscalYearOf(const CivilDate& date);

}  // namespace paylark

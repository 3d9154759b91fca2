// The payment date of a period, which decides the edition of the rate tables its calculation
// uses: a salary month is paid on the company's pay day (給与支給日) of that month, a bonus on the
// pay month and day of the yearly file's header.
#pragma once

#include <optional>

#include "store/era.h"
#include "store/period.h"

namespace paylark {

// Salary month m (1..12) of the file's era year: the pay day of that month; 31, or a pay day that
// is not a day of the month (0 when never set, 30 in February), is the month's last day.
// Bonus period (13..15): the header's pay month and day; a day that is not a day of that month is
// its last day; a pay month that is not set (0) or not a month gives the last day of the file's
// year (a bonus of that year, whose month is not known yet, is taxed with the year's tables).
// nullopt for an era name that is not known or a period outside 1..15.
// The payment date of a bonus of Gregorian year `year` with the header's pay month and day, by the
// rule above.
CivilDate BonusPaymentDate(int year, int payMonth, int payDay);

std::optional<CivilDate> PaymentDateOfPeriod(const EraYear& eraYear, int period, const CompanyRecord& company,
                                             const FileHeader& header);

}  // namespace paylark

#include "calc/payment_date.h"

#include <gtest/gtest.h>

namespace paylark {
namespace {

struct Case {
  const char* what;
  EraYear year;
  int period;
  int payDay;    // company record
  int bonusMonth;  // header, for the period
  int bonusDay;
  std::optional<CivilDate> expected;
};

TEST(PaymentDateOfPeriod, SalaryMonthsAndBonuses) {
  const Case cases[] = {
      {"December pay day 25", {"令和", 7}, 12, 25, 0, 0, CivilDate{2025, 12, 25}},
      {"31 is the month end", {"令和", 6}, 2, 31, 0, 0, CivilDate{2024, 2, 29}},
      {"30 in February", {"令和", 7}, 2, 30, 0, 0, CivilDate{2025, 2, 28}},
      {"pay day never set", {"令和", 8}, 1, 0, 0, 0, CivilDate{2026, 1, 31}},
      {"平成 file", {"平成", 30}, 4, 10, 0, 0, CivilDate{2018, 4, 10}},
      {"winter bonus", {"令和", 7}, 14, 25, 12, 10, CivilDate{2025, 12, 10}},
      {"summer bonus, day beyond the month", {"令和", 8}, 13, 25, 6, 31, CivilDate{2026, 6, 30}},
      {"bonus day not set", {"令和", 8}, 15, 25, 3, 0, CivilDate{2026, 3, 31}},
      {"bonus month not set: the year's last day", {"令和", 7}, 13, 25, 0, 0, CivilDate{2025, 12, 31}},
      {"bonus month out of range", {"令和", 7}, 14, 25, 13, 1, CivilDate{2025, 12, 31}},
      {"unknown era", {"未来", 3}, 12, 25, 0, 0, std::nullopt},
      {"no such period", {"令和", 7}, 16, 25, 0, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CompanyRecord company;
    company.SetPayDay(c.payDay);
    FileHeader header;
    for (int p = kFirstBonusPeriod; p <= kPeriodCount; ++p) {
      header.SetBonusMonth(p, p == c.period ? c.bonusMonth : 7);
      header.SetBonusDay(p, p == c.period ? c.bonusDay : 7);
    }
    EXPECT_EQ(PaymentDateOfPeriod(c.year, c.period, company, header), c.expected);
  }
}

}  // namespace
}  // namespace paylark

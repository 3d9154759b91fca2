#include <gtest/gtest.h>

#include "calc/birth_date.h"

namespace paylark {
namespace {

TEST(BirthDate, TypedInEitherCalendar) {
  const CivilDate today{2026, 12, 10};
  struct Case {
    const char* typed;
    std::optional<CivilDate> expected;
  } cases[] = {
      {"S55.4.1", CivilDate{1980, 4, 1}},
      {"s55/4/1", CivilDate{1980, 4, 1}},
      {"Ｓ５５．４．１", CivilDate{1980, 4, 1}},
      {"昭和55年4月1日", CivilDate{1980, 4, 1}},
      {" 昭和55.4.1 ", CivilDate{1980, 4, 1}},
      {"昭和55年 4月 1日", CivilDate{1980, 4, 1}},  // as shown
      {"昭和55年　4月　1日", CivilDate{1980, 4, 1}},
      {"1980-04-01", CivilDate{1980, 4, 1}},
      {"1980/4/1", CivilDate{1980, 4, 1}},
      {"H1.1.8", CivilDate{1989, 1, 8}},
      {"S64.1.7", CivilDate{1989, 1, 7}},
      {"R8.12.10", CivilDate{2026, 12, 10}},
      {"S64.1.8", std::nullopt},       // 昭和 ended on 7 January
      {"H1.1.7", std::nullopt},        // 平成 began on 8 January
      {"S55.2.30", std::nullopt},
      {"S55.4", std::nullopt},
      {"S55.4/1", std::nullopt},       // mixed separators
      {"X55.4.1", std::nullopt},
      {"R8.12.11", std::nullopt},      // after today
      {"1800-01-01", std::nullopt},
      {"", std::nullopt},
      {"昭和55年4月1", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(ParseBirthDate(c.typed, today), c.expected);
  }
}

TEST(BirthDate, ShownInTheJapaneseCalendar) {
  EXPECT_EQ(BirthDateText(19800401), "昭和55年 4月 1日");
  EXPECT_EQ(BirthDateText(19890108), "平成 1年 1月 8日");
  EXPECT_EQ(BirthDateText(19861215), "昭和61年12月15日");
  EXPECT_EQ(BirthDateText(0), "");
  EXPECT_EQ(BirthDateText(19800231), "");
}

}  // namespace
}  // namespace paylark

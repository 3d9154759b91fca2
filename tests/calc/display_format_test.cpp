// Display formats of amounts, hours and days, and the pay date texts of a salary month.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "entry/display_format.h"
#include "entry/number_parse.h"
#include "calc/pay_date.h"
#include "support/recording_reporter.h"

namespace paylark {
namespace {

constexpr int kDecimal = 0;
constexpr int kHoursMinutes = 1;

TEST(FormatAmount, ThousandsSeparatorsRightAligned) {
  struct Row { const char* name; int width; double value; const char* expected; };
  const Row rows[] = {
      {"sheet width", 7, 1234, "  1,234"},
      {"zero", 7, 0, "      0"},
      {"negative", 7, -1000, " -1,000"},
      {"wider than the field is not cut", 7, 1234567, "1,234,567"},
      {"detail screen width", 10, -1234567, "-1,234,567"},
      {"lowest yen", 10, std::numeric_limits<std::int32_t>::min(), "-2,147,483,648"},
      {"fraction rounded half away from zero", 7, 999.5, "  1,000"},
      {"no padding for width 0", 0, 100, "100"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(FormatAmount(row.width, row.value), row.expected);
  }
}

TEST(FormatHours, BothTimeStyles) {
  struct Row { const char* name; double value; int style; const char* expected; };
  const Row rows[] = {
      {"decimal", 1.75, kDecimal, "  1.75"},
      {"decimal negative", -0.5, kDecimal, " -0.50"},
      {"hours and minutes", 1.75, kHoursMinutes, "  1:45"},
      {"zero", 0, kHoursMinutes, "  0:00"},
      {"month of hours", 160.5, kHoursMinutes, "160:30"},
      {"negative below one hour keeps its sign", -0.5, kHoursMinutes, " -0:30"},
      {"negative hours", -1.5, kHoursMinutes, " -1:30"},
      {"minutes rounding to 60 carry into the hours", 1.999, kHoursMinutes, "  2:00"},
      {"negative carry", -1.999, kHoursMinutes, " -2:00"},
      {"negative carry from 0 hours", -0.9999, kHoursMinutes, " -1:00"},
      {"half minute ties to even, down", 0.375, kHoursMinutes, "  0:22"},  // 22.5 minutes
      {"half minute ties to even, up", 0.125, kHoursMinutes, "  0:08"},    // 7.5 minutes
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(FormatHours(row.value, row.style), row.expected);
  }
}

TEST(FormatHours, EveryMinuteReadsBackAsTheSameHours) {
  testing::RecordingReporter reporter;
  for (int hours = -3; hours <= 3; ++hours) {
    for (int minutes = 0; minutes < 60; ++minutes) {
      const double value = hours < 0 ? hours - minutes / 60.0 : hours + minutes / 60.0;
      const std::string shown = FormatHours(value, kHoursMinutes);
      SCOPED_TRACE(shown);
      EXPECT_NEAR(ParseNumber(shown, reporter), value, 1e-9);
    }
  }
  const double minusHalf = ParseNumber("-0:30", reporter);
  EXPECT_EQ(FormatHours(minusHalf, kHoursMinutes), " -0:30");
  EXPECT_TRUE(reporter.errors.empty());
}

TEST(FormatDays, TwoDecimalsInSixPlaces) {
  EXPECT_EQ(FormatDays(20), " 20.00");
  EXPECT_EQ(FormatDays(0.5), "  0.50");
  EXPECT_EQ(FormatDays(-1.25), " -1.25");
}

TEST(PayDateOfPeriod, PayDay31IsTheLastDayOfTheMonth) {
  struct Row { const char* name; EraYear year; int month; int payDay; PayDateTexts expected; };
  const Row rows[] = {
      {"平成20 (2008) February", {"平成", 20}, 2, 31, {"20", " 2", "29"}},
      {"令和6 (2024) February", {"令和", 6}, 2, 31, {" 6", " 2", "29"}},
      {"令和7 (2025) February", {"令和", 7}, 2, 31, {" 7", " 2", "28"}},
      {"平成12 (2000) February", {"平成", 12}, 2, 31, {"12", " 2", "29"}},
      {"30-day month", {"令和", 7}, 4, 31, {" 7", " 4", "30"}},
      {"31-day month", {"令和", 7}, 12, 31, {" 7", "12", "31"}},
      {"pay day 30 in February stays", {"令和", 7}, 2, 30, {" 7", " 2", "30"}},
      {"other pay days as they are", {"令和", 8}, 11, 5, {" 8", "11", " 5"}},
      {"unknown era", {"未知", 4}, 2, 31, {" 4", " 2", "28"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(PayDateOfPeriod(row.year, row.month, row.payDay), row.expected);
  }
}

}  // namespace
}  // namespace paylark

// Checking, normalising and reading typed numbers.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "entry/input_format.h"
#include "entry/number_parse.h"
#include "support/recording_reporter.h"

namespace paylark {
namespace {

using testing::RecordingReporter;

const std::string kDuplicate = "．や：又は符号(－)が重複しています。";
const std::string kOver59 = "分の入力が59を超えています。";
const std::string kSignPosition = "符号(－)の位置が不正です。";
const std::string kTooManyDigits = "入力した数値が上限を超えました。";
const std::string kInputError = "入力エラー";
const std::string kNotANumber = "数値として正しくありません。";
const std::string kOutOfRange = "数値が範囲を超えました。";

TEST(FormatCode, DigitsAndDecimalsOfEveryCodeInUse) {
  struct Row { int code; int integerDigits; int decimals; };
  const Row rows[] = {{20, 2, 0}, {51, 3, 1}, {52, 2, 2}, {62, 3, 2},
                      {63, 2, 3}, {70, 6, 0}, {90, 7, 0}, {100, 10, 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.code);
    EXPECT_EQ(FormatIntegerDigits(row.code), row.integerDigits);
    EXPECT_EQ(FormatDecimals(row.code), row.decimals);
  }
}

struct NormalizeRow {
  const char* name;
  const char* typed;
  int code;
  const char* expected;
  std::string message;  // empty: no message
};

TEST(NormalizeNumericField, ChecksAndNormalisesTypedText) {
  const NormalizeRow rows[] = {
      {"decimals cut, not rounded", "12.345", 52, "012.34", ""},
      {"minutes kept as typed", "1:5", 62, "01:5", ""},
      {"59 minutes accepted", "1:59", 62, "01:59", ""},
      {"60 minutes rejected", "1:60", 62, "", kOver59},
      {"empty minutes", "2:", 62, "02", ""},
      {"negative hours below one hour", "-:30", 62, "-0:30", ""},
      {"commas and spaces removed", " 1,234,567 ", 90, "01234567", ""},
      {"full-width space removed", "12\u30003", 90, "0123", ""},
      {"seven-digit amount under 90", "9999999", 90, "09999999", ""},
      {"eight-digit amount under 90", "10000000", 90, "", kTooManyDigits},
      {"six-digit amount under 70", "999999", 70, "0999999", ""},
      {"seven-digit amount under 70", "1000000", 70, "", kTooManyDigits},
      {"cut to nine characters under 100", "1234567890123", 100, "0123456789", ""},
      {"leading zeros do not count", "00012", 20, "012", ""},
      {"three-digit day under 20", "123", 20, "", kTooManyDigits},
      {"negative print adjustment", "-12.34", 51, "-012.3", ""},
      {"rate with three decimals", "12.3456", 63, "012.345", ""},
      {"rate above 99", "100.5", 63, "", kTooManyDigits},
      {"negative amount", "-500", 90, "-0500", ""},
      {"lone minus", "-", 90, "-0", ""},
      {"dot on an integer field", "12.5", 20, "012", ""},
      {"two minus signs", "--5", 90, "", kDuplicate},
      {"two dots", "1.2.3", 52, "", kDuplicate},
      {"dot and colon", "1.5:30", 62, "", kDuplicate},
      {"two colons", "1:2:3", 62, "", kDuplicate},
      {"minus at the end", "5-", 90, "", kSignPosition},
      {"minus in the minutes", "1:-5", 62, "", kSignPosition},
      {"letters", "12a", 90, "", kNotANumber},
      {"letters in the minutes", "1:3x", 62, "", kNotANumber},
      {"letters in the decimals", "1.x", 52, "", kNotANumber},
      {"plus sign", "+5", 90, "", kNotANumber},
      {"full-width digits", "１２３", 90, "", kNotANumber},
      {"long full-width text", "あいうえおかきくけこさしす", 90, "", kNotANumber},
      {"broken UTF-8", "1\xE3\x81", 90, "", kNotANumber},
      {"only spaces", "  \u3000 ", 90, "", ""},
  };
  for (const NormalizeRow& row : rows) {
    SCOPED_TRACE(row.name);
    RecordingReporter reporter;
    const std::string result = NormalizeNumericField(row.typed, row.code, reporter);
    EXPECT_EQ(result, row.expected);
    if (row.message.empty()) {
      EXPECT_TRUE(reporter.errors.empty());
    } else {
      EXPECT_EQ(reporter.errors, std::vector<std::string>{row.message});
    }
    // Whatever is accepted reads back as a number without a message.
    RecordingReporter reader;
    EXPECT_TRUE(TryParseNumber(result, reader).has_value());
    EXPECT_TRUE(reader.errors.empty());
  }
}

struct NumberRow {
  const char* name;
  std::string text;
  double expected;
  std::string message;
};

TEST(ParseNumber, ReadsDecimalNumbersAndHours) {
  const NumberRow rows[] = {
      {"plain decimal", "1234.5", 1234.5, ""},
      {"thousands separators", "1,234,567", 1234567, ""},
      {"normalised field", "-0500", -500, ""},
      {"leading plus", "+3", 3, ""},
      {"sign at the end dropped", "5-", 5, ""},
      {"trailing dot", "5.", 5, ""},
      {"leading dot", ".5", 0.5, ""},
      {"other character ends the number", "12abc3", 12, ""},
      {"empty text", "", 0, ""},
      {"lone sign", "-", 0, ""},
      {"full-width digits are not digits", "１２", 0, ""},
      {"second sign", "--5", 0, kInputError},
      {"second dot", "1.2.3", 0, kInputError},
      {"sign between digits", "1-2", 0, kNotANumber},
      {"lone dot", ".", 0, kNotANumber},
      {"beyond double range", "1" + std::string(400, '0'), 0, kOutOfRange},
      {"hours and minutes", "1:45", 1.75, ""},
      {"59 minutes", "01:59", 1 + 59.0 / 60, ""},
      {"minutes with decimals", "1:30.5", 1 + 30.5 / 60, ""},
      {"negative hours", "-1:30", -1.5, ""},
      {"negative minutes only", "-0:30", -0.5, ""},
      {"no whole hours", "-:30", -0.5, ""},
      {"second colon", "1:2:3", 0, kInputError},
      {"minus in the minutes", "1:-5", 0, kNotANumber},
      {"hours beyond 32 bits", "99999999999:00", 0, kOutOfRange},
  };
  for (const NumberRow& row : rows) {
    SCOPED_TRACE(row.name);
    RecordingReporter reporter;
    EXPECT_DOUBLE_EQ(ParseNumber(row.text, reporter), row.expected);
    if (row.message.empty()) {
      EXPECT_TRUE(reporter.errors.empty());
    } else {
      EXPECT_EQ(reporter.errors, std::vector<std::string>{row.message});
    }
  }
}

TEST(ParseNumber, TryFormTellsARejectedTextFromZero) {
  RecordingReporter reporter;
  EXPECT_EQ(TryParseNumber("0", reporter), 0.0);
  EXPECT_EQ(TryParseNumber("1-2", reporter), std::nullopt);
  EXPECT_EQ(TryParseHours("1:2:3", reporter), std::nullopt);
  EXPECT_EQ(reporter.errors, (std::vector<std::string>{kNotANumber, kInputError}));
}

TEST(ParseHours, WithoutColonTheTextIsWholeHours) {
  RecordingReporter reporter;
  EXPECT_DOUBLE_EQ(ParseHours(" 8 ", reporter), 8);
  EXPECT_DOUBLE_EQ(ParseHours("", reporter), 0);
  EXPECT_TRUE(reporter.errors.empty());
  EXPECT_DOUBLE_EQ(ParseHours("1.5", reporter), 0);
  EXPECT_EQ(reporter.errors, std::vector<std::string>{kNotANumber});
}

TEST(ParseInteger, ReadsThirtyTwoBitIntegersWithoutWrapping) {
  struct Row { const char* name; const char* text; std::int32_t expected; std::string message; };
  const Row rows[] = {
      {"thousands separators", "1,234", 1234, ""},
      {"empty text", " ", 0, ""},
      {"lowest value", "-2147483648", std::numeric_limits<std::int32_t>::min(), ""},
      {"highest value", "+2,147,483,647", std::numeric_limits<std::int32_t>::max(), ""},
      {"one beyond the highest", "2147483648", 0, kOutOfRange},
      {"far beyond", "99999999999999999999", 0, kOutOfRange},
      {"decimal", "12.5", 0, kNotANumber},
      {"letters", "abc", 0, kNotANumber},
      {"lone sign", "-", 0, kNotANumber},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    RecordingReporter reporter;
    EXPECT_EQ(ParseInteger(row.text, reporter), row.expected);
    if (row.message.empty()) {
      EXPECT_TRUE(reporter.errors.empty());
    } else {
      EXPECT_EQ(reporter.errors, std::vector<std::string>{row.message});
    }
  }
}

TEST(ParseIntegerOrZero, AnythingButATrimmedIntegerIsZero) {
  EXPECT_EQ(ParseIntegerOrZero(" 42 "), 42);
  EXPECT_EQ(ParseIntegerOrZero("-7"), -7);
  EXPECT_EQ(ParseIntegerOrZero(""), 0);
  EXPECT_EQ(ParseIntegerOrZero("abc"), 0);
  EXPECT_EQ(ParseIntegerOrZero("3000000000"), 0);
  EXPECT_EQ(ParseIntegerOrZero("1,234"), 0);  // only trimmed, no separators
}

}  // namespace
}  // namespace paylark

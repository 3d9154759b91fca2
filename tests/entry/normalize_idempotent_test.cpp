// Normalising a normalised field changes nothing, for every format code: a field is normalised
// each time it is left, so any change here would alter a stored value by itself.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "entry/input_format.h"
#include "support/recording_reporter.h"

namespace paylark {
namespace {

using testing::RecordingReporter;

// Texts from the characters a numeric field lets through, biased towards digits and zeros.
std::string RandomFieldText(std::mt19937& random) {
  static const char kAlphabet[] = "0000123456789.:-, ";
  std::uniform_int_distribution<int> length(0, 12);
  std::uniform_int_distribution<int> pick(0, sizeof kAlphabet - 2);
  std::string text;
  for (int n = length(random); n > 0; --n) text += kAlphabet[pick(random)];
  return text;
}

TEST(NormalizeNumericField, ANormalisedTextNormalisesToItselfForEveryCode) {
  std::mt19937 random(20261210);
  const std::string fixed[] = {"1234567", "123.45", "0", "-0", "-", ".", ":", "-:30", "000000000001",
                               "1234567890123", "0.5", "9:59", "-12.34", "00:00", "99999999"};
  for (int code = 0; code <= 110; ++code) {
    SCOPED_TRACE(code);
    std::vector<std::string> texts(std::begin(fixed), std::end(fixed));
    for (int i = 0; i < 400; ++i) texts.push_back(RandomFieldText(random));
    for (const std::string& typed : texts) {
      RecordingReporter first;
      const std::string once = NormalizeNumericField(typed, code, first);
      if (once.empty()) continue;
      std::string again = once;
      for (int pass = 2; pass <= 6; ++pass) {
        RecordingReporter reporter;
        again = NormalizeNumericField(again, code, reporter);
        ASSERT_EQ(again, once) << "typed [" << typed << "], pass " << pass;
        ASSERT_TRUE(reporter.errors.empty()) << "typed [" << typed << "]: " << reporter.errors.front();
      }
    }
  }
}

TEST(NormalizeNumericField, TheCasesThatDriftedKeepTheirValue) {
  struct Row {
    const char* typed;
    int code;
    const char* normalised;
  } rows[] = {{"1234567", 90, "01234567"}, {"123.45", 62, "0123.45"}, {"123456789", 100, "0123456789"},
              {"-12345678", 100, "-012345678"}, {"0000000001", 90, "01"}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.typed);
    RecordingReporter reporter;
    std::string text = r.typed;
    for (int pass = 0; pass < 6; ++pass) text = NormalizeNumericField(text, r.code, reporter);
    EXPECT_EQ(text, r.normalised);
  }
}

}  // namespace
}  // namespace paylark

// The numeric entry functions: the input is a format code, a time style and the typed text.
// Properties: normalisation is idempotent (a normalised text normalises to itself, without a
// message) and what it returns converts as a number without a message; the parsers and display
// formats take any text and value without undefined behaviour.
#include <cmath>
#include <string>

#include "entry/display_format.h"
#include "entry/input_format.h"
#include "entry/number_parse.h"
#include "fuzz/fuzz_support.h"

using namespace paylark;

namespace {

class CountingReporter : public Reporter {
 public:
  void Error(std::string_view) override { ++errors; }
  int errors = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int code = data[0] % 111;
  const int timeStyle = data[1] & 1;
  const std::string text(fuzz::AsText(data + 2, size - 2));

  CountingReporter first;
  const std::string normalised = NormalizeNumericField(text, code, first);
  if (!normalised.empty()) {
    CountingReporter second;
    fuzz::Require(NormalizeNumericField(normalised, code, second) == normalised, "normalisation is not idempotent");
    fuzz::Require(second.errors == 0, "a normalised text was rejected");
    CountingReporter parse;
    const std::optional<double> value = TryParseNumber(normalised, parse);
    fuzz::Require(value.has_value() && parse.errors == 0, "a normalised text does not convert");
    (void)FormatAmount(code % 12, *value);
  }

  CountingReporter any;
  const double number = ParseNumber(text, any);
  const double hours = ParseHours(text, any);
  (void)ParseInteger(text, any);
  (void)ParseIntegerOrZero(text);
  (void)TryParseInteger(text, any);
  for (double value : {number, hours}) {
    if (!std::isfinite(value)) continue;
    (void)FormatHours(value, timeStyle);
    (void)FormatDays(value);
    (void)FormatAmount(data[1] % 12, value);
  }
  return 0;
}

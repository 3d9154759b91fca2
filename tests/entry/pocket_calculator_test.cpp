#include "entry/pocket_calculator.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace paylark {
namespace {

// Keys as typed: digits, ".", "+", "-", "*", "/", "=", "%", "C". Returns the display after each
// key; a refused key is marked by a "!" after its display.
std::vector<std::string> Press(CalcState& s, std::string_view keys) {
  std::vector<std::string> shown;
  for (char k : keys) {
    int code = -1;
    switch (k) {
      case '.': code = kCalcPoint; break;
      case '+': code = kCalcPlus; break;
      case '-': code = kCalcMinus; break;
      case '*': code = kCalcMultiply; break;
      case '/': code = kCalcDivide; break;
      case '=': code = kCalcEquals; break;
      case '%': code = kCalcPercent; break;
      case 'C': code = kCalcClear; break;
      default: code = k - '0'; break;
    }
    const bool accepted = CalcPress(s, code);
    shown.push_back(s.display + (accepted ? "" : "!"));
  }
  return shown;
}

std::string Final(std::string_view keys) {
  CalcState s;
  return Press(s, keys).back();
}

struct Case {
  const char* name;
  const char* keys;
  const char* display;
};

class Sequences : public ::testing::TestWithParam<Case> {};

TEST_P(Sequences, ShowTheExpectedDisplay) { EXPECT_EQ(Final(GetParam().keys), GetParam().display); }

INSTANTIATE_TEST_SUITE_P(
    PocketCalculator, Sequences,
    ::testing::Values(
        Case{"whole numbers end in a point", "7", "7."},
        Case{"typed trailing zeros are kept", "1.50", "1.50"},
        Case{"leading zeros are dropped", "007", "7."},
        Case{"a point starts 0.", ".5", "0.5"},
        Case{"a second point is ignored", "1.2.3", "1.23"},
        Case{"per cent of A under plus", "200+10%", "20."},
        Case{"per cent of A under minus, then equals takes it off", "200-10%=", "180."},
        Case{"per cent of the number under times", "200*10%", "0.1"},
        Case{"times per cent then equals", "200*10%=", "20."},
        Case{"an operator computes the pending one", "2*3+4=", "10."},
        Case{"times equals squares", "5*=", "25."},
        Case{"a result keeps the decimals typed last", "2+1.50=", "3.50"},
        Case{"ten significant digits", "10/3=", "3.333333333"},
        Case{"rounding to ten digits carries into the exponent form", "9999999999+1=", "1E10"},
        Case{"small results in the exponent form", "1/3000000=", "3.333333333E-7"},
        Case{"negative results", "3-5=", "-2."},
        Case{"eleventh digit refused", "12345678901", "1234567890.!"},
        Case{"a digit after equals starts a new calculation", "3+4=5+2=", "7."},
        Case{"a point after equals starts a new number", "1.5+2.5=.5", "0.5"},
        Case{"a digit after per cent starts a new number", "200+10%5=", "205."},
        Case{"division by zero shows E", "5/0=", "E"},
        Case{"division by zero from an operator", "5/0+", "E"},
        Case{"the key after E starts afresh", "5/0=3", "3."},
        Case{"an operator after E works on 0", "5/0=+4=", "4."},
        Case{"clear", "12+3C", "0."}),
    [](const ::testing::TestParamInfo<Case>& param) {
      std::string name = param.param.name;
      for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      return name;
    });

TEST(PocketCalculator, RepeatedEqualsRepeatsTheLastOperation) {
  CalcState s;
  const auto shown = Press(s, "3+4==");
  EXPECT_EQ(shown[3], "7.");
  EXPECT_EQ(shown[4], "11.");
  EXPECT_EQ(s.value, 11);
}

TEST(PocketCalculator, PerCentWithNothingToActOnIsRefused) {
  CalcState s;
  EXPECT_EQ(Press(s, "%"), std::vector<std::string>{"0.!"});
  EXPECT_EQ(Press(s, "5+%"), (std::vector<std::string>{"5.", "5.", "5.!"}));
}

TEST(PocketCalculator, ValueIsTheNumberOnTheDisplayInFullPrecision) {
  CalcState s;
  Press(s, "123.4");
  EXPECT_EQ(s.value, ParseCalcText("123.4"));
  Press(s, "C2/3=");
  EXPECT_EQ(s.display, "0.6666666667");
  EXPECT_EQ(s.value, 2.0L / 3.0L);
  Press(s, "C5/0=");
  EXPECT_EQ(s.value, 0);
}

TEST(PocketCalculator, FormatsValues) {
  EXPECT_EQ(FormatCalcValue(0, 0), "0.");
  EXPECT_EQ(FormatCalcValue(-0.0L, 0), "0.");
  EXPECT_EQ(FormatCalcValue(1234567890, 0), "1234567890.");
  EXPECT_EQ(FormatCalcValue(0.00001L, 0), "0.00001");
  EXPECT_EQ(FormatCalcValue(-2.5e20L, 0), "-2.5E20");
  EXPECT_EQ(FormatCalcValue(1.5L, 3), "1.500");
  EXPECT_EQ(ParseCalcText("1.5E12"), 1.5e12L);
  EXPECT_EQ(ParseCalcText("E"), 0);
}

}  // namespace
}  // namespace paylark

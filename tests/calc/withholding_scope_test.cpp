#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "calc/withholding_scope.h"

namespace paylark {
namespace {

const YearEndRules& Rules(int year) {
  static const YearEndRules r2025 = LoadYearEndRules(PAYLARK_TABLES_SRC "/year-end", 2025);
  static const YearEndRules r2026 = LoadYearEndRules(PAYLARK_TABLES_SRC "/year-end", 2026);
  return year == 2025 ? r2025 : r2026;
}

// Adjusted: the 給与の総額 (前職分 included) and the 年調年税額; not adjusted: this employer's pay.
EmployeeYearEnd Adjusted(Yen totalPay, Yen annualTax) {
  EmployeeYearEnd e;
  e.pay.salary = totalPay - 100000;  // the rest was paid by the previous employer
  e.result.totalPay = totalPay;
  e.result.annualTax = annualTax;
  return e;
}
EmployeeYearEnd NotAdjusted(Yen salary, Yen withheld, const char* why) {
  EmployeeYearEnd e;
  e.pay.salary = salary;
  e.pay.withheld = withheld;
  e.exclusion = why;
  return e;
}

TEST(WithholdingScope, ThresholdsOfTheCaseDecide) {
  struct Case {
    int year;
    EmployeeYearEnd employee;
    FilingFacts facts;
    bool filed;
    const char* reason;
  };
  const Case cases[] = {
      {2025, Adjusted(5000000, 1), {}, false, "年末調整済・5,000,000円以下"},
      {2025, Adjusted(5000001, 1), {}, true, "年末調整済・5,000,000円超"},  // 前職分 counts
      {2025, Adjusted(1500001, 1), {.officer = true}, true, "年末調整済・役員・1,500,000円超"},
      {2025, Adjusted(1500000, 1), {.officer = true}, false, "年末調整済・役員・1,500,000円以下"},
      {2025, Adjusted(2500001, 1), {.professional = true}, true, "年末調整済・弁護士等・2,500,000円超"},
      {2025, NotAdjusted(2500000, 1, "年の中途で退職"), {.retired = true}, false, "年末調整なし・2,500,000円以下"},
      {2025, NotAdjusted(2500001, 1, "年の中途で退職"), {.retired = true}, true, "年末調整なし・2,500,000円超"},
      {2025, NotAdjusted(500001, 1, "年の中途で退職"), {.officer = true}, true, "年末調整なし・役員・500,000円超"},
      {2025, NotAdjusted(20000001, 1, "給与の総額が20000000円を超える"), {}, true, "年末調整なし・20,000,000円超"},
      {2025, NotAdjusted(500000, 1, "乙欄"), {}, false, "乙欄・丙欄・500,000円以下"},
      {2025, NotAdjusted(500001, 1, "扶養控除等申告書の提出なし"), {}, true, "乙欄・丙欄・500,000円超"},
      // 令和8年分: the 給与支払報告書's scope.
      {2026, Adjusted(1000000, 1), {}, true, "給与支払報告書の提出範囲"},
      {2026, NotAdjusted(300000, 1, "年の中途で退職"), {.retired = true}, false, "中途退職・300,000円以下"},
      {2026, NotAdjusted(300001, 1, "年の中途で退職"), {.retired = true}, true, "給与支払報告書の提出範囲"},
      {2026, NotAdjusted(100000, 1, "乙欄"), {}, true, "給与支払報告書の提出範囲"},
  };
  for (const Case& c : cases) {
    const FilingDecision d = TaxOfficeFiling(Rules(c.year).filing, c.employee, c.facts);
    EXPECT_EQ(d.filed, c.filed) << c.reason;
    EXPECT_EQ(d.reason, c.reason);
  }
  // The 給与支払報告書 leaves out only a leaver with small pay, in either year.
  EXPECT_FALSE(InMunicipalReport(Rules(2025).filing, NotAdjusted(300000, 0, "年の中途で退職"), true));
  EXPECT_TRUE(InMunicipalReport(Rules(2025).filing, NotAdjusted(300000, 0, "乙欄"), false));
}

TEST(WithholdingScope, StatutoryTotalsOfAllAndOfTheFiled) {
  const EmployeeYearEnd a = Adjusted(6000000, 57100);
  const EmployeeYearEnd b = Adjusted(4000000, 30000);
  const EmployeeYearEnd c = NotAdjusted(600000, 18000, "乙欄");
  const StatutoryTotals t = StatutoryTotalsOf(Rules(2025).filing, {{&a, {}}, {&b, {}}, {&c, {}}});
  EXPECT_EQ(t.all.people, 3);
  EXPECT_EQ(t.all.paid, 10600000);
  EXPECT_EQ(t.all.tax, 105100);
  EXPECT_EQ(t.filed.people, 2);
  EXPECT_EQ(t.filed.paid, 6600000);
  EXPECT_EQ(t.filed.tax, 75100);
}

TEST(WithholdingScope, RulesFileChecksTheScope) {
  EXPECT_EQ(Rules(2025).filing.basis, FilingScope::Basis::Table);
  EXPECT_EQ(Rules(2025).filing.electronicCount, 100);
  EXPECT_EQ(Rules(2026).filing.basis, FilingScope::Basis::Report);
  EXPECT_EQ(Rules(2026).filing.electronicCount, 30);
  // A table scope without its thresholds, or a report scope with them, is refused.
  std::string text;
  {
    std::ifstream in(PAYLARK_TABLES_SRC "/year-end/year-end-2025.txt");
    text.assign(std::istreambuf_iterator<char>(in), {});
  }
  const std::string withoutAdjusted = text.substr(0, text.find("filing_adjusted")) + text.substr(text.find("filing_not_adjusted"));
  EXPECT_THROW(ParseYearEndRules(withoutAdjusted, "t"), YearEndRulesError);
  std::string report = text;
  report.replace(report.find("filing_scope table"), 18, "filing_scope report");
  EXPECT_THROW(ParseYearEndRules(report, "t"), YearEndRulesError);
  EXPECT_NO_THROW(ParseYearEndRules(text, "t"));
}

}  // namespace
}  // namespace paylark

#include "print/report_sheets.h"

#include <gtest/gtest.h>

#include "print/employee_groups.h"
#include "print/date_texts.h"
#include "store/format_text.h"
#include "support/payroll_fixture.h"

namespace paylark::print {
namespace {

struct SheetsFixture : ::testing::Test {
  OpenPeriod open;
  Options options;
  ItemSettings salary = DefaultItemSettings(ItemKind::Salary);
  ItemSettings bonus = DefaultItemSettings(ItemKind::Bonus);
  ReportSource source;

  SheetsFixture() {
    open.periodIndex = 12;
    open.eraYear = {"令和", 8};
    source.open = &open;
    source.options = &options;
    source.salaryItems = &salary;
    source.bonusItems = &bonus;
    source.today = {2026, 12, 10};
  }
  // Employees in slots 1..n, the given categories in turn (standard index, or −1 with a text).
  void Employees(int n, std::vector<std::pair<int, std::string>> categories = {{2, ""}}) {
    open.period.Clear();
    for (int slot = 1; slot <= n; ++slot) {
      EmployeeRecord e = testing::TestEmployee(Format("社員%d", slot), Format("260101_0000%02d", slot),
                                               PayForm::Monthly, 200000);
      const auto& [index, text] = categories[(slot - 1) % categories.size()];
      e.SetCategoryIndex(index);
      e.SetCategoryText(text);
      open.period.Employee(slot) = e;
    }
  }
};

TEST_F(SheetsFixture, RosterHasTenPersonsASheetRetiredIncluded) {
  Employees(10);
  open.period.Employee(3).SetRetirementDate("261130");
  EXPECT_EQ(CountSheets({rkRoster, 0}, source).text, "  1枚 [10名]");
  Employees(11);
  EXPECT_EQ(CountSheets({rkRoster, 0}, source).sheets, 2);
  // The scan stops at the first empty slot.
  open.period.Employee(5) = EmployeeRecord{};
  EXPECT_EQ(CountSheets({rkRoster, 0}, source).persons, 4);
}

TEST_F(SheetsFixture, MonthlyListCountsTheSubtotalAndTotalColumns) {
  Employees(10);
  options.printClassTotals = false;
  EXPECT_EQ(CountSheets({rkMonthlyList, 12}, source).text, "  2枚 [10名、12月分･給与]");
  // 8 active employees in 4 categories (a retired ninth does not count): 8 + 4 + total → 2 sheets.
  Employees(9, {{1, ""}, {2, ""}, {-1, "嘱託"}, {5, ""}});
  open.period.Employee(9).SetRetirementDate("261130");
  options.printClassTotals = true;
  EXPECT_EQ(CountSheets({rkMonthlyList, 12}, source).sheets, 2);
  std::vector<std::string> names;
  for (const CategoryGroup& g : CategoryGroups(open.period)) names.push_back(g.name);
  EXPECT_EQ(names, (std::vector<std::string>{"役員", "一般社員", "アルバイト", "嘱託"}));
  open.periodIndex = 15;
  options.thirdBonusName = "決算賞与";
  EXPECT_EQ(CountSheets({rkMonthlyList, 15}, source).text, "  2枚 [8名、決算賞与]");
}

TEST_F(SheetsFixture, PayslipsGoTwoToASheetUnlessThePaperIsOnePerSheet) {
  Employees(6);
  source.selectedSlots = {5, 1, 3, 2, 6};
  EXPECT_EQ(CountSheets({rkPayslip, 99}, source).text, " 3枚 [5名]");
  EXPECT_EQ(ReportPages({rkPayslip, 99}, source), (std::vector<PageRef>{{5, 1}, {3, 2}, {6, 0}}));
  options.formType = 0;
  EXPECT_EQ(CountSheets({rkPayslip, 99}, source).sheets, 5);
  EXPECT_EQ(ReportPages({rkPayslip, 99}, source).size(), 5u);
  EXPECT_EQ(CountSheets({rkPayslip, 3}, source).text, " 1枚 [社員3]");
  EXPECT_EQ(ReportPages({rkPayslip, 3}, source), (std::vector<PageRef>{{3, 0}}));
  EXPECT_EQ(CountSheets({rkLedger, 99}, source).text, " 5枚");
  EXPECT_EQ(ReportPages({rkLedger, 99}, source).front(), (PageRef{5, 0}));
}

TEST_F(SheetsFixture, ReportCodesAndDateTexts) {
  EXPECT_EQ(ParseReportCode(299), (ReportCode{rkPayslip, 99}));
  EXPECT_EQ(ParseReportCode(515), (ReportCode{rkMonthlyList, 15}));
  EXPECT_EQ(ParseReportCode(100), (ReportCode{rkRoster, 0}));
  for (int bad : {0, 300, 231, 400, 516, 101}) {
    EXPECT_FALSE(ParseReportCode(bad)) << bad;
    EXPECT_THROW(RequireReportCode(bad), std::invalid_argument) << bad;
  }
  EXPECT_EQ(RequireReportCode(203), (ReportCode{rkPayslip, 3}));

  PageModel page;
  source.payDate = {" 8", "12", ""};
  SetDateTexts(page, {rkPayslip, 1}, source);
  EXPECT_EQ(page.dateEraYear, "令和  8");  // five bytes of "令和    年" then the typed year
  EXPECT_EQ(page.dateMonth, "12");
  EXPECT_EQ(page.dateDay, " 0");
  SetDateTexts(page, {rkRoster, 0}, source);
  EXPECT_EQ(page.dateEraYear, "令和 8");
  EXPECT_EQ(page.dateMonth, "12");
  EXPECT_EQ(page.dateDay, "10");
}

}  // namespace
}  // namespace paylark::print

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "print/layouts.h"
#include "store/format_text.h"
#include "support/payroll_fixture.h"
#include "support/recording_canvas.h"

namespace paylark::print {
namespace {

using testing::RecordedShape;
using testing::RecordingCanvas;
using testing::TestCompany;
using testing::TestEmployee;

// Category of a test employee: a standard one by its index, or a text of its own.
struct Staff {
  int categoryIndex = 2;
  std::string categoryText;
  bool retired = false;
};

class MonthlyListTest : public ::testing::Test {
 protected:
  MonthlyListTest() {
    state.eraYear = {"令和", 8};
    state.periodIndex = 4;
    state.period.company = TestCompany();
    page.dotsPerMmX = page.dotsPerMmY = 10;
    page.thinPen = 1;
    page.thickPen = 3;
    page.canvas = &canvas;
    source.open = &state;
    source.options = &options;
    source.today = {2026, 3, 5};
  }

  // Slots 1.. in order, named 社員01, 社員02, …; employee n earns base pay n × 10,000 and the
  // totals 支給合計 n × 1,000 and 控除合計 n × 100.
  void Employ(const std::vector<Staff>& staff) {
    for (std::size_t i = 0; i < staff.size(); ++i) {
      const int slot = static_cast<int>(i) + 1;
      EmployeeRecord e = TestEmployee(Format("社員%02d", slot), "2504010900" + Format("%02d", slot), PayForm::Monthly, 1);
      e.SetCategoryIndex(staff[i].categoryIndex);
      e.SetCategoryText(staff[i].categoryText);
      if (staff[i].retired) e.SetRetirementDate(" 8 331");
      state.period.Employee(slot) = e;
      state.period.Payment(slot).Set(Sikyu::BasePay, slot * 10000);
      state.period.Payment(slot).Set(Sikyu::Total, slot * 1000);
      state.period.Deduction(slot).Set(Koujo::Total, slot * 100);
    }
  }

  void Draw(int pageNumber) {
    canvas.texts.clear();
    canvas.shapes.clear();
    DrawMonthlyList(page, source, pageNumber, 2);
  }
  // The heading of column j (0-based on the page), leading blanks dropped.
  std::string Heading(int j) const {
    const std::string text =
        canvas.TextLine(page.X(35.5 + 25.5 * j), page.Y(29.5), kCondensedAdvance, page.X(35.5 + 25.5 * (j + 1)));
    return text.substr(std::min(text.find_first_not_of(' '), text.size()));
  }
  std::vector<std::string> Headings() const {
    std::vector<std::string> headings;
    for (int j = 0; j < 10; ++j)
      if (!Heading(j).empty()) headings.push_back(Heading(j));
    return headings;
  }
  std::string Cell(int j, int row) const {
    const double x = 40 + 25.5 * j;
    return canvas.TextLine(page.X(x), page.Y(34 + 4.5 * (row - 1)), kCondensedAdvance, page.X(x + 25.5));
  }
  int WeightAt(int j, int row) const {
    const double x = 40 + 25.5 * j;
    for (const auto& t : canvas.texts)
      if (t.y == page.Y(34 + 4.5 * (row - 1)) && t.x >= page.X(x) && t.x < page.X(x + 25.5)) return t.font.weight;
    return 0;
  }

  const double kCondensedAdvance = 10 / 2.8 * 3 / 7 * 10;
  OpenPeriod state;
  Options options;
  RecordingCanvas canvas;
  PageModel page;
  ReportSource source;
};

TEST_F(MonthlyListTest, TitleDateGridAndLabels) {
  Employ({{}, {}});
  Draw(1);
  const double title = 16 / 2.8 / 2 * 10, size10 = 10 / 2.8 / 2 * 10;
  EXPECT_EQ(canvas.TextLine(1000, 200, title, 2900), "令和8年  4 月 分 給 与 一 覧");
  EXPECT_EQ(canvas.TextLine(120, 220, size10, 1000), "テスト商事株式会社");
  EXPECT_EQ(canvas.TextLine(2200, 220, size10, 2600), "令和 8年 3月 5日");
  EXPECT_EQ(canvas.TextLine(2600, 220, size10, 2970), "Page 1 / 2");
  EXPECT_EQ(canvas.TextLine(130, page.Y(34 + 4.5 * 18), kCondensedAdvance, 350), "支給項目合計");

  std::vector<RecordedShape> fills, frames, lines;
  for (const RecordedShape& s : canvas.shapes)
    (s.kind == RecordedShape::Fill ? fills : s.kind == RecordedShape::Frame ? frames : lines).push_back(s);
  ASSERT_EQ(fills.size(), 20u);
  EXPECT_EQ(fills[1].y1, 380);
  EXPECT_EQ(fills[1].x2, 2900);
  ASSERT_EQ(frames.size(), 4u);
  EXPECT_EQ(std::vector<int>({frames[0].x1, frames[0].y1, frames[0].x2, frames[0].y2}), std::vector<int>({100, 290, 2900, 2045}));
  EXPECT_EQ(std::vector<int>({frames[3].y1, frames[3].x2}), std::vector<int>({2000, 2900}));
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[1].x1, 350);
  EXPECT_EQ(lines[10].x1, 2645);
}

TEST_F(MonthlyListTest, BonusPeriodTitles) {
  struct Case {
    int period;
    std::string thirdBonus;
    std::string title;
  };
  const Case cases[] = {{12, "", "令和8年  12 月 分 給 与 一 覧"},
                        {13, "", "令和8年  夏 期 賞 与 一 覧"},
                        {14, "", "令和8年  冬 季 賞 与 一 覧"},
                        {15, "決算賞与金", "令和8年  決 算 賞 与 一 覧"},
                        {15, "寸志", "令和8年  寸 志 一 覧"}};
  Employ({{}});
  for (const Case& c : cases) {
    state.periodIndex = c.period;
    options.thirdBonusName = c.thirdBonus;
    Draw(1);
    EXPECT_EQ(canvas.TextLine(1000, 200, 16 / 2.8 / 2 * 10, 2900), c.title) << c.period << c.thirdBonus;
  }
}

TEST_F(MonthlyListTest, TenActiveWithoutSubtotalsPutTheTotalAloneOnPageTwo) {
  options.printClassTotals = false;
  std::vector<Staff> staff(11);
  staff[2].retired = true;  // slot 3: on the roster, not in the list
  Employ(staff);
  Draw(1);
  EXPECT_EQ(Headings(), std::vector<std::string>({"社員01", "社員02", "社員04", "社員05", "社員06", "社員07", "社員08",
                                                  "社員09", "社員10", "社員11"}));
  EXPECT_EQ(Cell(2, 1), "   40,000");
  EXPECT_EQ(WeightAt(2, 1), 400);
  EXPECT_EQ(WeightAt(2, 19), 700);
  Draw(2);
  ASSERT_EQ(Headings(), std::vector<std::string>({"合 計(10名)"}));
  EXPECT_EQ(canvas.TextLine(page.X(40), page.Y(29.5), kCondensedAdvance, page.X(60)), "合 計(10名)");
  // 支給合計 1,000 × (1 + 2 + … + 11 − 3) = 63,000; 差引支給額 = 63,000 − 6,300.
  EXPECT_EQ(Cell(0, 19), "    63,000");
  EXPECT_EQ(Cell(0, 38), "    56,700");
  EXPECT_EQ(WeightAt(0, 1), 700);
}

TEST_F(MonthlyListTest, EightActiveInFourCategoriesSpreadSubtotalsOverTwoPages) {
  // Slot order パート, 役員, 嘱託, 一般社員, …; the subtotals list the standard categories first.
  Employ({{4, ""}, {1, ""}, {-1, "嘱託"}, {2, ""}, {4, ""}, {1, ""}, {-1, "嘱託"}, {2, ""}});
  Draw(1);
  EXPECT_EQ(Headings(), std::vector<std::string>({"社員01", "社員02", "社員03", "社員04", "社員05", "社員06", "社員07",
                                                  "社員08", "役員計(2名)", "一般社員計(2名)"}));
  EXPECT_EQ(Cell(8, 1), "    80,000");  // 役員: slots 2 and 6
  EXPECT_EQ(WeightAt(8, 1), 700);
  Draw(2);
  EXPECT_EQ(Headings(), std::vector<std::string>({"パート計(2名)", "嘱託計(2名)", "合 計(8名)"}));
  EXPECT_EQ(Cell(1, 1), "   100,000");  // 嘱託: slots 3 and 7
  EXPECT_EQ(Cell(2, 1), "   360,000");
}

TEST_F(MonthlyListTest, ALongSubtotalHeadingTakesTheShortForm) {
  struct Case {
    std::string category;
    std::string heading;
  };
  const Case cases[] = {{"嘱託", "嘱託計(1名)"},
                        {"Temporary", "Temporary計(1名)"},  // 16 bytes exactly
                        {"Temporary2", "Temporary2計(1)"},
                        {"事務補助員", "事務補助員計(1)"}};
  std::vector<Staff> staff;
  for (const Case& c : cases) staff.push_back({-1, c.category});
  Employ(staff);
  Draw(1);
  for (std::size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(Heading(4 + static_cast<int>(i)), cases[i].heading);
}

}  // namespace
}  // namespace paylark::print

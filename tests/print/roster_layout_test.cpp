#include <gtest/gtest.h>

#include <string>

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

class RosterTest : public ::testing::Test {
 protected:
  RosterTest() {
    state.eraYear = {"令和", 8};
    state.periodIndex = 4;
    state.period.company = TestCompany();
    options.itemNames[static_cast<int>(UserItem::FixedAllowance1)] = "住宅手当";
    options.itemNames[static_cast<int>(UserItem::FixedDeduction3)] = "組合費";
    page.dotsPerMmX = page.dotsPerMmY = 10;
    page.thinPen = 1;
    page.thickPen = 3;
    page.canvas = &canvas;
    source.open = &state;
    source.options = &options;
    source.today = {2026, 3, 5};
  }

  void Employ(int count) {
    for (int slot = 1; slot <= count; ++slot)
      state.period.Employee(slot) = TestEmployee(Format("社員%02d", slot), Format("2504010900%02d", slot), PayForm::Monthly, 1);
  }
  void Draw(int pageNumber) {
    canvas.texts.clear();
    canvas.shapes.clear();
    DrawRoster(page, source, pageNumber, 2);
  }
  // Column j (1..10) of row 0..30; y offset for the second and third line of the mail address.
  std::string Cell(int j, int row, double dy = 0) const {
    const double x = 33.5 + 25.5 * (j - 1);
    return canvas.TextLine(page.X(x), page.Y(28 + 5.5 * row + dy), kCondensedAdvance, page.X(x + 25.5));
  }
  std::string Label(int row) const {
    return canvas.TextLine(page.X(11), page.Y(28 + 5.5 * row), kCondensedAdvance, page.X(33));
  }

  const double kCondensedAdvance = 10 / 2.8 * 3 / 7 * 10;
  OpenPeriod state;
  Options options;
  RecordingCanvas canvas;
  PageModel page;
  ReportSource source;
};

TEST_F(RosterTest, TitleGridAndLabels) {
  Employ(1);
  Draw(1);
  EXPECT_EQ(canvas.TextLine(1000, 180, 16 / 2.8 / 2 * 10, 2900), "社 員 名 簿 一 覧 表");
  EXPECT_EQ(canvas.TextLine(2200, 200, 10 / 2.8 / 2 * 10, 2600), "令和 8年 3月 5日");
  EXPECT_EQ(canvas.TextLine(2600, 200, 10 / 2.8 / 2 * 10, 2970), "Page 1 / 2");
  EXPECT_EQ(Label(0), "氏　　名");
  EXPECT_EQ(Label(4), "税額表・性別");
  EXPECT_EQ(Label(13), "　支給単位");
  EXPECT_EQ(Label(18), "住宅手当");
  EXPECT_EQ(Label(23), "組合費");
  EXPECT_EQ(Label(30), "メールアドレス");

  std::vector<RecordedShape> fills, frames, lines;
  for (const RecordedShape& s : canvas.shapes)
    (s.kind == RecordedShape::Fill ? fills : s.kind == RecordedShape::Frame ? frames : lines).push_back(s);
  ASSERT_EQ(fills.size(), 17u);  // rows 0, 2, … 30 and 31
  EXPECT_EQ(std::vector<int>({fills[15].y1, fills[16].y1, fills[16].y2, fills[16].x2}), std::vector<int>({1920, 1975, 2030, 2880}));
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(std::vector<int>({frames[0].x1, frames[0].y1, frames[0].x2, frames[0].y2, frames[0].pen}),
            std::vector<int>({100, 270, 2880, 2030, 3}));
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[0].y1, 325);
  EXPECT_EQ(lines[10].x1, 2625);
}

TEST_F(RosterTest, MasterDataOfOneEmployee) {
  Employ(2);
  EmployeeRecord& e = state.period.Employee(2);
  e.SetDepartment("営業部");
  e.SetCategoryIndex(4);
  e.SetPayFormCode(2);
  e.SetPaidInCash(true);
  e.SetTaxColumn(1);
  e.SetDependants(2);
  e.SetTaxDependants(11);
  e.SetBasePay(9500);
  e.SetOvertimePrice(3, 1500);
  e.SetCommuteUnit(3);
  e.SetFixedDeduction(2, 2000);
  e.SetEmploymentSubject(true);
  e.SetPensionSubject(true);
  e.SetPensionPremium(18300);
  e.SetHealthPremium(9999);  // not subject: the amount is not shown
  e.SetRetirementDate(" 8 331");
  e.SetSex(2);
  Draw(1);

  const std::pair<int, std::string> rows[] = {
      {0, "社員02"},     {1, "営業部"},         {2, "パート"},    {3, "日給(現金)"},
      {4, "乙欄 / 女"},  {5, " 2人 / 11人"},    {6, "    9,500"}, {10, "    1,500"},
      {13, "1,4,7,10月"}, {23, "    2,000"},     {24, "     ○"},  {25, "     －"},
      {27, "   18,300"}, {29, "   8/ 3/31"}};
  for (const auto& [row, text] : rows) EXPECT_EQ(Cell(2, row), text) << "row " << row;
  EXPECT_EQ(Cell(1, 3), "月給");
  EXPECT_EQ(Cell(1, 4), "甲欄 /");  // 性別 not known
  EXPECT_EQ(Cell(1, 29), "");
}

TEST_F(RosterTest, RetiredEmployeesAreListedTenToASheet) {
  Employ(11);
  state.period.Employee(3).SetRetirementDate(" 8 331");
  Draw(1);
  EXPECT_EQ(Cell(3, 0), "社員03");
  EXPECT_EQ(Cell(10, 0), "社員10");
  Draw(2);
  EXPECT_EQ(Cell(1, 0), "社員11");
  EXPECT_EQ(Cell(2, 0), "");
}

TEST_F(RosterTest, AMailAddressOfFiftyCharactersShowsFortyEightInThreeLines) {
  Employ(1);
  const std::string mail = "abcdefghijklmnop.qrstuvwxyz0123@example-mail.jpXYZ";  // 50 characters
  ASSERT_EQ(mail.size(), 50u);
  state.period.Employee(1).SetMailAddress(mail);
  Draw(1);
  EXPECT_EQ(Cell(1, 30), mail.substr(0, 16));
  EXPECT_EQ(Cell(1, 30, 3), mail.substr(16, 16));
  EXPECT_EQ(Cell(1, 30, 6), mail.substr(32, 16));
  EXPECT_EQ(Cell(1, 30, 9), "");
}

}  // namespace
}  // namespace paylark::print

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "print/layouts.h"
#include "print/year_to_date.h"
#include "support/payroll_fixture.h"
#include "support/recording_canvas.h"
#include "support/temp_dir.h"

namespace paylark::print {
namespace {

namespace fs = std::filesystem;
using testing::RecordedShape;
using testing::RecordingCanvas;
using testing::TempDir;
using testing::TestCompany;
using testing::TestEmployee;

constexpr char kKey[] = "260401_090000";
constexpr double kAdvance10 = 10 / 2.8 / 2;  // one byte in size 10, mm

void SetYearFigures(PeriodBlock& block, int slot, Yen taxable, Yen social, Yen tax) {
  block.Payment(slot).Set(Sikyu::TaxableTotal, taxable);
  block.Deduction(slot).Set(Koujo::SocialTotal, social);
  block.Deduction(slot).Set(Koujo::IncomeTax, tax);
}

// Period 4 of 令和8 in memory with an empty yearly file beside it; slot 1 is a monthly-paid
// employee with a few figures, drawn at 10 dots per millimetre without margins.
class PayslipTest : public ::testing::Test {
 protected:
  PayslipTest() {
    open->currentDataFile = dir / "令和8年給与･賞与.dat";
    CreateYearFile(open->currentDataFile, *open);
    open->eraYear = {"令和", 8};
    open->periodIndex = 4;
    PeriodBlock& p = open->period;
    p.company = TestCompany();
    EmployeeRecord e = TestEmployee("長谷川　五郎左衛門丸", kKey, PayForm::Monthly, 310000);  // 20 bytes
    e.SetDepartment("営業部");
    e.SetCategoryIndex(2);
    e.SetDependants(2);
    p.Employee(1) = e;
    p.Attendance(1).Set(Kintai::WorkDays, 20);
    p.Attendance(1).Set(Kintai::OvertimeHours, 1.75);
    p.Attendance(1).Set(Kintai::HolidayOvertime, 2.5);
    p.Attendance(1).Set(Kintai::HolidayWorkDays, 1);
    PaymentRecord& pay = p.Payment(1);
    pay.Set(Sikyu::BasePay, 310000);
    pay.Set(Sikyu::PositionAllowance, 20000);
    pay.Set(Sikyu::FamilyAllowance, 15000);
    pay.Set(Sikyu::FixedAllowance1, 5000);
    pay.Set(Sikyu::Total, 350000);
    pay.Set(Sikyu::Other1, 1000);
    pay.Set(Sikyu::Other2, 500);
    p.Deduction(1).Set(Koujo::IncomeTax, 7000);
    p.Deduction(1).Set(Koujo::ChildSupportLevy, 345);
    p.Deduction(1).Set(Koujo::Total, 50000);

    source.open = open.get();
    source.options = &options;
    source.salaryItems = &salary;
    source.bonusItems = &bonus;
    source.memo = {"今月もお疲れさまでした", "賞与は7月10日です"};
    source.payDate = {" 8", " 4", "25"};
    options.printYearToDate = false;

    page.dotsPerMmX = page.dotsPerMmY = 10;
    page.thinPen = 1;
    page.thickPen = 3;
    page.canvas = &canvas;
    page.dateEraYear = "令和 8";
    page.dateMonth = " 4";
    page.dateDay = "25";
  }

  void Draw(int slot = 1) {
    canvas = RecordingCanvas();
    DrawPayslip(page, source, slot);
  }
  // What is drawn on the row at y from x on, over `width` mm (blanks are not drawn).
  std::string At(double x, double y, double width = 30) const {
    return canvas.TextBetween(page.Y(y), page.X(x), page.X(x + width));
  }
  // The first character drawn exactly at (x, y).
  const testing::RecordedText* CharacterAt(double x, double y) const {
    for (const auto& t : canvas.texts)
      if (t.x == page.X(x) && t.y == page.Y(y)) return &t;
    return nullptr;
  }
  // An amount in the column at x: its text and whether its last digit ends the 10-byte field.
  void ExpectAmount(double x, double y, const std::string& text) const {
    EXPECT_EQ(At(x, y, 18), text) << x << ", " << y;
    const int lastX = page.X(x + 9 * kAdvance10);
    EXPECT_TRUE(std::any_of(canvas.texts.begin(), canvas.texts.end(),
                            [&](const auto& t) { return t.x == lastX && t.y == page.Y(y); }))
        << "not right-aligned at " << x << ", " << y;
  }
  static double Row(int r) { return 54 + 4.27 * r; }

  TempDir dir;
  std::unique_ptr<OpenPeriod> open = std::make_unique<OpenPeriod>();
  Options options;
  ItemSettings salary = DefaultItemSettings(ItemKind::Salary);
  ItemSettings bonus = DefaultItemSettings(ItemKind::Bonus);
  ReportSource source;
  PageModel page;
  RecordingCanvas canvas;
};

int CountShapes(const RecordingCanvas& canvas, RecordedShape::Kind kind) {
  return static_cast<int>(std::count_if(canvas.shapes.begin(), canvas.shapes.end(),
                                        [&](const RecordedShape& s) { return s.kind == kind; }));
}

TEST_F(PayslipTest, FrameAndHeaderAtTheirPositions) {
  Draw();
  ASSERT_FALSE(canvas.shapes.empty());
  const RecordedShape& nameBox = canvas.shapes.front();
  EXPECT_EQ(nameBox.kind, RecordedShape::Frame);
  EXPECT_EQ((std::vector<int>{nameBox.x1, nameBox.y1, nameBox.x2, nameBox.y2, nameBox.pen}),
            (std::vector<int>{175, 100, 1080, 400, 1}));
  // The attendance block: thick outer frame, thin inner line.
  auto find = [&](RecordedShape::Kind kind, int x1, int y1, int x2, int y2) -> const RecordedShape* {
    for (const auto& s : canvas.shapes)
      if (s.kind == kind && s.x1 == x1 && s.y1 == y1 && s.x2 == x2 && s.y2 == y2) return &s;
    return nullptr;
  };
  const RecordedShape* outer = find(RecordedShape::Frame, 175, 465, 550, 1235);
  ASSERT_NE(outer, nullptr);
  EXPECT_EQ(outer->pen, 3);
  const RecordedShape* inner = find(RecordedShape::Line, 405, 520, 405, 1235);
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->pen, 1);
  EXPECT_NE(find(RecordedShape::Fill, 1540, 1238, 1770, 1380), nullptr);  // 累計 shading
  EXPECT_EQ(CountShapes(canvas, RecordedShape::Frame), 11);
  EXPECT_EQ(CountShapes(canvas, RecordedShape::Fill), 16);
  EXPECT_EQ(CountShapes(canvas, RecordedShape::Line), 22);

  const auto* form = CharacterAt(86, 13);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->character, "明");
  EXPECT_EQ(form->font.face, kGothic);
  EXPECT_EQ(form->font.height, 57);  // size 16
  EXPECT_EQ(At(126, 37, 8), "支給日");

  const auto* title = CharacterAt(35, 14);
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->font.face, kMincho);
  EXPECT_EQ(title->font.height, 43);  // size 12
  EXPECT_EQ(At(35, 14, 40), "令和8年4月分給与");

  EXPECT_EQ(At(25, 20.5, 40), "テスト商事株式会社");
  EXPECT_EQ(CharacterAt(25, 20.5)->font.height, 36);  // size 10
  // A name of 20 bytes and "  様" end well inside the name box.
  EXPECT_EQ(At(40, 26, 60), "長谷川　五郎左衛門丸様");
  const auto* sama = CharacterAt(40 + 22 * kAdvance10, 26);
  ASSERT_NE(sama, nullptr);
  EXPECT_EQ(sama->character, "様");
  EXPECT_LT(page.X(40 + 24 * kAdvance10), page.X(108));
  EXPECT_EQ(At(40, 30.5, 60), "営業部・一般社員");

  EXPECT_EQ(At(115, 15, 60), "今月もお疲れさまでした");
  EXPECT_EQ(At(115, 18.8, 60), "賞与は7月10日です");
  EXPECT_EQ(At(138, 36.7, 15), "令和8");
  EXPECT_EQ(At(156, 36.7, 5), "4");
  EXPECT_EQ(At(167, 36.7, 5), "25");
}

TEST_F(PayslipTest, DepartmentLineIsTheCategoryAloneWithoutADepartment) {
  EmployeeRecord& e = open->period.Employee(1);
  e.SetDepartment("");
  e.SetCategoryIndex(-1);
  e.SetCategoryText("嘱託");
  Draw();
  EXPECT_EQ(At(40, 30.5, 60), "嘱託");
}

TEST_F(PayslipTest, LowerPayslipIsMovedDownByItsOrigin) {
  page.originY = 148.0f;
  Draw();
  const auto* title = CharacterAt(35, 14);
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->y, 1620);
  EXPECT_EQ(title->character, "令");
}

TEST_F(PayslipTest, RowsKeepTheirPlacesNamesResolvedValuesRightAligned) {
  std::vector<ItemRow>& payments = salary.Block(ItemBlock::Sikyu);
  payments[1].flags[0] = false;  // 役職手当 off for 月給
  payments[3].flags[0] = true;   // F固定手当１ printed for 月給
  options.itemNames[static_cast<int>(UserItem::FixedAllowance1)] = "資格手当";
  Draw();

  EXPECT_EQ(At(58, Row(0)), "基本給");
  ExpectAmount(84.5, Row(0), "310,000");
  EXPECT_EQ(At(58, Row(1), 45), "");  // blank, and no value either
  EXPECT_EQ(At(58, Row(2)), "家族手当");
  ExpectAmount(84.5, Row(2), "15,000");
  EXPECT_EQ(At(58, Row(3)), "資格手当");
  ExpectAmount(84.5, Row(3), "5,000");
  ExpectAmount(84.5, Row(6), "0");  // 普通残業手当: 0 is printed like any value
  EXPECT_EQ(At(58, Row(14), 45), "");  // 変動手当１ is not printed for 月給
  ExpectAmount(84.5, 134, "350,000");

  // Attendance: days as "%6.2f", hours (名前に 時間 or 残業) in the time style; 休日出勤日数 is off.
  EXPECT_EQ(At(18.5, Row(1), 20), "出勤日数");
  EXPECT_EQ(At(43.5, Row(1), 11), "20.00");
  EXPECT_EQ(At(43.5, Row(8), 11), "1:45");
  EXPECT_EQ(At(43.5, Row(10), 11), "2:30");
  EXPECT_EQ(At(18.5, Row(4), 36), "");

  // Deductions: 子ども・子育て支援金 on row 2 after 介護保険料, condensed so that it ends before its
  // amount; 所得税 keeps row 8; the empty row 13 stays blank.
  EXPECT_EQ(At(106.5, Row(2)), "子ども・子育て支援金");
  ExpectAmount(133, Row(2), "345");
  const testing::RecordedText* levy = CharacterAt(106.5, Row(2));
  ASSERT_NE(levy, nullptr);
  EXPECT_GT(levy->font.width, 0);  // condensed
  EXPECT_EQ(At(106.5, Row(13), 45), "");
  EXPECT_EQ(At(106.5, Row(8)), "所得税");
  ExpectAmount(133, Row(8), "7,000");
  ExpectAmount(133, 134, "50,000");

  EXPECT_EQ(At(47, 129.2, 5), "甲欄");
  EXPECT_EQ(At(47, 134, 5), "2人");
}

TEST_F(PayslipTest, AUserNameEqualToAStandardNameShowsTheUserItem) {
  // The later entry of the look-up order wins: 固定手当２ comes after 家族手当.
  options.itemNames[static_cast<int>(UserItem::FixedAllowance2)] = "家族手当";
  open->period.Payment(1).Set(Sikyu::FixedAllowance2, 8000);
  Draw();
  EXPECT_EQ(At(58, Row(2)), "家族手当");
  ExpectAmount(84.5, Row(2), "8,000");
}

TEST_F(PayslipTest, PaymentMethodByFormTypeAndCash) {
  // その他１ is printed for 月給, その他２ is not: neither its row nor its amount counts.
  std::vector<ItemRow>& others = salary.Block(ItemBlock::Sonota);
  others[0].flags[0] = true;
  options.itemNames[static_cast<int>(UserItem::Other1)] = "立替金";
  struct Case {
    int formType;
    bool cash;
    bool frame;
    const char* label;  // at (155, 90), "" for none
    bool twice;         // net pay at 90 and 103, else once at 109.5
  } cases[] = {
      {1, false, true, "振込支給", true},
      {1, true, true, "現金支給", true},
      {0, true, true, "現金支給", true},
      {2, false, false, "振込支給", true},
      {2, true, false, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "FormType " << c.formType << " cash " << c.cash);
    options.formType = c.formType;
    open->period.Employee(1).SetPaidInCash(c.cash);
    Draw();
    EXPECT_EQ(canvas.shapes.empty(), !c.frame);
    EXPECT_EQ(At(166, 85.5, 20), c.frame ? (c.cash ? "現金支給額" : "振込支給額") : "");
    EXPECT_EQ(At(155, Row(0)), "立替金");
    ExpectAmount(181.5, Row(0), "1,000");
    EXPECT_EQ(At(155, Row(1), 45), "");
    ExpectAmount(181.5, 69.5, "1,000");
    ExpectAmount(181.5, 79, "301,000");  // 350,000 − 50,000 + 1,000
    EXPECT_EQ(At(155, 90, 20), c.label);
    if (c.twice) {
      ExpectAmount(181.5, 90, "301,000");
      ExpectAmount(181.5, 103, "301,000");
      EXPECT_EQ(At(181.5, 109.5, 18), "");
    } else {
      EXPECT_EQ(At(181.5, 90, 18), "");
      EXPECT_EQ(At(181.5, 103, 18), "");
      ExpectAmount(181.5, 109.5, "301,000");
    }
  }
}

TEST_F(PayslipTest, BonusPayslipHasNoAttendanceAndItsOwnTitle) {
  PaymentRecord& pay = open->period.Payment(1);
  pay.Set(Sikyu::Bonus, 500000);
  options.thirdBonusName = "決算賞与";
  const struct {
    int period;
    const char* title;
  } cases[] = {{13, "令和8年夏期賞与"}, {14, "令和8年冬期賞与"}, {15, "令和8年決算賞与"}, {12, "令和8年12月分給与"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.period);
    open->periodIndex = c.period;
    Draw();
    EXPECT_EQ(At(35, 14, 60), c.title);
    if (c.period == 12) continue;
    for (int r = 0; r < 16; ++r) EXPECT_EQ(At(17.5, Row(r), 37.5), "") << r;
    EXPECT_EQ(At(58, Row(0)), "賞与");
    ExpectAmount(84.5, Row(0), "500,000");
  }
}

// The earlier periods that count, by the header's bonus dates, the printed day and the pay day.
TEST(YearToDatePeriodsTest, ChoosesMonthsAndBonusesPaidByThePrintedDay) {
  struct Case {
    int period;
    int bonusMonth[3];
    int bonusDay[3];
    int printedDay;
    int payDay;
    std::vector<int> expected;
  } cases[] = {
      // Month 1: nothing earlier; a bonus of month 1 counts from its own pay day on.
      {1, {7, 12, 9}, {10, 10, 10}, 25, 25, {}},
      {1, {1, 12, 9}, {10, 10, 10}, 9, 25, {}},
      {1, {1, 12, 9}, {10, 10, 10}, 10, 25, {13}},
      // Month 7: a bonus paid in the month before, in the month after, and in the month itself.
      {7, {6, 12, 9}, {30, 10, 10}, 25, 25, {1, 2, 3, 4, 5, 6, 13}},
      {7, {8, 12, 9}, {10, 10, 10}, 25, 25, {1, 2, 3, 4, 5, 6}},
      {7, {7, 12, 9}, {26, 10, 10}, 25, 25, {1, 2, 3, 4, 5, 6}},
      // A bonus paid before the salary day leaves its month out; on or after it, the month counts.
      {13, {7, 12, 6}, {10, 10, 10}, 10, 25, {1, 2, 3, 4, 5, 6, 15}},
      {13, {7, 12, 6}, {25, 10, 10}, 25, 25, {1, 2, 3, 4, 5, 6, 7, 15}},
      {14, {7, 12, 9}, {10, 20, 10}, 20, 25, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15}},
      // Pay day 31 is the month's last day: 30 June is not before the June salary.
      {13, {6, 12, 9}, {30, 10, 10}, 30, 31, {1, 2, 3, 4, 5, 6}},
      {13, {7, 12, 9}, {30, 10, 10}, 30, 31, {1, 2, 3, 4, 5, 6}},
      // A damaged pay month never reads bonus blocks as months.
      {15, {7, 12, 99}, {10, 10, 10}, 10, 25, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}},
  };
  for (const Case& c : cases) {
    FileHeader header;
    for (int k = 0; k < 3; ++k) {
      header.SetBonusMonth(13 + k, c.bonusMonth[k]);
      header.SetBonusDay(13 + k, c.bonusDay[k]);
    }
    EXPECT_EQ(YearToDatePeriods(c.period, header, c.printedDay, c.payDay, EraYear{"令和", 8}), c.expected)
        << "period " << c.period << " bonus " << c.bonusMonth[0] << "/" << c.bonusDay[0] << " day " << c.printedDay;
  }
}

// A yearly file with months 1 and 2 and the summer bonus of 10 March for this employee (in
// different slots, beside an employee with another key); the open period is in memory.
class PayslipYearToDateTest : public PayslipTest {
 protected:
  PayslipYearToDateTest() {
    options.printYearToDate = true;
    auto writer = std::make_unique<OpenPeriod>();
    writer->header.SetBonusMonth(13, 3);
    writer->header.SetBonusDay(13, 10);
    struct Saved {
      int period, slot;
      Yen taxable, social, tax;
    } saved[] = {{1, 2, 100000, 10000, 1000}, {2, 1, 200000, 20000, 2000}, {13, 1, 300000, 30000, 3000},
                 {3, 1, 7000000, 700000, 70000}};
    for (const Saved& s : saved) {
      writer->periodIndex = s.period;
      writer->period.Clear();
      writer->period.company = TestCompany();
      writer->period.Employee(s.slot) = TestEmployee("本人", kKey, PayForm::Monthly, 0);
      SetYearFigures(writer->period, s.slot, s.taxable, s.social, s.tax);
      const int other = s.slot == 1 ? 2 : 1;
      writer->period.Employee(other) = TestEmployee("別人", "250101_000000", PayForm::Monthly, 0);
      SetYearFigures(writer->period, other, 9000000, 900000, 90000);
      SavePeriod(open->currentDataFile, *writer);
    }
    open->header = writer->header;
    SetYearFigures(open->period, 1, 50000, 5000, 500);
  }
};

TEST_F(PayslipYearToDateTest, AddsTheChosenPeriodsOfTheFileToTheOpenPeriod) {
  struct Case {
    int period;
    const char* day;
    const char* taxable;
  } cases[] = {
      {1, "25", "50,000"},     // only the month itself
      {3, "25", "650,000"},    // months 1, 2 and the bonus of 10 March
      {3, " 9", "350,000"},    // printed before the bonus day
      {4, "25", "7,650,000"},  // month 3 from the file as well
      {13, "10", "350,000"},   // bonus before the salary day of March: months 1 and 2
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "period " << c.period << " day " << c.day);
    open->periodIndex = c.period;
    source.payDate.day = c.day;
    Draw();
    ExpectAmount(181.5, 124.5, c.taxable);
  }
  open->periodIndex = 3;
  source.payDate.day = "25";
  Draw();
  ExpectAmount(181.5, 129.2, "65,000");
  ExpectAmount(181.5, 134, "6,500");
}

TEST_F(PayslipYearToDateTest, AReadErrorThrowsBeforeAnythingIsDrawn) {
  fs::resize_file(open->currentDataFile, 1000);
  open->periodIndex = 3;
  EXPECT_THROW(Draw(), YearFileError);
  EXPECT_TRUE(canvas.texts.empty());
  EXPECT_TRUE(canvas.shapes.empty());

  options.printYearToDate = false;  // the file is not read at all
  Draw();
  EXPECT_EQ(At(181.5, 124.5, 18), "");
  EXPECT_EQ(At(58, Row(0)), "基本給");
}

TEST_F(PayslipTest, YearEndSettlementHasItsOwnLineAndARefundSaysSo) {
  DeductionRecord& d = open->period.Deduction(1);
  d.Set(Koujo::YearEndAdjustment, 12300);  // collected
  Draw();
  EXPECT_EQ(At(106.5, Row(17), 20), "年末調整");
  ExpectAmount(133, Row(17), "12,300");

  d.Set(Koujo::YearEndAdjustment, -55700);  // refunded: "還付" and the amount, in the same field
  Draw();
  EXPECT_EQ(At(106.5, Row(17), 20), "年末調整");
  ExpectAmount(133, Row(17), "還付55,700");
}

}  // namespace
}  // namespace paylark::print

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <filesystem>
#include <functional>

#include "print/layouts.h"
#include "store/year_file.h"
#include "support/payroll_fixture.h"
#include "support/recording_canvas.h"
#include "support/temp_dir.h"

namespace paylark::print {
namespace {

using testing::RecordedShape;
using testing::RecordingCanvas;
using testing::TempDir;
using testing::TestCompany;
using testing::TestEmployee;

const std::string kKey = "250401_090000";  // the employee of the ledger
const std::string kOtherKey = "250401_090001";

// A yearly file written period by period, and the period in memory that names the employee.
class LedgerTest : public ::testing::Test {
 protected:
  LedgerTest() {
    state.currentDataFile = dir / "令和8年給与･賞与.dat";
    state.eraYear = {"令和", 8};
    CreateYearFile(state.currentDataFile, state);
    options.thirdBonusName = "決算賞与";
    options.itemNames[static_cast<int>(UserItem::FixedAllowance1)] = "住宅手当";
    options.itemNames[static_cast<int>(UserItem::VariableDeduction3)] = "社宅費";
    page.dotsPerMmX = page.dotsPerMmY = 10;
    page.thinPen = 1;
    page.thickPen = 3;
    page.canvas = &canvas;
    source.open = &state;
    source.options = &options;
    source.today = {2026, 3, 5};
  }

  // Writes period `period` with the company and whatever `fill` puts into the block.
  void Save(int period, const std::function<void(PeriodBlock&)>& fill) {
    state.period.Clear();
    state.period.company = TestCompany();
    fill(state.period);
    state.periodIndex = period;
    SavePeriod(state.currentDataFile, state);
  }

  // The open period: the employee in slot 2, with figures that were never saved.
  void OpenInMemory() {
    state.period.Clear();
    state.period.company = TestCompany();
    state.period.Employee(1) = TestEmployee("佐藤　花子", kOtherKey, PayForm::Monthly, 1);
    state.period.Employee(2) = TestEmployee("山田　太郎", kKey, PayForm::Monthly, 1);
    state.period.Payment(2).Set(Sikyu::BasePay, 999999);
    state.periodIndex = 6;
  }

  // Rows of 3.7 mm from y 29, the text 0.5 mm below the top of its row.
  static double RowY(int row) { return 29.5 + 3.7 * row; }
  // The text of a value cell: period column 1..15 (16 = year total), row 1..38; the attendance
  // rows 39..46 start 2.5 mm further right.
  std::string Cell(int column, int row) const {
    double x = column <= 15 ? 36 + 15.5 * (column - 1) : 268.5;
    if (row > 38) x += 2.5;
    return canvas.TextLine(page.X(x), page.Y(RowY(row)), kCondensedAdvance, page.X(x + 15.5));
  }
  int WeightAt(int column, int row) const {
    const double x = column <= 15 ? 36 + 15.5 * (column - 1) : 268.5;
    for (const auto& t : canvas.texts)
      if (t.y == page.Y(RowY(row)) && t.x >= page.X(x) && t.x < page.X(x + 15.5)) return t.font.weight;
    return 0;
  }
  std::string Label(int row) const {
    return canvas.TextLine(page.X(13), page.Y(RowY(row)), kCondensedAdvance, page.X(35));
  }

  // The grid is in size 9, condensed: 9 ÷ 2.8 × 3 ÷ 7 mm per byte, in dots.
  const double kCondensedAdvance = 9 / 2.8 * 3 / 7 * 10;
  TempDir dir;
  OpenPeriod state;
  Options options;
  RecordingCanvas canvas;
  PageModel page;
  ReportSource source;
};

TEST_F(LedgerTest, FindsTheEmployeeByKeyInEveryPeriodOfTheFile) {
  // Month 1: slot 2. Month 2 never saved. Month 3: the employee moved to slot 4 and slot 2 holds
  // somebody else. Month 4: only the other employee in slot 2. Month 5: the key twice, the last
  // slot wins. 夏期賞与: the bonus in position 1.
  Save(1, [](PeriodBlock& b) {
    b.Employee(1) = TestEmployee("佐藤　花子", kOtherKey, PayForm::Monthly, 1);
    b.Payment(1).Set(Sikyu::BasePay, 777);
    b.Employee(2) = TestEmployee("山田　太郎", kKey, PayForm::Monthly, 1);
    b.Payment(2).Set(Sikyu::BasePay, 200000);
    b.Payment(2).Set(Sikyu::Absence, -5000);
    b.Payment(2).Set(Sikyu::VariableAllowance1, 3000);
    b.Payment(2).Set(Sikyu::Total, 250000);
    b.Payment(2).Set(Sikyu::Other1, 1000);
    b.Payment(2).Set(Sikyu::Other2, 2000);
    b.Payment(2).Set(Sikyu::Other3, 3000);
    b.Deduction(2).Set(Koujo::Health, 10000);
    b.Deduction(2).Set(Koujo::Nursing, 1800);
    b.Deduction(2).Set(Koujo::ChildSupportLevy, 345);
    b.Deduction(2).Set(Koujo::VariableDeduction3, 4000);
    b.Deduction(2).Set(Koujo::Total, 50000);
    b.Deduction(2).Set(Koujo::SocialBase, 240000);
  });
  Save(3, [](PeriodBlock& b) {
    b.Employee(2) = TestEmployee("鈴木　一郎", kOtherKey, PayForm::Monthly, 1);
    b.Payment(2).Set(Sikyu::BasePay, 888);
    b.Employee(4) = TestEmployee("山田　太郎", kKey, PayForm::Monthly, 1);
    b.Payment(4).Set(Sikyu::BasePay, 210000);
  });
  Save(4, [](PeriodBlock& b) {
    b.Employee(2) = TestEmployee("鈴木　一郎", kOtherKey, PayForm::Monthly, 1);
    for (int p = 1; p <= 22; ++p) b.Payment(2).SetAt(p, 111);
    for (int p = 1; p <= 20; ++p) b.Deduction(2).SetAt(p, 222);
  });
  Save(5, [](PeriodBlock& b) {
    b.Employee(2) = TestEmployee("山田　太郎", kKey, PayForm::Monthly, 1);
    b.Payment(2).Set(Sikyu::BasePay, 1);
    b.Employee(6) = TestEmployee("山田　太郎", kKey, PayForm::Monthly, 1);
    b.Payment(6).Set(Sikyu::BasePay, 2);
  });
  Save(13, [](PeriodBlock& b) {
    b.Employee(2) = TestEmployee("山田　太郎", kKey, PayForm::Monthly, 1);
    b.Payment(2).Set(Sikyu::Bonus, 500000);
  });
  OpenInMemory();
  DrawLedger(page, source, 2);

  EXPECT_EQ(Cell(1, 1), "  200,000");
  EXPECT_EQ(Cell(1, 13), "   -5,000");  // 欠勤控除 comes before the variable allowances
  EXPECT_EQ(Cell(1, 15), "    3,000");
  EXPECT_EQ(Cell(1, 19), "  250,000");
  EXPECT_EQ(Cell(1, 20), "   10,000");  // 健康保険料, then 介護保険料
  EXPECT_EQ(Cell(1, 21), "    1,800");
  EXPECT_EQ(Cell(1, 22), "      345");  // 子ども・子育て支援金 after 介護保険料
  EXPECT_EQ(Cell(1, 35), "    4,000");
  EXPECT_EQ(Cell(1, 36), "   50,000");
  EXPECT_EQ(Cell(1, 37), "  240,000");
  // 差引支給額 = 250,000 − 50,000 + 1,000 + 2,000 + 3,000: all three other items count.
  EXPECT_EQ(Cell(1, 38), "  206,000");
  EXPECT_EQ(Cell(3, 1), "  210,000");
  EXPECT_EQ(Cell(5, 1), "        2");
  EXPECT_EQ(Cell(13, 1), "  500,000");
  for (int row = 1; row <= 38; ++row) {
    EXPECT_EQ(Cell(2, row), "        0") << "never saved, row " << row;
    EXPECT_EQ(Cell(4, row), "        0") << "slot taken by another key, row " << row;
    EXPECT_EQ(Cell(6, row), "        0") << "unsaved figures in memory, row " << row;
  }
  EXPECT_EQ(Cell(16, 1), "   910,002");
  EXPECT_EQ(Cell(16, 38), "   206,000");
  EXPECT_EQ(WeightAt(16, 1), 700);
  EXPECT_EQ(WeightAt(1, 1), 400);
  EXPECT_EQ(WeightAt(1, 19), 700);
  EXPECT_EQ(WeightAt(1, 37), 700);
}

TEST_F(LedgerTest, TitleHeadingsLabelsAndGrid) {
  OpenInMemory();
  DrawLedger(page, source, 2);

  const double title = 16 / 2.8 / 2 * 10;
  EXPECT_EQ(canvas.TextLine(1000, 200, title, 2000), "社 員 別 給 与 台 帳");
  const double size10 = 10 / 2.8 / 2 * 10;
  EXPECT_EQ(canvas.TextLine(120, 220, size10, 1000), "テスト商事株式会社");
  EXPECT_EQ(canvas.TextLine(1700, 220, size10, 2200), "氏名:山田　太郎");
  EXPECT_EQ(canvas.TextLine(2200, 220, size10, 2900), "令和 8年 3月 5日");

  EXPECT_EQ(canvas.TextLine(360, 295, kCondensedAdvance, 515), "１月給与");
  EXPECT_EQ(canvas.TextLine(page.X(36 + 15.5 * 9), 295, kCondensedAdvance, page.X(36 + 15.5 * 10)), "10月給与");
  EXPECT_EQ(canvas.TextLine(page.X(36 + 15.5 * 13), 295, kCondensedAdvance, page.X(36 + 15.5 * 14)), "冬期賞与");
  EXPECT_EQ(canvas.TextLine(page.X(36 + 15.5 * 14), 295, kCondensedAdvance, page.X(36 + 15.5 * 15)), "決算賞与");
  EXPECT_EQ(canvas.TextLine(2705, 295, kCondensedAdvance, 2850), "合   計");
  EXPECT_EQ(canvas.TextLine(130, 295, kCondensedAdvance, 350), "性別:");  // not known

  EXPECT_EQ(Label(1), "基本給");
  EXPECT_EQ(Label(4), "住宅手当");
  EXPECT_EQ(Label(13), "欠勤控除");
  EXPECT_EQ(Label(18), "課税支給合計");
  EXPECT_EQ(Label(19), "支給項目合計");
  EXPECT_EQ(Label(22), "子育て支援金");  // the 14 bytes of the label column
  EXPECT_EQ(Label(27), "社保控除後計");
  EXPECT_EQ(Label(28), "所得税");  // the blank deduction rows take no row
  EXPECT_EQ(Label(35), "社宅費");
  EXPECT_EQ(Label(38), "差引支給額");
  EXPECT_EQ(Label(39), "出勤日数");
  EXPECT_EQ(Label(46), "欠勤日数");

  std::vector<RecordedShape> fills, frames, lines;
  for (const RecordedShape& s : canvas.shapes)
    (s.kind == RecordedShape::Fill ? fills : s.kind == RecordedShape::Frame ? frames : lines).push_back(s);
  ASSERT_EQ(fills.size(), 24u);  // rows 0, 2, … 46 of 47
  EXPECT_EQ(std::vector<int>({fills[0].x1, fills[0].y1, fills[0].x2, fills[0].y2}), std::vector<int>({100, 290, 2850, 327}));
  EXPECT_EQ(fills[23].y1, 1992);
  ASSERT_EQ(frames.size(), 5u);  // the page's height holds every row: the frame ends at 202.9 mm
  const int expectedFrames[5][4] = {{100, 290, 2850, 2029}, {100, 993, 2850, 1030}, {100, 1622, 2850, 1659},
                                    {100, 1696, 2850, 1733}, {100, 1733, 2850, 2029}};  // the last: attendance
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(std::vector<int>({frames[i].x1, frames[i].y1, frames[i].x2, frames[i].y2}),
              std::vector<int>(std::begin(expectedFrames[i]), std::end(expectedFrames[i])));
    EXPECT_EQ(frames[i].pen, 3);
  }
  ASSERT_EQ(lines.size(), 17u);  // under the heading, then x = 35 + 15.5 j for j = 0 … 15
  EXPECT_EQ(lines[0].y1, 327);
  EXPECT_EQ(lines[1].x1, 350);
  EXPECT_EQ(lines[16].x1, 2675);
  EXPECT_EQ(lines[16].y2, 2029);
  EXPECT_EQ(lines[16].pen, 1);
}

TEST_F(LedgerTest, AttendanceOfEverySalaryMonthAndTheSexOfTheEmployee) {
  auto attendance = [](PeriodBlock& b, int slot, double days, double worked, double overtime) {
    b.Attendance(slot).Set(Kintai::WorkDays, days);
    b.Attendance(slot).Set(Kintai::WorkedHours, worked);
    b.Attendance(slot).Set(Kintai::OvertimeHours, overtime);
  };
  Save(1, [&](PeriodBlock& b) {
    b.Employee(2) = TestEmployee("山田　太郎", kKey, PayForm::Monthly, 1);
    attendance(b, 2, 20, 170.5, 10.5);
    b.Attendance(2).Set(Kintai::NightOvertimeHours, 2);
    b.Attendance(2).Set(Kintai::HolidayNightOvertime, 1.25);
    b.Attendance(2).Set(Kintai::PaidLeaveDays, 1);
    b.Employee(3) = TestEmployee("佐藤　花子", kOtherKey, PayForm::Monthly, 1);
    attendance(b, 3, 5, 5, 5);  // somebody else's
  });
  Save(2, [&](PeriodBlock& b) {
    b.Employee(4) = TestEmployee("山田　太郎", kKey, PayForm::Monthly, 1);
    attendance(b, 4, 19, 152, 0);
    b.Attendance(4).Set(Kintai::AbsenceDays, 1);
  });
  Save(13, [&](PeriodBlock& b) {
    b.Employee(2) = TestEmployee("山田　太郎", kKey, PayForm::Monthly, 1);
    attendance(b, 2, 99, 99, 99);  // a bonus period prints no attendance
  });
  OpenInMemory();
  state.period.Employee(2).SetSex(1);
  DrawLedger(page, source, 2);

  EXPECT_EQ(canvas.TextLine(130, 295, kCondensedAdvance, 350), "性別:男");
  const std::pair<int, std::array<const char*, 4>> rows[] = {
      // row: 1月, 2月, 3月 (no record), year total
      {39, {" 20.00", " 19.00", "  0.00", "  39.00"}},  // 出勤日数
      {40, {"170:30", "152:00", "  0:00", " 322:30"}},  // 実働時間
      {41, {" 10:30", "  0:00", "  0:00", "  10:30"}},  // 普通残業
      {42, {"  2:00", "  0:00", "  0:00", "   2:00"}},  // 深夜残業
      {43, {"  0:00", "  0:00", "  0:00", "   0:00"}},  // 休日普通残業
      {44, {"  1:15", "  0:00", "  0:00", "   1:15"}},  // 休日深夜残業
      {45, {"  1.00", "  0.00", "  0.00", "   1.00"}},  // 有休日数
      {46, {"  0.00", "  1.00", "  0.00", "   1.00"}},  // 欠勤日数
  };
  for (const auto& [row, texts] : rows) {
    EXPECT_EQ(Cell(1, row), texts[0]) << "row " << row;
    EXPECT_EQ(Cell(2, row), texts[1]) << "row " << row;
    EXPECT_EQ(Cell(3, row), texts[2]) << "row " << row;
    EXPECT_EQ(Cell(16, row), texts[3]) << "row " << row;
    EXPECT_EQ(Cell(13, row), "") << "夏期賞与, row " << row;
  }
}

TEST_F(LedgerTest, SumsBeyondWholeYenShowStarsInsteadOfWrapping) {
  for (int period : {1, 2}) {
    Save(period, [](PeriodBlock& b) {
      b.Employee(1) = TestEmployee("山田　太郎", kKey, PayForm::Monthly, 1);
      b.Payment(1).Set(Sikyu::BasePay, 2000000000);
      b.Payment(1).Set(Sikyu::Total, INT_MAX);
      b.Payment(1).Set(Sikyu::Other1, 1);  // the net pay of each month overflows
      b.Deduction(1).Set(Koujo::IncomeTax, 5);
    });
  }
  OpenInMemory();
  state.period.Employee(1) = TestEmployee("山田　太郎", kKey, PayForm::Monthly, 1);
  DrawLedger(page, source, 1);

  EXPECT_EQ(Cell(16, 1), "**********");
  EXPECT_EQ(Cell(1, 38), "*********");
  EXPECT_EQ(Cell(16, 38), "**********");
  EXPECT_EQ(Cell(16, 28), "        10");  // the other rows add up as usual
}

TEST_F(LedgerTest, AnEmptySlotMatchesNothing) {
  Save(1, [](PeriodBlock& b) { b.Payment(30).Set(Sikyu::BasePay, 123); });  // figures left in an unused slot
  OpenInMemory();
  DrawLedger(page, source, 3);
  EXPECT_EQ(Cell(1, 1), "        0");
}

TEST_F(LedgerTest, AReadErrorLeavesThePageBlank) {
  OpenInMemory();
  std::filesystem::resize_file(state.currentDataFile, BlockOffset(9));  // periods 9 … 15 missing
  EXPECT_THROW(DrawLedger(page, source, 2), YearFileError);
  EXPECT_TRUE(canvas.texts.empty());
  EXPECT_TRUE(canvas.shapes.empty());
}

}  // namespace
}  // namespace paylark::print

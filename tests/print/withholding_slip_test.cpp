#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "print/withholding_slip.h"
#include "support/recording_canvas.h"
#include "support/year_end_fixture.h"

namespace paylark::print {
namespace {

using testing::RecordedShape;
using testing::RecordingCanvas;
using testing::YearEndFixture;

constexpr double kAmountAdvance = kSlipAmountSize / 2.8 / 2;  // one byte of an amount, mm

class WithholdingSlipTest : public ::testing::Test {
 protected:
  WithholdingSlipTest() {
    page.dotsPerMmX = page.dotsPerMmY = 10;
    page.canvas = &canvas;
  }
  void Draw(const Document& document, int sheet) {
    canvas = RecordingCanvas();
    document.drawPage(page, sheet);
  }
  const WithholdingSlipLayout& Layout() const { return WithholdingSlipLayoutOf(2025); }
  // The amount, count or mark printed at the foot of a box of the slip at `top`.
  std::string ValueIn(SlipBox box, double top = 0) const {
    const SlipBoxPlace& p = Layout().Place(box);
    return canvas.TextBetween(page.Y(top + SlipValueTop(p)), page.X(p.x1), page.X(p.x2));
  }
  std::string LineIn(SlipBox box, int index, double top = 0) const {
    const SlipBoxPlace& p = Layout().Place(box);
    return canvas.TextBetween(page.Y(top + SlipLineTop(p, index)), page.X(p.x1), page.X(p.x2));
  }
  // The x of the last character of the amount in a box, against where the layout ends amounts.
  void ExpectRightAligned(SlipBox box, double top = 0) const {
    const SlipBoxPlace& p = Layout().Place(box);
    int last = -1;
    for (const auto& t : canvas.texts)
      if (t.y == page.Y(top + SlipValueTop(p)) && t.x >= page.X(p.x1) && t.x < page.X(p.x2)) last = std::max(last, t.x);
    EXPECT_NEAR(last, page.X(SlipAmountRight(p) - kAmountAdvance), 1) << static_cast<int>(box);
  }

  YearEndFixture fixture;
  PageModel page;
  RecordingCanvas canvas;
};

TEST_F(WithholdingSlipTest, AdjustedEmployeeFillsTheBoxesOfTheYear) {
  Draw(WithholdingSlipDocument(fixture.source), 0);
  const struct {
    SlipBox box;
    const char* text;
  } amounts[] = {
      {SlipBox::Paid, "6,000,000"},          {SlipBox::SalaryIncome, "4,360,000"},
      {SlipBox::DeductionsTotal, "3,240,000"}, {SlipBox::Tax, "57,100"},
      {SlipBox::SpouseDeduction, "380,000"}, {SlipBox::SocialInsurance, "900,000"},
      {SlipBox::LifeInsurance, "40,000"},    {SlipBox::Earthquake, "30,000"},
      {SlipBox::LifeNew, "100,000"},         {SlipBox::Basic, "680,000"},
      {SlipBox::SpouseIncome, "0"},
  };
  for (const auto& a : amounts) {
    EXPECT_EQ(ValueIn(a.box), a.text) << static_cast<int>(a.box);
    ExpectRightAligned(a.box);
  }
  // The relatives: spouse 有, 特定 1, 老人 1 of whom 1 同居老親等, 16歳未満 1; no 特親.
  EXPECT_EQ(ValueIn(SlipBox::SpouseMark), "有");
  EXPECT_EQ(ValueIn(SlipBox::SpecificCount), "1人");
  EXPECT_EQ(ValueIn(SlipBox::ElderlyCount), "内11人");
  EXPECT_EQ(ValueIn(SlipBox::Under16Count), "1人");
  EXPECT_EQ(ValueIn(SlipBox::OtherCount), "");
  EXPECT_EQ(ValueIn(SlipBox::SpecificRelativeCount), "");
  EXPECT_EQ(LineIn(SlipBox::Dependants, 0), "山田　一郎(長男)特定");
  EXPECT_EQ(LineIn(SlipBox::Dependants, 1), "山田　松(母)同居老親等");
  EXPECT_EQ(LineIn(SlipBox::Under16s, 0), "山田　次郎(次男)16歳未満");
  EXPECT_EQ(LineIn(SlipBox::Spouse, 0), "山田　花子");

  EXPECT_EQ(LineIn(SlipBox::Address, 0), "〒163-8001");
  EXPECT_EQ(LineIn(SlipBox::Address, 1), "東京都新宿区西新宿二丁目8番1号");
  EXPECT_EQ(LineIn(SlipBox::Name, 0), "ヤマダ　タロウ");
  EXPECT_EQ(LineIn(SlipBox::Name, 1), "山田　太郎");
  EXPECT_EQ(LineIn(SlipBox::Birth, 0), "昭和55年5月1日");
  EXPECT_EQ(LineIn(SlipBox::PayerName, 0), "株式会社テスト商会");
  // The 受給者交付用 carries neither individual number nor the 法人番号.
  EXPECT_EQ(LineIn(SlipBox::IndividualNumber, 0), "");
  EXPECT_EQ(LineIn(SlipBox::PayerNumber, 0), "");
}

TEST_F(WithholdingSlipTest, NotAdjustedEmployeeLeavesTheAdjustmentBoxesBlank) {
  Draw(WithholdingSlipDocument(fixture.source), 0);
  const double lower = Layout().height;  // 佐藤, left in June, is the lower slip of the first sheet
  EXPECT_EQ(ValueIn(SlipBox::Paid, lower), "1,000,000");
  EXPECT_EQ(ValueIn(SlipBox::Tax, lower), "20,000");  // the tax withheld
  EXPECT_EQ(ValueIn(SlipBox::SalaryIncome, lower), "");
  EXPECT_EQ(ValueIn(SlipBox::DeductionsTotal, lower), "");
  EXPECT_EQ(ValueIn(SlipBox::Basic, lower), "");
  EXPECT_EQ(ValueIn(SlipBox::SocialInsurance, lower), "150,000");
  EXPECT_EQ(ValueIn(SlipBox::Retired, lower), "○");
  EXPECT_EQ(LineIn(SlipBox::JobDate, 0, lower), "令和7年6月30日");
  EXPECT_EQ(LineIn(SlipBox::Remarks, 0, lower), "年末調整なし(年の中途で退職)");

  // 鈴木 on the 乙欄, alone on the second sheet: 乙欄 marked, no relatives.
  Draw(WithholdingSlipDocument(fixture.source), 1);
  EXPECT_EQ(ValueIn(SlipBox::Otsu), "○");
  EXPECT_EQ(ValueIn(SlipBox::Paid), "600,000");
  EXPECT_EQ(ValueIn(SlipBox::SpouseMark), "");
  EXPECT_EQ(ValueIn(SlipBox::Paid, Layout().height), "");
}

TEST_F(WithholdingSlipTest, TwoSlipsToASheetWithACuttingLine) {
  const Document document = WithholdingSlipDocument(fixture.source);
  EXPECT_EQ(document.pageCount, 2);
  EXPECT_FALSE(document.landscape);
  EXPECT_EQ(WithholdingSlipDocument(fixture.source, {0}).pageCount, 1);
  Draw(document, 0);
  // Both titles, the second one half a sheet lower; the dashes of the cutting line between them.
  const std::string title = "令和7年分給与所得の源泉徴収票";
  EXPECT_EQ(canvas.TextBetween(page.Y(6), 0, page.X(160)), title);
  EXPECT_EQ(canvas.TextBetween(page.Y(Layout().height + 6), 0, page.X(160)), title);
  const int dashes = static_cast<int>(std::count_if(canvas.shapes.begin(), canvas.shapes.end(), [&](const RecordedShape& s) {
    return s.kind == RecordedShape::Line && s.y1 == page.Y(Layout().height) && s.y2 == s.y1;
  }));
  EXPECT_EQ(dashes, 50);
  // Every box of the layout is framed on both slips.
  for (const SlipBoxPlace& p : Layout().boxes)
    for (double top : {0.0, Layout().height})
      EXPECT_TRUE(std::any_of(canvas.shapes.begin(), canvas.shapes.end(), [&](const RecordedShape& s) {
        return s.kind == RecordedShape::Frame && s.x1 == page.X(p.x1) && s.y1 == page.Y(top + p.y1) &&
               s.x2 == page.X(p.x2) && s.y2 == page.Y(top + p.y2);
      })) << p.heading;
}

TEST_F(WithholdingSlipTest, RemarksKeepEveryDependantBeyondTheFourBoxes) {
  YearEndEmployee& e = fixture.source.employees[0];
  Declaration d = *e.declaration;
  d.previousPaid = 1000000;
  d.previousWithheld = 30000;
  for (const char* name : {"山田　四郎", "山田　五郎", "山田　六郎", "山田　七郎", "山田　八郎", "山田　九郎", "山田　十郎",
                           "山田　十一郎", "山田　十二郎", "山田　十三郎", "山田　十四郎", "山田　十五郎", "山田　十六郎", "山田　十七郎", "山田　十八郎",
                           "山田　十九郎", "山田　二十郎", "山田　二十一郎", "山田　二十二郎"})
    d.dependants.push_back({name, "子", {2000, 1, 1}, 0, false, DisabilityKind::None, false});
  e.declaration = d;
  e.adjustment = AdjustEmployee(fixture.rules, e.adjustment.pay, &d);
  canvas = RecordingCanvas();
  DrawWithholdingSlip(page, WithholdingSlipOf(fixture.source, 0, SlipForm::Recipient), 0);
  const SlipBoxPlace& box = Layout().Place(SlipBox::Remarks);
  std::map<int, std::string> rows;
  for (const auto& t : canvas.texts)
    if (t.y > page.Y(box.y1 + 1.5) && t.y < page.Y(box.y2) && t.x >= page.X(box.x1) && t.x < page.X(box.x2))
      rows[t.y] = canvas.TextBetween(t.y, page.X(box.x1), page.X(box.x2));
  std::string remarks;
  for (const auto& [y, text] : rows) remarks += text;
  EXPECT_NE(remarks.find("前職分支払金額1,000,000円"), std::string::npos) << remarks;
  // Four in the boxes (the 16歳未満 apart), the rest named in the 摘要.
  for (const char* name : {"山田　六郎", "山田　十五郎", "山田　二十二郎"}) EXPECT_NE(remarks.find(name), std::string::npos) << name;
}

TEST_F(WithholdingSlipTest, LayoutsOfTheYearsAndTheReportForm) {
  EXPECT_NO_THROW(WithholdingSlipLayoutOf(2026).Place(SlipBox::SpecificRelativeDeduction));
  EXPECT_THROW(WithholdingSlipLayoutOf(2024), std::out_of_range);
  fixture.source.year = 2024;
  EXPECT_THROW(WithholdingSlipDocument(fixture.source), std::out_of_range);
  fixture.source.year = 2025;
  // Boxes stay inside the slip and do not overlap; every heading fits its box.
  const auto& boxes = Layout().boxes;
  page.SetFont(kMincho, kSlipHeadingSize);
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    std::string heading = boxes[i].heading;
    for (std::size_t from = 0, end = 0; from <= heading.size(); from = end + 1) {
      end = std::min(heading.find('\n', from), heading.size());
      EXPECT_LE(page.TextEnd(heading.substr(from, end - from), boxes[i].x1 + 0.5), boxes[i].x2) << heading;
    }
    EXPECT_LE(boxes[i].y2, Layout().height - 1) << boxes[i].heading;
    for (std::size_t j = i + 1; j < boxes.size(); ++j) {
      const bool apart = boxes[i].x2 <= boxes[j].x1 || boxes[j].x2 <= boxes[i].x1 || boxes[i].y2 <= boxes[j].y1 ||
                         boxes[j].y2 <= boxes[i].y1;
      EXPECT_TRUE(apart) << boxes[i].heading << " / " << boxes[j].heading;
    }
  }
  const WithholdingSlip report = WithholdingSlipOf(fixture.source, 0, SlipForm::Report);
  EXPECT_EQ(report.payerNumber, "1234567890123");
  canvas = RecordingCanvas();
  DrawWithholdingSlip(page, report, 0);
  EXPECT_NE(canvas.TextBetween(page.Y(6), 0, page.X(210)).find("給与支払報告書（個人別明細書）"), std::string::npos);
  EXPECT_EQ(LineIn(SlipBox::PayerNumber, 0), "1234567890123");
}

}  // namespace
}  // namespace paylark::print

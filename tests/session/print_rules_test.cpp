#include "session/print_rules.h"

#include <gtest/gtest.h>

#include "store/period.h"

namespace paylark::print {
namespace {

// An A4 sheet at 600 dpi with a 100-dot unprintable margin on every side.
PrinterPage A4At600(bool landscape) {
  PrinterPage p;
  p.width = landscape ? 7016 : 4961;
  p.height = landscape ? 4961 : 7016;
  p.offsetX = p.offsetY = 100;
  p.printableWidth = p.width - 200;
  p.printableHeight = p.height - 200;
  p.dpiX = p.dpiY = 600;
  return p;
}

TEST(PrintRulesTest, PrinterSetUpTakesWholeMillimetreMarginsAndPensOfTheInch) {
  PageModel page;
  SetUpForPrinter(page, DeviceMetrics{600, 600, 100, 130});
  EXPECT_FLOAT_EQ(page.dotsPerMmX, 600 / 25.4f);
  EXPECT_EQ(page.physOffsetX, 4);  // 4.23 mm
  EXPECT_EQ(page.physOffsetY, 6);  // 5.50 mm
  EXPECT_EQ(page.thinPen, 3);      // 2/360 inch
  EXPECT_EQ(page.thickPen, 8);     // 5/360 inch

  Options options;
  options.printShiftH = 1.5;
  SetAdjustment(page, options);
  // The adjustment moves every element on paper as on the screen.
  EXPECT_EQ(page.X(10), Rnd((10 + 1.5 - 4) * static_cast<double>(page.dotsPerMmX)));
}

TEST(PrintRulesTest, PreviewUsesTheScreenResolutionScaledByZoomAndOnePixelPens) {
  // 96 × 57 ÷ 100 = 54.72 rounds to 55 dots per inch of paper.
  EXPECT_FLOAT_EQ(PreviewDotsPerMm(96, 57), static_cast<float>(55 / 25.4));
  PageModel page;
  SetUpForPreview(page, 96, 171, A4At600(true));
  EXPECT_FLOAT_EQ(page.dotsPerMmY, static_cast<float>(164 / 25.4));
  EXPECT_EQ(page.physOffsetX, 4);
  EXPECT_EQ(page.thinPen, 1);
  EXPECT_EQ(page.thickPen, 1);
}

TEST(PrintRulesTest, PreviewFillsWidthOrHeightByScreenRatioAndOrientation) {
  struct Case {
    const char* name;
    bool landscape;
    PreviewScreen screen;
    bool zoomed;
    PreviewGeometry expected;
  };
  const Case cases[] = {
      {"landscape on 16:9 fills the width", true, {1920, 1080, 1920, 1053, 96}, false,
       {0, 1920, 1358, 171, 27, 27, 1865, 1303}},
      {"zoomed doubles it", true, {1920, 1080, 1920, 1053, 96}, true, {0, 3840, 2715, 342, 55, 55, 3730, 2605}},
      {"landscape on 4:3 fills the height", true, {1024, 768, 1024, 741, 96}, false,
       {0, 1048, 741, 93, 15, 15, 1014, 708}},
      {"landscape on 16:10 fills the height, centred", true, {1440, 900, 1440, 873, 96}, false,
       {102, 1235, 873, 110, 18, 18, 1200, 838}},
      {"portrait fills the height on any screen", false, {1920, 1080, 1920, 1053, 96}, false,
       {587, 745, 1053, 94, 15, 15, 716, 1025}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LayOutPreview(A4At600(c.landscape), c.screen, c.zoomed), c.expected) << c.name;
  }
}

TEST(PrintRulesTest, MemoKeepsAtMostFiveLinesAndNoSixthCanBeStarted) {
  struct Case {
    const char* name;
    const char* typed;
    const char* kept;
  };
  const Case cases[] = {
      {"four lines and a break stay", "1\n2\n3\n4\n", "1\n2\n3\n4\n"},
      {"Enter after the fifth line is taken back", "1\n2\n3\n4\n5\n", "1\n2\n3\n4\n5"},
      {"a sixth line is deleted", "1\n2\n3\n4\n5\n6", "1\n2\n3\n4\n5"},
      {"a pasted sixth and seventh line go", "1\n2\n3\n4\n5\n6\n7\n", "1\n2\n3\n4\n5"},
      {"a line inserted in the middle pushes the sixth out", "1\nX\n2\n3\n4\n5", "1\nX\n2\n3\n4"},
  };
  for (const Case& c : cases) EXPECT_EQ(ApplyMemoRule(c.typed), c.kept) << c.name;

  EXPECT_EQ(MemoLines("一行目\n\n三行目\n"), (std::vector<std::string>{"一行目", "", "三行目"}));
  EXPECT_EQ(MemoLineCount(""), 0);
  EXPECT_EQ(MemoLength("あい\nう"), 5);  // a line break counts two
}

TEST(PrintRulesTest, DefaultPayDateOfMonthsAndBonuses) {
  struct Case {
    const char* name;
    EraYear year;
    int period;
    int payDay;
    PayDateTexts expected;
  };
  const Case cases[] = {
      {"pay day 31 in February of a leap year", {"平成", 16}, 2, 31, {"16", " 2", "29"}},
      {"pay day 31 in February of a common year", {"平成", 17}, 2, 31, {"17", " 2", "28"}},
      {"pay day 31 in November", {"令和", 6}, 11, 31, {" 6", "11", "30"}},
      {"pay day 25", {"令和", 6}, 12, 25, {" 6", "12", "25"}},
      {"winter bonus from the period selection", {"令和", 6}, 14, 25, {" 6", "12", " 5"}},
  };
  for (const Case& c : cases) {
    OpenPeriod open;
    open.eraYear = c.year;
    open.periodIndex = c.period;
    open.period.company.SetPayDay(c.payDay);
    open.header.SetBonusMonth(14, 12);
    open.header.SetBonusDay(14, 5);
    EXPECT_EQ(DefaultPayDate(open), c.expected) << c.name;
  }
}

TEST(PrintRulesTest, PaperTextsAndCodes) {
  EXPECT_EQ(PaperText(rkPayslip, 0), " A4用紙(1名/枚)  [210mm×297mm]");
  EXPECT_EQ(PaperText(rkPayslip, 1), " A4用紙(2名/枚)  [210mm×297mm]");
  EXPECT_EQ(PaperText(rkPayslip, 2), " HISAGO GB1150   [210mm×297mm]");
  EXPECT_EQ(PaperText(rkLedger, 1), " Ａ４用紙・横  [297mm×210mm]");
  EXPECT_EQ(CodeOfPaper(297, 210), kPaperA4);
  EXPECT_EQ(CodeOfPaper(148.2, 210), kPaperA5);
  EXPECT_EQ(CodeOfPaper(100, 100), 0);
  EXPECT_EQ(PayDateLabel({2024, 6, 1}), "令和    年    月    日");
}

}  // namespace
}  // namespace paylark::print

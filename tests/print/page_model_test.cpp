#include "print/page_model.h"

#include <gtest/gtest.h>

#include "support/recording_canvas.h"

namespace paylark::print {
namespace {

using testing::RecordedShape;
using testing::RecordingCanvas;

// A 600 dpi printer with a 4.23 mm unprintable margin (100 dots) rounds to 4 mm.
PageModel Printer600(RecordingCanvas& canvas) {
  PageModel m;
  m.dotsPerMmX = m.dotsPerMmY = 600 / 25.4f;
  m.physOffsetX = Rnd(100 / m.dotsPerMmX);
  m.physOffsetY = Rnd(100 / m.dotsPerMmY);
  m.thinPen = Rnd(600 / 360.0 * 2);
  m.thickPen = Rnd(600 / 360.0 * 5);
  m.canvas = &canvas;
  return m;
}

TEST(PageModelTest, TransformAddsAdjustmentAndOriginAndTakesOffTheMargin) {
  RecordingCanvas canvas;
  PageModel m = Printer600(canvas);
  EXPECT_EQ(m.physOffsetX, 4);
  EXPECT_EQ(m.thinPen, 3);
  EXPECT_EQ(m.thickPen, 8);
  // (14 + 0 + 0 − 4) × 23.622 = 236.22
  EXPECT_EQ(m.Y(14), 236);
  m.originY = 148.0f;
  m.adjustH = 1.5;
  EXPECT_EQ(m.Y(14), Rnd(158 * static_cast<double>(600 / 25.4f)));
  EXPECT_EQ(m.X(10), Rnd(7.5 * static_cast<double>(600 / 25.4f)));
}

TEST(PageModelTest, RoundsHalvesToEven) {
  PageModel m;
  m.dotsPerMmX = m.dotsPerMmY = 1;
  EXPECT_EQ(m.X(2.5), 2);
  EXPECT_EQ(m.X(3.5), 4);
  m.dotsPerMmX = 2;
  EXPECT_EQ(m.X(1.25), 2);  // 2.5 → 2
  EXPECT_EQ(Rnd(-0.5), 0);
}

TEST(PageModelTest, SumIsHeldInSinglePrecision) {
  PageModel m;
  m.dotsPerMmX = 10;
  // 0.35 in single precision is 0.34999999…, so 3.4999999 → 3; a double sum would give 3.5 → 4.
  EXPECT_EQ(m.X(0.35), 3);
  m.originX = 0.35f;
  EXPECT_EQ(m.X(0), 3);
}

TEST(PageModelTest, TextAdvancesByShiftJisBytesOnAFixedGrid) {
  RecordingCanvas canvas;
  PageModel m;
  m.dotsPerMmX = m.dotsPerMmY = 10;
  m.canvas = &canvas;
  m.SetFont(kMincho, 14);  // cell 5 mm, half-width advance 2.5 mm
  m.PutText("Aｱ給与 1", 10, 20);
  // A (1 byte), ｱ (1 byte), 給 与 (2 bytes each), blank skipped, 1.
  ASSERT_EQ(canvas.texts.size(), 5u);
  const int xs[] = {100, 125, 150, 200, 275};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(canvas.texts[i].x, xs[i]) << i;
    EXPECT_EQ(canvas.texts[i].y, 200);
  }
  EXPECT_EQ(canvas.texts[2].character, "給");
  EXPECT_EQ(canvas.texts[0].font.height, 50);
  EXPECT_EQ(canvas.texts[0].font.width, 0);
  EXPECT_EQ(canvas.texts[0].font.face, kMincho);
  EXPECT_DOUBLE_EQ(m.TextEnd("Aｱ給与 1", 10), 10 + 2.5 * 8);
}

TEST(PageModelTest, TextWithoutAShiftJisFormIsDrawnNotRefused) {
  RecordingCanvas canvas;
  PageModel m;
  m.dotsPerMmX = m.dotsPerMmY = 10;
  m.canvas = &canvas;
  m.SetFont(kMincho, 14);
  m.PutText("山\xEF\xBF\xBD" "A", 0, 0);  // a damaged character between 山 and A
  ASSERT_EQ(canvas.texts.size(), 3u);
  EXPECT_EQ(canvas.texts[1].character, "？");
  EXPECT_EQ(canvas.texts[2].x, 100);  // 山 and ？ take two bytes each
}

TEST(PageModelTest, CondensedBoldAndUnderlinedText) {
  RecordingCanvas canvas;
  PageModel m;
  m.dotsPerMmX = m.dotsPerMmY = 10;
  m.thinPen = 5;
  m.canvas = &canvas;
  m.SetFont(kGothic, 14);
  m.SelectPen(9);
  m.condensed = true;
  m.bold = true;
  m.underline = true;
  m.PutText("12", 0, 0);
  // Advance 5 × 3 ÷ 7 mm; width Rnd(50 ÷ 7 × 3) = 21 dots.
  ASSERT_EQ(canvas.texts.size(), 2u);
  EXPECT_EQ(canvas.texts[1].x, Rnd(5.0 * 3 / 7 * 10));
  EXPECT_EQ(canvas.texts[0].font.width, 21);
  EXPECT_EQ(canvas.texts[0].font.weight, 700);
  ASSERT_EQ(canvas.shapes.size(), 1u);
  const RecordedShape& line = canvas.shapes[0];
  EXPECT_EQ(line.kind, RecordedShape::Line);
  EXPECT_EQ(line.pen, 6);  // Rnd(5 × 1.2)
  EXPECT_EQ(line.y1, 50);
  EXPECT_EQ(line.x2, Rnd(2 * 5.0 * 3 / 7 * 10));
  EXPECT_EQ(canvas.pen, 9);  // the previous pen is back
}

TEST(PageModelTest, LinesAreThinAndStayThinFramesUseTheCurrentPen) {
  RecordingCanvas canvas;
  PageModel m;
  m.thinPen = 1;
  m.thickPen = 4;
  m.canvas = &canvas;
  m.SelectPen(m.thickPen);
  m.PutFrame(0, 0, 10, 10);
  m.PutLine(0, 5, 10, 5);
  m.PutFrame(0, 0, 10, 10);
  m.FillBox(1, 1, 2, 2);
  ASSERT_EQ(canvas.shapes.size(), 4u);
  EXPECT_EQ(canvas.shapes[0].pen, 4);
  EXPECT_EQ(canvas.shapes[1].pen, 1);
  EXPECT_EQ(canvas.shapes[2].pen, 1);
  EXPECT_EQ(canvas.shapes[3].kind, RecordedShape::Fill);
}

}  // namespace
}  // namespace paylark::print

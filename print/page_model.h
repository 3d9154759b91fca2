// The page model shared by every report: millimetres on the physical sheet, turned into device
// units with the device's unprintable margin, the user's print adjustment and the origin of the
// region being drawn (the upper or lower payslip of a sheet). Text is fixed-pitch by Shift-JIS
// bytes, so numbers formatted to a fixed width come out right-aligned at a fixed x.
#pragma once

#include <string>
#include <string_view>

#include "print/canvas.h"

namespace paylark::print {

inline const char* const kMincho = "ＭＳ 明朝";
inline const char* const kGothic = "ＭＳ ゴシック";
inline constexpr Rgb kShading{187, 221, 255};

// v rounded to the nearest integer, halves to even.
int Rnd(double v);

struct PageModel {
  // Device set-up: whoever draws sets these before a page.
  float dotsPerMmX = 1;
  float dotsPerMmY = 1;
  int physOffsetX = 0;  // whole millimetres
  int physOffsetY = 0;
  int thinPen = 1;
  int thickPen = 1;
  Canvas* canvas = nullptr;

  // Region and adjustment, millimetres.
  float originX = 0;
  float originY = 0;
  double adjustH = 0;  // PrAdjustH in millimetres, positive to the right
  double adjustV = 0;  // PrAdjustV, positive downwards

  // Current font.
  std::string fontName = kMincho;
  float fontHeight = 10 / 2.8f;  // cell height, millimetres
  bool bold = false;
  bool underline = false;
  bool italic = false;
  bool condensed = false;

  // The date printed on the page.
  std::string dateEraYear;
  std::string dateMonth;
  std::string dateDay;

  // Device position of a point in millimetres.
  int X(double x) const;
  int Y(double y) const;

  // Font name and every style flag at once (the layouts start their parts this way).
  void SetFont(const char* face, int size);
  void ResetStyle();
  void SetFontSize(int size);  // fontHeight = size ÷ 2.8 mm
  void SelectPen(int width);   // thinPen or thickPen
  void PutText(std::string_view utf8, double x, double y);
  void PutLine(double x1, double y1, double x2, double y2);   // thin pen, which stays
  void PutFrame(double x1, double y1, double x2, double y2);  // current pen
  void FillBox(double x1, double y1, double x2, double y2);   // shading colour, no outline

  // The x (mm) just after a text drawn at x in the current font.
  double TextEnd(std::string_view utf8, double x) const;

 private:
  int pen_ = 1;
};

}  // namespace paylark::print

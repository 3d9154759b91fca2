// The page model's canvas on a QPainter: a printer page, a PDF file, the preview's drawing area or
// a picture. Fonts are created by face name ("ＭＳ 明朝", "ＭＳ ゴシック", with IPA Mincho and IPA
// Gothic standing in) with the cell height as pixel size; a width other than 0 narrows the face
// so that each half-width character takes that many dots. Text is drawn with its cell's top-left
// at the given point on a transparent background; pens are solid.
#pragma once

#include <QColor>
#include <QFont>

#include "print/canvas.h"

class QPainter;

namespace paylark::print {

class QtCanvas : public Canvas {
 public:
  explicit QtCanvas(QPainter& painter);

  // Pale drawing: lines, text and shading in light tints (the preview's picture of a printed
  // form under the values).
  void SetPale(bool pale) { pale_ = pale; }

  void SetPen(int width) override;
  void Line(int x1, int y1, int x2, int y2) override;
  void Frame(int x1, int y1, int x2, int y2) override;
  void Fill(int x1, int y1, int x2, int y2, Rgb colour) override;
  void Character(int x, int y, const DeviceFont& font, std::string_view character) override;

  // The Qt font for a device font on this painter's device (exposed for tests).
  QFont FontFor(const DeviceFont& font) const;

 private:
  QColor Ink() const;
  void ApplyPen();

  QPainter& painter_;
  int penWidth_ = 1;
  bool pale_ = false;
  // The last font, kept because the layouts draw many characters in one font.
  DeviceFont lastFont_;
  bool haveFont_ = false;
  QFont qfont_;
  double ascent_ = 0;
};

}  // namespace paylark::print

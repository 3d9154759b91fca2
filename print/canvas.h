// The drawing surface of the page model: a few device-level calls in device units (dots). The Qt
// canvas paints on a printer page, the preview or a picture; a recording canvas lets tests check
// every position.
#pragma once

#include <string>
#include <string_view>

namespace paylark::print {

struct Rgb {
  int r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// A font as the device creates it: cell height and width in dots (width 0 = the face's natural
// width), weight 700 bold or 400 normal.
struct DeviceFont {
  std::string face;  // "ＭＳ 明朝", "ＭＳ ゴシック"
  int height = 0;
  int width = 0;
  int weight = 400;
  bool italic = false;
  bool operator==(const DeviceFont&) const = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;
  // Solid black pen of the given width for the following lines and frames.
  virtual void SetPen(int width) = 0;
  virtual void Line(int x1, int y1, int x2, int y2) = 0;
  // The outline of a rectangle with the current pen; the interior is left as it is.
  virtual void Frame(int x1, int y1, int x2, int y2) = 0;
  // A rectangle filled with a colour, without an outline.
  virtual void Fill(int x1, int y1, int x2, int y2, Rgb colour) = 0;
  // One character (UTF-8) in black on a transparent background, its cell's top-left at (x, y).
  virtual void Character(int x, int y, const DeviceFont& font, std::string_view character) = 0;
};

}  // namespace paylark::print

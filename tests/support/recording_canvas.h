// A canvas that keeps every call, for checking positions of report layouts exactly.
#pragma once

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "print/canvas.h"
#include "store/sjis.h"

namespace paylark::testing {

struct RecordedText {
  int x = 0, y = 0;
  print::DeviceFont font;
  std::string character;
};
struct RecordedShape {
  enum Kind { Line, Frame, Fill } kind = Line;
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  int pen = 0;  // the pen width in force (lines and frames)
};

class RecordingCanvas : public print::Canvas {
 public:
  void SetPen(int width) override { pen = width; }
  void Line(int x1, int y1, int x2, int y2) override { shapes.push_back({RecordedShape::Line, x1, y1, x2, y2, pen}); }
  void Frame(int x1, int y1, int x2, int y2) override { shapes.push_back({RecordedShape::Frame, x1, y1, x2, y2, pen}); }
  void Fill(int x1, int y1, int x2, int y2, print::Rgb) override {
    shapes.push_back({RecordedShape::Fill, x1, y1, x2, y2, 0});
  }
  void Character(int x, int y, const print::DeviceFont& font, std::string_view character) override {
    texts.push_back({x, y, font, std::string(character)});
  }

  // The characters drawn on row y with fromX <= x < toX, in x order (blanks are never drawn).
  std::string TextBetween(int y, int fromX, int toX) const {
    std::vector<const RecordedText*> row;
    for (const RecordedText& t : texts)
      if (t.y == y && t.x >= fromX && t.x < toX) row.push_back(&t);
    std::stable_sort(row.begin(), row.end(), [](const RecordedText* a, const RecordedText* b) { return a->x < b->x; });
    std::string text;
    for (const RecordedText* t : row) text += t->character;
    return text;
  }

  // The text of one row as the fixed-pitch drawing lays it out: the characters on row y from x
  // up to toX, each put at the byte cell its position gives (`advance` dots per byte), the cells
  // between them blanks. Blanks at the start are kept, so a right-aligned amount reads "  1,234".
  std::string TextLine(int x, int y, double advance, int toX) const {
    std::vector<const RecordedText*> row;
    for (const RecordedText& t : texts)
      if (t.y == y && t.x >= x && t.x < toX) row.push_back(&t);
    std::stable_sort(row.begin(), row.end(), [](const RecordedText* a, const RecordedText* b) { return a->x < b->x; });
    std::string text;
    long cells = 0;
    for (const RecordedText* t : row) {
      const long cell = std::lround((t->x - x) / advance);
      for (; cells < cell; ++cells) text += ' ';
      text += t->character;
      cells += static_cast<long>(SjisWidth(t->character));
    }
    return text;
  }

  int pen = 0;
  std::vector<RecordedText> texts;
  std::vector<RecordedShape> shapes;
};

}  // namespace paylark::testing

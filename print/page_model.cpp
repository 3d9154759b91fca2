#include "print/page_model.h"

#include <algorithm>
#include <cmath>

#include "store/sjis.h"

namespace paylark::print {

int Rnd(double v) { return static_cast<int>(std::nearbyint(v)); }

// The sum is held in single precision; the product of two floats is exact in double.
int PageModel::X(double x) const {
  const float sum = static_cast<float>(x + adjustH + originX - physOffsetX);
  return Rnd(static_cast<double>(sum) * static_cast<double>(dotsPerMmX));
}

int PageModel::Y(double y) const {
  const float sum = static_cast<float>(y + adjustV + originY - physOffsetY);
  return Rnd(static_cast<double>(sum) * static_cast<double>(dotsPerMmY));
}

void PageModel::SetFont(const char* face, int size) {
  fontName = face;
  ResetStyle();
  SetFontSize(size);
}

void PageModel::ResetStyle() { bold = underline = italic = condensed = false; }

void PageModel::SetFontSize(int size) { fontHeight = static_cast<float>(size) / 2.8f; }

void PageModel::SelectPen(int width) {
  pen_ = width;
  if (canvas != nullptr) canvas->SetPen(width);
}

namespace {

// The Shift-JIS form of a text to draw. A character without one (a damaged name read from a file
// shows as U+FFFD) is drawn as a full-width "？" rather than failing the whole page.
std::string DrawableSjis(std::string_view utf8) {
  try {
    return ToSjis(utf8);
  } catch (const EncodingError&) {
  }
  std::string sjis;
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    length = std::min(length, utf8.size() - i);
    try {
      sjis += ToSjis(utf8.substr(i, length));
    } catch (const EncodingError&) {
      sjis += "\x81\x48";  // ？
    }
    i += length;
  }
  return sjis;
}

double Advance(const PageModel& m) {
  return m.condensed ? m.fontHeight * 3.0 / 7.0 : m.fontHeight / 2.0;
}

}  // namespace

double PageModel::TextEnd(std::string_view utf8, double x) const {
  return x + Advance(*this) * static_cast<double>(DrawableSjis(utf8).size());
}

void PageModel::PutText(std::string_view utf8, double x, double y) {
  if (canvas == nullptr) return;
  DeviceFont font;
  font.face = fontName;
  font.height = Rnd(static_cast<double>(fontHeight) * dotsPerMmY);
  font.width = condensed ? Rnd(font.height / 7.0 * 3.0) : 0;
  font.weight = bold ? 700 : 400;
  font.italic = italic;

  const std::string sjis = DrawableSjis(utf8);
  const double advance = Advance(*this);
  const int top = Y(y);
  double at = x;
  for (std::size_t i = 0; i < sjis.size();) {
    const std::size_t width = IsLeadByte(static_cast<unsigned char>(sjis[i])) && i + 1 < sjis.size() ? 2 : 1;
    const std::string character = FromSjis(std::string_view(sjis).substr(i, width));
    if (character != " ") canvas->Character(X(at), top, font, character);
    at += advance * static_cast<double>(width);
    i += width;
  }
  if (underline) {
    canvas->SetPen(Rnd(thinPen * 1.2));
    canvas->Line(X(x), Y(y + fontHeight), X(at), Y(y + fontHeight));
    canvas->SetPen(pen_);
  }
}

void PageModel::PutLine(double x1, double y1, double x2, double y2) {
  SelectPen(thinPen);
  if (canvas != nullptr) canvas->Line(X(x1), Y(y1), X(x2), Y(y2));
}

void PageModel::PutFrame(double x1, double y1, double x2, double y2) {
  if (canvas != nullptr) canvas->Frame(X(x1), Y(y1), X(x2), Y(y2));
}

void PageModel::FillBox(double x1, double y1, double x2, double y2) {
  if (canvas != nullptr) canvas->Fill(X(x1), Y(y1), X(x2), Y(y2), kShading);
}

}  // namespace paylark::print

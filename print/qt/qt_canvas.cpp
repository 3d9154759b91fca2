#include "print/qt/qt_canvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "print/page_model.h"

namespace paylark::print {
namespace {

constexpr QColor kPaleInk{200, 200, 200};

// The faces the reports ask for and the fonts of this platform that stand in for them.
QStringList FamiliesFor(const std::string& face) {
  const QString name = QString::fromStdString(face);
  if (face == kMincho) return {name, QStringLiteral("IPAMincho"), QStringLiteral("IPA明朝")};
  if (face == kGothic) return {name, QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")};
  return {name, QStringLiteral("IPAGothic")};
}

QRect Box(int x1, int y1, int x2, int y2) {
  return QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
}

}  // namespace

QtCanvas::QtCanvas(QPainter& painter) : painter_(painter) {
  painter_.setBackgroundMode(Qt::TransparentMode);
  painter_.setBrush(Qt::NoBrush);
  ApplyPen();
}

QColor QtCanvas::Ink() const { return pale_ ? kPaleInk : QColor(Qt::black); }

void QtCanvas::ApplyPen() {
  QPen pen(Ink());
  pen.setWidth(std::max(1, penWidth_));
  pen.setStyle(Qt::SolidLine);
  pen.setCapStyle(Qt::SquareCap);
  pen.setJoinStyle(Qt::MiterJoin);
  painter_.setPen(pen);
}

void QtCanvas::SetPen(int width) {
  penWidth_ = width;
  ApplyPen();
}

void QtCanvas::Line(int x1, int y1, int x2, int y2) {
  ApplyPen();
  painter_.drawLine(x1, y1, x2, y2);
}

void QtCanvas::Frame(int x1, int y1, int x2, int y2) {
  ApplyPen();
  painter_.setBrush(Qt::NoBrush);
  painter_.drawRect(QRectF(QPointF(std::min(x1, x2), std::min(y1, y2)), QPointF(std::max(x1, x2), std::max(y1, y2))));
}

void QtCanvas::Fill(int x1, int y1, int x2, int y2, Rgb colour) {
  QColor c(colour.r, colour.g, colour.b);
  if (pale_) c = QColor((c.red() + 255 * 2) / 3, (c.green() + 255 * 2) / 3, (c.blue() + 255 * 2) / 3);
  painter_.fillRect(Box(x1, y1, x2, y2), c);
}

QFont QtCanvas::FontFor(const DeviceFont& font) const {
  QFont f;
  f.setFamilies(FamiliesFor(font.face));
  f.setPixelSize(std::max(1, font.height));
  f.setWeight(font.weight >= 700 ? QFont::Bold : QFont::Normal);
  f.setItalic(font.italic);
  f.setKerning(false);
  f.setHintingPreference(QFont::PreferNoHinting);
  if (font.width > 0) {
    // A half-width character of the face's natural width; the stretch brings it to `width`.
    const double natural = QFontMetricsF(f, painter_.device()).horizontalAdvance(QLatin1Char('0'));
    if (natural > 0) f.setStretch(std::clamp(static_cast<int>(std::lround(100.0 * font.width / natural)), 1, 4000));
  }
  return f;
}

void QtCanvas::Character(int x, int y, const DeviceFont& font, std::string_view character) {
  if (!haveFont_ || !(font == lastFont_)) {
    qfont_ = FontFor(font);
    ascent_ = QFontMetricsF(qfont_, painter_.device()).ascent();
    lastFont_ = font;
    haveFont_ = true;
  }
  painter_.setFont(qfont_);
  painter_.setPen(Ink());
  painter_.drawText(QPointF(x, y + ascent_), QString::fromUtf8(character.data(), static_cast<qsizetype>(character.size())));
  ApplyPen();
}

}  // namespace paylark::print

// SPDX-License-Identifier: MIT
#include "render/qt_surface.h"

#include "render/raster_geometry.h"
#include "render/windows1252.h"

#include <QFontDatabase>
#include <QPaintDevice>
#include <QPen>
#include <QPolygon>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

namespace {

QString ResolveFamily(const QString& face) {
  static const QStringList families = QFontDatabase::families();
  if (families.contains(face, Qt::CaseInsensitive))
    return face;
  if (face.compare("Times New Roman", Qt::CaseInsensitive) == 0)
    return "Liberation Serif";
  if (face.compare("MS Sans Serif", Qt::CaseInsensitive) == 0)
    return "DejaVu Sans";
  return face;
}

int PixelsForPoints(int points, int dpi) {
  return std::max(1, static_cast<int>(std::lround(points * dpi / 72.0)));
}

// Text extents per font and device resolution, kept for the whole run: measuring a program
// costs one measurement per distinct text, however often it is drawn. A run that meets more
// texts than a million-element program holds starts afresh rather than growing without end.
TTextExtentCache& ExtentsFor(const QFont& font, int dpi) {
  static std::map<std::pair<QString, int>, TTextExtentCache> cache;
  TTextExtentCache& extents = cache[{font.key(), dpi}];
  if (extents.Size() > 2000000 || extents.TextBytes() > (std::size_t{1} << 30))
    extents.Clear();
  return extents;
}

} // namespace

QString FromWindows1252(const std::string& bytes) {
  QString out;
  out.reserve(static_cast<qsizetype>(bytes.size()));
  for (unsigned char c : bytes)
    out.append(QChar(static_cast<char16_t>(ShownCharacter(c))));
  return out;
}

QColor ToQColor(TColor c) {
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

QFont DiagramFont() {
  static const QFont font = [] {
    const QString family = ResolveFamily("MS Sans Serif");
    QFont f(family);
    f.setPixelSize(11);
    for (int px = 8; px <= 20; ++px) {
      f.setPixelSize(px);
      if (QFontMetrics(f).height() >= 13)
        break;
    }
    return f;
  }();
  return font;
}

QFont PrintFont(int dpi) {
  QFont f(ResolveFamily("Times New Roman"));
  f.setPixelSize(PixelsForPoints(12, dpi));
  return f;
}

QtSurface::QtSurface(QPainter& painter, const QFont& font)
    : painter_(painter), font_(font), metrics_(font),
      dpi_(painter.device() ? painter.device()->logicalDpiY() : 96) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, false);
  UseFont(font);
}

void QtSurface::UseFont(const QFont& font) {
  font_ = font;
  font_.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferNoShaping));
  painter_.setFont(font_);
  metrics_ = QFontMetrics(font_, painter_.device());
  extents_ = &ExtentsFor(font_, dpi_);
}

void QtSurface::SetPenColor(TColor color) {
  pen_ = color;
  penDirty_ = true;
}

void QtSurface::SetPenWidth(int width) {
  penWidth_ = width;
  penDirty_ = true;
}

void QtSurface::SetPenStyle(TPenStyle style) {
  penStyle_ = style;
  penDirty_ = true;
}

void QtSurface::SetFontSize(int points) {
  QFont f = font_;
  f.setPixelSize(PixelsForPoints(points, dpi_));
  UseFont(f);
}

void QtSurface::SetFontName(const std::string& face) {
  QFont f = font_;
  f.setFamily(ResolveFamily(QString::fromStdString(face)));
  UseFont(f);
}

void QtSurface::ApplyPen() {
  if (!penDirty_)
    return;
  QPen pen(ToQColor(pen_));
  pen.setWidth(penWidth_);
  // A flat cap ends a wide line exactly at its end points.
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  if (penStyle_ == TPenStyle::Dotted)
    pen.setDashPattern({1.0, 1.0});
  painter_.setPen(pen);
  penDirty_ = false;
}

void QtSurface::ApplyBrush() {
  if (!brushDirty_ && appliedBrush_ == brush_)
    return;
  painter_.setBrush(ToQColor(brush_));
  appliedBrush_ = brush_;
  brushDirty_ = false;
}

void QtSurface::MoveTo(int32_t x, int32_t y) {
  pos_ = QPoint(x, y);
}

void QtSurface::LineTo(int32_t x, int32_t y) {
  const QPoint from = pos_, to(x, y);
  pos_ = to;
  if (penWidth_ <= 1)
    return ThinLine(from, to);
  // A wide pen covers its line from the first point up to the last; a line drawn towards smaller
  // coordinates is moved one unit along its longer axis, so that it too starts at its start
  // point and stops before its end point.
  const int dx = to.x() - from.x(), dy = to.y() - from.y();
  QPoint shift;
  if (std::abs(dx) >= std::abs(dy)) {
    if (dx < 0)
      shift = QPoint(1, 0);
  } else if (dy < 0) {
    shift = QPoint(0, 1);
  }
  ApplyPen();
  painter_.drawLine(from + shift, to + shift);
}

// Qt leaves out the larger-coordinate end of a line whichever way it runs, so one-pixel lines
// are painted as the pixels LinePixels gives: the start point painted, the end point not.
void QtSurface::ThinLine(QPoint from, QPoint to) {
  const QColor colour = ToQColor(pen_);
  const bool dotted = penStyle_ == TPenStyle::Dotted;
  if (!dotted && (from.x() == to.x() || from.y() == to.y())) {
    if (from == to)
      return;
    // One rectangle from the start point up to, not including, the end point.
    const int dx = to.x() - from.x(), dy = to.y() - from.y();
    const int left = dx < 0 ? to.x() + 1 : from.x();
    const int top = dy < 0 ? to.y() + 1 : from.y();
    painter_.fillRect(QRect(left, top, std::max(1, std::abs(dx)), std::max(1, std::abs(dy))),
                      colour);
    return;
  }
  struct Painter : TSpanSink {
    QPainter& painter;
    QColor colour;
    Painter(QPainter& p, QColor c) : painter(p), colour(c) {}
    void Span(int64_t y, int64_t x0, int64_t x1) override {
      painter.fillRect(
          QRect(static_cast<int>(x0), static_cast<int>(y), static_cast<int>(x1 - x0), 1), colour);
    }
  } sink(painter_, colour);
  LinePixels({from.x(), from.y()}, {to.x(), to.y()}, dotted, {INT32_MIN, INT32_MAX}, sink);
}

void QtSurface::Polygon(const TPoint* points, int count) {
  ApplyPen();
  ApplyBrush();
  QPolygon poly(count);
  for (int i = 0; i < count; ++i)
    poly.setPoint(i, points[i].x, points[i].y);
  painter_.drawPolygon(poly);
}

void QtSurface::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  ApplyPen();
  ApplyBrush();
  // With a one-pixel pen Qt's outline covers the rectangle's right and bottom edge, so a rectangle
  // one smaller covers left..right-1 and top..bottom-1.
  painter_.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
}

void QtSurface::FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  painter_.fillRect(QRect(left, top, right - left, bottom - top), ToQColor(brush_));
}

void QtSurface::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  ApplyPen();
  ApplyBrush();
  painter_.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
}

void QtSurface::TextOut(int32_t x, int32_t y, const std::string& text) {
  const TSize extent = TextExtent(text);
  painter_.fillRect(QRect(x, y, extent.cx, extent.cy), ToQColor(brush_));
  painter_.setPen(ToQColor(fontColor_));
  painter_.drawText(QPoint(x, y + metrics_.ascent()), FromWindows1252(text));
  penDirty_ = true;
}

TSize QtSurface::TextExtent(const std::string& text) {
  if (const TSize* known = extents_->Find(text))
    return *known;
  const TSize size{metrics_.horizontalAdvance(FromWindows1252(text)), metrics_.height()};
  extents_->Insert(text, size);
  return size;
}

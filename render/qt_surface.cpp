// SPDX-License-Identifier: MIT
#include "render/qt_surface.h"

#include <QFontDatabase>
#include <QPaintDevice>
#include <QPen>
#include <QPolygon>

#include <cmath>
#include <map>
#include <utility>
#include <vector>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; unassigned codes map to themselves.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString ResolveFamily(const QString& face) {
  static const QStringList families = QFontDatabase::families();
  if (families.contains(face, Qt::CaseInsensitive)) return face;
  if (face.compare("Times New Roman", Qt::CaseInsensitive) == 0) return "Liberation Serif";
  if (face.compare("MS Sans Serif", Qt::CaseInsensitive) == 0) return "DejaVu Sans";
  return face;
}

int PixelsForPoints(int points, int dpi) {
  return std::max(1, static_cast<int>(std::lround(points * dpi / 72.0)));
}

using TExtentMap = std::unordered_map<std::string, TSize>;

// Text extents per font and device resolution, kept for the whole run: the same few thousand
// texts are measured on every repaint.
TExtentMap& ExtentsFor(const QFont& font, int dpi) {
  static std::map<std::pair<QString, int>, TExtentMap> cache;
  TExtentMap& map = cache[{font.key(), dpi}];
  if (map.size() > 200000) map.clear();
  return map;
}

}  // namespace

QString FromWindows1252(const std::string& bytes) {
  QString out;
  out.reserve(static_cast<qsizetype>(bytes.size()));
  for (unsigned char c : bytes) {
    if (c >= 0x80 && c <= 0x9F)
      out.append(QChar(kCp1252High[c - 0x80]));
    else if (c < 0x20)
      out.append(QChar(' '));  // drawn on one line: line breaks and tabs show as spaces
    else
      out.append(QChar(c));
  }
  return out;
}

QColor ToQColor(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

QFont DiagramFont() {
  static const QFont font = [] {
    const QString family = ResolveFamily("MS Sans Serif");
    QFont f(family);
    f.setPixelSize(11);
    for (int px = 8; px <= 20; ++px) {
      f.setPixelSize(px);
      if (QFontMetrics(f).height() >= 13) break;
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
  font_.setStyleStrategy(QFont::NoAntialias);
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
  if (!penDirty_) return;
  QPen pen(ToQColor(pen_));
  pen.setWidth(penWidth_);
  // A flat cap leaves a one-pixel line's end point unpainted, as LineTo must.
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  if (penStyle_ == TPenStyle::Dotted) pen.setDashPattern({1.0, 1.0});
  painter_.setPen(pen);
  penDirty_ = false;
}

void QtSurface::ApplyBrush() {
  if (!brushDirty_ && appliedBrush_ == brush_) return;
  painter_.setBrush(ToQColor(brush_));
  appliedBrush_ = brush_;
  brushDirty_ = false;
}

void QtSurface::MoveTo(int32_t x, int32_t y) { pos_ = QPoint(x, y); }

void QtSurface::LineTo(int32_t x, int32_t y) {
  ApplyPen();
  const QPoint to(x, y);
  painter_.drawLine(pos_, to);
  pos_ = to;
}

void QtSurface::Polygon(const TPoint* points, int count) {
  ApplyPen();
  ApplyBrush();
  QPolygon poly(count);
  for (int i = 0; i < count; ++i) poly.setPoint(i, points[i].x, points[i].y);
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
  auto it = extents_->find(text);
  if (it != extents_->end()) return it->second;
  const TSize size{metrics_.horizontalAdvance(FromWindows1252(text)), metrics_.height()};
  extents_->emplace(text, size);
  return size;
}

// SPDX-License-Identifier: MIT
#include "render/qt_picture_toolkit.h"

#include <QFontInfo>

#include <algorithm>

namespace {

// Beyond this many bytes of cached text pixels the cache starts afresh.
constexpr size_t kTextCacheBytes = 32u << 20;

// The pixels of a scratch image that are not white, each given the value classify returns, with
// the image's (0, 0) at (left, top) relative to the drawing position.
template <class Classify>
TPixelMask Collect(const QImage& image, int32_t left, int32_t top, Classify classify) {
  int x0 = image.width(), y0 = image.height(), x1 = -1, y1 = -1;
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if ((row[x] & 0xFFFFFF) == 0xFFFFFF)
        continue;
      x0 = std::min(x0, x);
      x1 = std::max(x1, x);
      y0 = std::min(y0, y);
      y1 = std::max(y1, y);
    }
  }
  TPixelMask mask;
  if (x1 < 0)
    return mask;
  mask.left = left + x0;
  mask.top = top + y0;
  mask.width = x1 - x0 + 1;
  mask.height = y1 - y0 + 1;
  mask.values.resize(static_cast<size_t>(mask.width) * static_cast<size_t>(mask.height));
  uint8_t* out = mask.values.data();
  for (int y = y0; y <= y1; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = x0; x <= x1; ++x) {
      const QRgb c = row[x] & 0xFFFFFF;
      *out++ = c == 0xFFFFFF ? 0 : classify(c);
    }
  }
  return mask;
}

QImage Scratch(int width, int height) {
  QImage image(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

} // namespace

QtPictureToolkit::QtPictureToolkit()
    : probe_(1, 1, QImage::Format_RGB32), painter_(&probe_), metrics_(painter_, DiagramFont()) {}

QtPictureToolkit::~QtPictureToolkit() = default;

void QtPictureToolkit::Forget() {
  texts_.clear();
  textBytes_ = 0;
}

void QtPictureToolkit::SetFontSize(int points) {
  metrics_.SetFontSize(points);
  Forget();
}

void QtPictureToolkit::SetFontName(const std::string& face) {
  metrics_.SetFontName(face);
  Forget();
}

TSize QtPictureToolkit::TextExtent(const std::string& text) {
  return metrics_.TextExtent(text);
}

TFontFace QtPictureToolkit::Face() {
  const QFont& font = metrics_.Font();
  return {QFontInfo(font).family().toStdString(), font.pixelSize(), metrics_.Ascent()};
}

const TPixelMask& QtPictureToolkit::TextPixels(const std::string& text) {
  const auto found = texts_.find(text);
  if (found != texts_.end())
    return found->second;
  // Drawn by the screen's own TextOut, with room for glyphs that overhang the extent.
  const TSize extent = metrics_.TextExtent(text);
  const int pad = extent.cy;
  QImage image = Scratch(extent.cx + 2 * pad, extent.cy + 2 * pad);
  {
    QPainter painter(&image);
    QtSurface surface(painter, metrics_.Font());
    surface.SetBrushColor(kWhite);
    surface.SetFontColor(kBlack);
    surface.TextOut(pad, pad, text);
  }
  if (textBytes_ > kTextCacheBytes)
    Forget();
  TPixelMask mask = Collect(image, -pad, -pad, [](QRgb) { return uint8_t{1}; });
  textBytes_ += mask.values.size() + text.size();
  return texts_.emplace(text, std::move(mask)).first->second;
}

const TPixelMask& QtPictureToolkit::EllipsePixels(int32_t width, int32_t height) {
  constexpr int kPad = 2;
  QImage image = Scratch(width + 2 * kPad, height + 2 * kPad);
  {
    QPainter painter(&image);
    QtSurface surface(painter, metrics_.Font());
    surface.SetPenColor(kBlack);
    surface.SetBrushColor(kRed);
    surface.Ellipse(kPad, kPad, kPad + width, kPad + height);
  }
  ellipse_ = Collect(image, -kPad, -kPad, [](QRgb c) { return c == 0 ? uint8_t{2} : uint8_t{1}; });
  return ellipse_;
}

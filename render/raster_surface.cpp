// SPDX-License-Identifier: MIT
#include "render/raster_surface.h"

#include <algorithm>
#include <cstring>

namespace {

// 0x00BBGGRR as 0x00RRGGBB; the palette hint in the high byte is dropped.
uint32_t Rgb(TColor c) {
  return (c & 0xFF) << 16 | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

} // namespace

TRasterSurface::TRasterSurface(TPictureToolkit& toolkit, int32_t width,
                               std::vector<uint32_t> palette)
    : toolkit_(toolkit), width_(width), palette_(std::move(palette)),
      pixelBytes_(palette_.empty() ? 4 : 1) {
  for (size_t i = 0; i < palette_.size(); ++i)
    index_.emplace(palette_[i], static_cast<uint8_t>(i));
  penInk_ = Ink(pen_);
  brushInk_ = Ink(brush_);
  fontInk_ = Ink(font_);
}

uint32_t TRasterSurface::Ink(TColor color) {
  const uint32_t rgb = Rgb(color);
  if (palette_.empty())
    return rgb;
  const auto it = index_.find(rgb);
  if (it != index_.end())
    return it->second;
  missed_ = true;
  return 0;
}

void TRasterSurface::SetPenColor(TColor color) {
  pen_ = color;
  penInk_ = Ink(color);
}

void TRasterSurface::SetBrushColor(TColor color) {
  brush_ = color;
  brushInk_ = Ink(color);
}

void TRasterSurface::SetFontColor(TColor color) {
  font_ = color;
  fontInk_ = Ink(color);
}

void TRasterSurface::StartStrip(int64_t top, int32_t count, TColor background) {
  top_ = top;
  count_ = count;
  pixels_.resize(static_cast<size_t>(width_) * static_cast<size_t>(count) * pixelBytes_);
  const uint32_t ink = Ink(background);
  if (pixelBytes_ == 1) {
    std::memset(pixels_.data(), static_cast<int>(ink), pixels_.size());
  } else {
    auto* words = reinterpret_cast<uint32_t*>(pixels_.data());
    std::fill(words, words + pixels_.size() / 4, ink);
  }
}

const uint8_t* TRasterSurface::Row(int32_t i) const {
  return pixels_.data() + static_cast<size_t>(i) * static_cast<size_t>(width_) * pixelBytes_;
}

void TRasterSurface::Fill(int64_t y, int64_t x0, int64_t x1, uint32_t ink) {
  if (y < top_ || y >= top_ + count_)
    return;
  x0 = std::max<int64_t>(x0, 0);
  x1 = std::min<int64_t>(x1, width_);
  if (x0 >= x1)
    return;
  const size_t at =
      static_cast<size_t>(y - top_) * static_cast<size_t>(width_) + static_cast<size_t>(x0);
  const size_t n = static_cast<size_t>(x1 - x0);
  if (pixelBytes_ == 1) {
    std::memset(pixels_.data() + at, static_cast<int>(ink), n);
  } else {
    auto* words = reinterpret_cast<uint32_t*>(pixels_.data()) + at;
    std::fill(words, words + n, ink);
  }
}

void TRasterSurface::LineTo(int32_t x, int32_t y) {
  Brush brush(*this, penInk_);
  LinePixels(pos_, {x, y}, style_ == TPenStyle::Dotted, Band(), brush);
  pos_ = {x, y};
}

void TRasterSurface::Polygon(const TPoint* points, int count) {
  Brush fill(*this, brushInk_);
  PolygonFillPixels(points, count, Band(), fill);
  Brush outline(*this, penInk_);
  PolygonOutlinePixels(points, count, style_ == TPenStyle::Dotted, Band(), outline);
}

void TRasterSurface::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  // As on screen: the brush up to the last row and column but one, the outline on the outermost
  // pixels.
  const int64_t last = std::min<int64_t>(int64_t{bottom} - 1, top_ + count_);
  for (int64_t y = std::max<int64_t>(top, top_); y < last; ++y)
    Fill(y, left, int64_t{right} - 1, brushInk_);
  const TPoint corners[4] = {
      {left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}};
  Brush outline(*this, penInk_);
  PolygonOutlinePixels(corners, 4, style_ == TPenStyle::Dotted, Band(), outline);
}

void TRasterSurface::FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  for (int64_t y = std::max<int64_t>(top, top_); y < std::min<int64_t>(bottom, top_ + count_); ++y)
    Fill(y, left, right, brushInk_);
}

void TRasterSurface::Stamp(const TPixelMask& mask, int64_t x, int64_t y, const uint32_t* inks) {
  const int64_t top = y + mask.top;
  const int64_t from = std::max(top, top_), to = std::min(top + mask.height, top_ + count_);
  for (int64_t row = from; row < to; ++row) {
    const uint8_t* values = mask.values.data() + (row - top) * mask.width;
    for (int32_t i = 0; i < mask.width;) {
      const uint8_t v = values[i];
      int32_t j = i + 1;
      while (j < mask.width && values[j] == v)
        ++j;
      if (v != 0)
        Fill(row, x + mask.left + i, x + mask.left + j, inks[v]);
      i = j;
    }
  }
}

void TRasterSurface::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (bottom <= top_ || top >= top_ + count_)
    return;
  const uint32_t inks[3] = {0, brushInk_, penInk_};
  Stamp(toolkit_.EllipsePixels(right - left, bottom - top), left, top, inks);
}

void TRasterSurface::TextOut(int32_t x, int32_t y, const std::string& text) {
  const TSize extent = TextExtent(text);
  // Glyphs may overhang the extent a little; beyond a text height they never reach.
  if (int64_t{y} + 2 * extent.cy <= top_ || int64_t{y} - extent.cy >= top_ + count_)
    return;
  FillRect(x, y, x + extent.cx, y + extent.cy);
  const uint32_t inks[2] = {0, fontInk_};
  Stamp(toolkit_.TextPixels(text), x, y, inks);
}

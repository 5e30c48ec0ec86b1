// SPDX-License-Identifier: MIT
// A drawing surface of plain pixels for pictures. It draws into one horizontal strip of the
// picture at a time, so that a picture of any height takes the memory of one strip. Lines and
// polygons get exactly the pixels the screen shows; text and the start mark's ellipse come from
// the picture toolkit. Pens are one pixel wide, as in the screen layout that pictures show.
#pragma once

#include "render/picture_toolkit.h"
#include "render/raster_geometry.h"
#include "render/surface.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class TRasterSurface : public TSurface {
public:
  // palette: the colours (0x00RRGGBB) a picture uses, at most 256; each pixel is then one byte,
  // the index of its colour. Without a palette each pixel is a 0x00RRGGBB word.
  TRasterSurface(TPictureToolkit& toolkit, int32_t width, std::vector<uint32_t> palette);
  TRasterSurface(const TRasterSurface&) = delete;
  TRasterSurface& operator=(const TRasterSurface&) = delete;

  // Picture rows top .. top + count - 1 are drawn from now on, cleared to the background.
  void StartStrip(int64_t top, int32_t count, TColor background);
  // Row top + i of the strip: width bytes, or width words without a palette.
  const uint8_t* Row(int32_t i) const;
  // A colour outside the palette was drawn; its pixels got index 0.
  bool MissedColour() const { return missed_; }

  void SetPenColor(TColor color) override;
  TColor GetPenColor() const override { return pen_; }
  void SetPenWidth(int) override {}
  void SetPenStyle(TPenStyle style) override { style_ = style; }
  void SetBrushColor(TColor color) override;
  TColor GetBrushColor() const override { return brush_; }
  void SetFontColor(TColor color) override;
  void SetFontSize(int points) override { toolkit_.SetFontSize(points); }
  void SetFontName(const std::string& face) override { toolkit_.SetFontName(face); }

  void MoveTo(int32_t x, int32_t y) override { pos_ = {x, y}; }
  void LineTo(int32_t x, int32_t y) override;
  void Polygon(const TPoint* points, int count) override;
  void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
  void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
  void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
  void TextOut(int32_t x, int32_t y, const std::string& text) override;
  TSize TextExtent(const std::string& text) override { return toolkit_.TextExtent(text); }

private:
  // Paints the spans it is given in one ink.
  class Brush : public TSpanSink {
  public:
    Brush(TRasterSurface& surface, uint32_t ink) : surface_(surface), ink_(ink) {}
    void Span(int64_t y, int64_t x0, int64_t x1) override { surface_.Fill(y, x0, x1, ink_); }

  private:
    TRasterSurface& surface_;
    uint32_t ink_;
  };

  uint32_t Ink(TColor color);
  void Fill(int64_t y, int64_t x0, int64_t x1, uint32_t ink);
  void Stamp(const TPixelMask& mask, int64_t x, int64_t y, const uint32_t* inks);
  TRowBand Band() const { return {top_, top_ + count_}; }

  TPictureToolkit& toolkit_;
  int32_t width_;
  std::vector<uint32_t> palette_;
  std::unordered_map<uint32_t, uint8_t> index_;
  size_t pixelBytes_;
  std::vector<uint8_t> pixels_;
  int64_t top_ = 0;
  int32_t count_ = 0;
  bool missed_ = false;

  TColor pen_ = kBlack, brush_ = kWhite, font_ = kBlack;
  uint32_t penInk_ = 0, brushInk_ = 0, fontInk_ = 0;
  TPenStyle style_ = TPenStyle::Solid;
  TPoint pos_;
};

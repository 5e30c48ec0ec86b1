// SPDX-License-Identifier: MIT
// A drawing surface that writes SVG elements straight into a stream as the figures draw, so a
// picture of any size takes little memory. Pixel (x, y) of the PNG is the unit square at (x, y):
// fills, lines and rectangular outlines are written as the same pixels, other polygons and the
// ellipse as shapes through the pixel centres, text in the font the PNG uses, with its extent from
// the same metrics. Pens are one pixel wide, as in the screen layout that pictures show.
#pragma once

#include "model/stream.h"
#include "render/picture_toolkit.h"
#include "render/surface.h"

#include <cstdint>
#include <string>

class TSvgSurface : public TSurface {
public:
  TSvgSurface(TStream& out, TPictureToolkit& toolkit);
  TSvgSurface(const TSvgSurface&) = delete;
  TSvgSurface& operator=(const TSvgSurface&) = delete;

  // The document's start: size, title, background. Texts may be measured before, drawing
  // comes after.
  void Begin(int32_t width, int32_t height, const std::string& title, TColor background);
  // The document's end; nothing may be drawn afterwards.
  void Finish();

  void SetPenColor(TColor color) override { pen_ = color; }
  TColor GetPenColor() const override { return pen_; }
  void SetPenWidth(int) override {}
  void SetPenStyle(TPenStyle style) override { style_ = style; }
  void SetBrushColor(TColor color) override { brush_ = color; }
  TColor GetBrushColor() const override { return brush_; }
  void SetFontColor(TColor color) override { font_ = color; }
  void SetFontSize(int points) override;
  void SetFontName(const std::string& face) override;

  void MoveTo(int32_t x, int32_t y) override { pos_ = {x, y}; }
  void LineTo(int32_t x, int32_t y) override;
  void Polygon(const TPoint* points, int count) override;
  void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
  void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
  void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
  void TextOut(int32_t x, int32_t y, const std::string& text) override;
  TSize TextExtent(const std::string& text) override { return toolkit_.TextExtent(text); }

private:
  void Put(const char* text);
  void Put(const std::string& text) { buffer_ += text; }
  void Num(int64_t value);
  void Colour(TColor color);
  void Escaped(const std::string& bytes);
  void Flush(bool all);
  // The outermost pixels of [left, right) x [top, bottom) in paint.
  void Ring(int64_t left, int64_t top, int64_t right, int64_t bottom, const std::string& paint);
  // Every other pixel of the outline through columns left and right and rows top and bottom
  // (inclusive): those whose x + y has the given parity, in the pen.
  void DottedFrame(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t parity);
  // Notes the toolkit's current font for the text elements.
  void UseFont();

  TStream& out_;
  TPictureToolkit& toolkit_;
  std::string buffer_;
  std::string rootFont_, fontAttributes_;
  int ascent_ = 0;
  TColor pen_ = kBlack, brush_ = kWhite, font_ = kBlack;
  TPenStyle style_ = TPenStyle::Solid;
  TPoint pos_;
};

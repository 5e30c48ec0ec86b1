// SPDX-License-Identifier: MIT
// The drawing surface the figures draw on: screen, picture and printer page alike.
#pragma once

#include <cstdint>
#include <string>

struct TPoint {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(TPoint a, TPoint b) { return a.x == b.x && a.y == b.y; }
};

struct TSize {
  int32_t cx = 0;  // width
  int32_t cy = 0;  // height
  friend bool operator==(TSize a, TSize b) { return a.cx == b.cx && a.cy == b.cy; }
};

struct TRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const TRect& a, const TRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }
};

// Colours are packed 0x00BBGGRR; figures do arithmetic on the whole integer. A high byte of
// 0x02 only asks for the nearest palette colour and is kept when the colour is read back.
using TColor = uint32_t;
constexpr TColor kBlack = 0;
constexpr TColor kRed = 255;
constexpr TColor kWhite = 16777215;
constexpr TColor kGrey = 0x808080;
constexpr TColor kScreenBackground = 49673717;  // 0x02F5F5F5
constexpr TColor kPrintBackground = 50331647;   // 0x02FFFFFF

enum class TPenStyle { Solid, Dotted };

class TSurface {
public:
  virtual ~TSurface() = default;

  virtual void SetPenColor(TColor color) = 0;
  virtual TColor GetPenColor() const = 0;
  virtual void SetPenWidth(int width) = 0;
  virtual void SetPenStyle(TPenStyle style) = 0;
  virtual void SetBrushColor(TColor color) = 0;
  virtual TColor GetBrushColor() const = 0;
  virtual void SetFontColor(TColor color) = 0;
  virtual void SetFontSize(int points) = 0;
  virtual void SetFontName(const std::string& face) = 0;

  virtual void MoveTo(int32_t x, int32_t y) = 0;
  // Line from the current position to (x, y), the end point not painted.
  virtual void LineTo(int32_t x, int32_t y) = 0;
  // Closed outline in the pen, filled with the brush.
  virtual void Polygon(const TPoint* points, int count) = 0;
  // Outline in the pen, filled with the brush; right and bottom exclusive.
  virtual void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
  // Brush fill, no outline; right and bottom exclusive.
  virtual void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
  // Inscribed ellipse, outlined and filled.
  virtual void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
  // Text (Windows-1252 bytes) with its top-left corner at (x, y), on an opaque background in
  // the brush colour.
  virtual void TextOut(int32_t x, int32_t y, const std::string& text) = 0;
  virtual TSize TextExtent(const std::string& text) = 0;
};

// SPDX-License-Identifier: MIT
// What the picture surfaces take from the window system: text extents that agree with the
// screen's, and the pixels of text and of ellipses, which they do not draw themselves.
#pragma once

#include "render/surface.h"

#include <cstdint>
#include <string>
#include <vector>

// Pixels around a drawing position: `width` x `height` values, row by row, for the pixels
// (left + column, top + row) relative to it; 0 is untouched.
struct TPixelMask {
  int32_t left = 0, top = 0, width = 0, height = 0;
  std::vector<uint8_t> values;
};

// The current font, as picture formats that name fonts need it.
struct TFontFace {
  std::string family; // the family actually used, e.g. "DejaVu Sans"
  int pixelSize = 0;
  int ascent = 0; // from the top of a text's extent to its baseline
};

class TPictureToolkit {
public:
  virtual ~TPictureToolkit() = default;

  // The font starts as the diagram window's; these change it as TSurface's operations do.
  virtual void SetFontSize(int points) = 0;
  virtual void SetFontName(const std::string& face) = 0;
  virtual TSize TextExtent(const std::string& text) = 0;
  virtual TFontFace Face() = 0;

  // Text drawn with its top-left corner at (0, 0): 1 where a glyph is. Valid until the next call.
  virtual const TPixelMask& TextPixels(const std::string& text) = 0;
  // An ellipse inscribed in (0, 0) to (width, height), right and bottom exclusive: 1 inside, 2 on
  // the outline. Valid until the next call.
  virtual const TPixelMask& EllipsePixels(int32_t width, int32_t height) = 0;
};

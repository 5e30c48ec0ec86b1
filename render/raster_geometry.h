// SPDX-License-Identifier: MIT
// The pixels of lines and polygons as the screen paints them, in 64-bit arithmetic and for any
// band of rows: a picture painted strip by strip, at any size, gets the pixels of one paint.
#pragma once

#include "render/surface.h"

#include <cstdint>

// Receives covered pixels as runs: row y, columns x0 to x1 - 1.
class TSpanSink {
public:
  virtual void Span(int64_t y, int64_t x0, int64_t x1) = 0;

protected:
  ~TSpanSink() = default;
};

// The rows of interest, top to bottom - 1; nothing outside them is reported.
struct TRowBand {
  int64_t top = 0, bottom = 0;
};

// A line one pixel wide from `from` to `to`, the start point painted and the end point not. Each
// step along the longer axis paints one pixel; its place on the other axis follows the line as
// seen from the start point. Dotted: every other pixel, the first one painted.
void LinePixels(TPoint from, TPoint to, bool dotted, TRowBand rows, TSpanSink& out);

// The inside of a polygon (even-odd rule): the pixels the toolkit fills, those whose centres lie
// inside.
void PolygonFillPixels(const TPoint* points, int count, TRowBand rows, TSpanSink& out);

// The closed outline of a polygon as the toolkit strokes it with a one-pixel pen. Dotted: only the
// outline pixels whose x + y differs in parity from the first corner's, which around a rectangle
// is the toolkit's dot pattern, wherever the rectangle lies.
void PolygonOutlinePixels(const TPoint* points, int count, bool dotted, TRowBand rows,
                          TSpanSink& out);

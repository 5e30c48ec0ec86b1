// SPDX-License-Identifier: MIT
// Measuring, drawing and hit testing of every element's figure.
#pragma once

#include "model/element.h"
#include "render/display_options.h"
#include "render/surface.h"

// How one top-level call may save work. By default sizes are computed once per call and reused
// for the rest of that call (they cannot change while it runs); the literal walk re-measures
// every figure at every level, and serves as the reference for tests and benchmarks.
struct TRenderOptions {
  bool cacheSizes = true;
};

// Size of the element's own figure, the connector below included, never its successors.
TSize Measure(const TElement& e, TSurface& surface, TDisplayOptions& display,
              TRenderOptions options = {});
// Draws the figure at the anchor (top centre), then its successor chain; a block that is the
// display's DrawRoot stops the chain.
void Draw(const TElement& e, TSurface& surface, TPoint anchor, TDisplayOptions& display,
          TRenderOptions options = {});
// As Draw, but figures wholly outside clip (surface coordinates, right and bottom exclusive)
// are skipped; the pixels inside clip and SelectedRect are the same as a full Draw leaves them.
void DrawClipped(const TElement& e, TSurface& surface, TPoint anchor, TDisplayOptions& display,
                 const TRect& clip);
// The element under (x, y), searching e, the figures inside it and its successors; writes
// display.DropAfter.
TElement* HitTest(TElement& e, TSurface& surface, TPoint anchor, TDisplayOptions& display,
                  int32_t x, int32_t y, TRenderOptions options = {});
// Size of the condition diamond.
TSize MeasureCondition(const TBedingung& e, TSurface& surface);
// Anchor at which branch index (1 or 2) of a decision, or a loop's body, is drawn.
TPoint BranchAnchor(const TBedingung& e, TSurface& surface, TPoint anchor,
                    TDisplayOptions& display, int index, TRenderOptions options = {});

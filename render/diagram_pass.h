// SPDX-License-Identifier: MIT
// One measuring, drawing or hit-testing pass over a window's tree in its notation: the
// flowchart's figures or the Nassi-Shneiderman diagram's boxes. Internal to the rendering
// library; the root figure is drawn with its top centre at the anchor.
#pragma once

#include "model/element.h"
#include "render/display_options.h"
#include "render/surface.h"

#include <memory>
#include <unordered_set>

class TDiagramPass {
public:
  virtual ~TDiagramPass() = default;

  // Draws on another surface from now on, clipped to clip (nullptr: everything); the sizes
  // measured so far stay valid.
  virtual void Retarget(TSurface& surface, const TRect* clip) = 0;
  // Size of the element's own figure, never its successors.
  virtual TSize Measure(const TElement& e) = 0;
  // Draws e (and its successors); a block that is the display's DrawRoot stops the chain.
  virtual void DrawChain(const TElement* e, TPoint anchor) = 0;
  // The element under (x, y); writes the display's DropAfter.
  virtual const TElement* HitChain(const TElement* e, TPoint anchor, int32_t x, int32_t y) = 0;
  // Where the figure showing target is drawn: target's own (exact) or a collapsed block of
  // `around` holding it.
  virtual bool Locate(const TElement* e, TPoint anchor, const TElement* target,
                      const std::unordered_set<const TElement*>& around, TRect& rect,
                      bool& exact) = 0;
  // After a clipped drawing: writes SelectedRect as the full drawing would have.
  virtual void FinishClipped(const TElement& top, TPoint anchor) = 0;
};

// The pass for the display's notation.
std::unique_ptr<TDiagramPass> MakeDiagramPass(TSurface& surface, TDisplayOptions& display,
                                              bool cacheSizes, const TRect* clip = nullptr);

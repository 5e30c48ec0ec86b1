// SPDX-License-Identifier: MIT
// One measuring, drawing or hit-testing pass over a tree; internal to the rendering library.
#pragma once

#include "model/element.h"
#include "render/diagram_pass.h"
#include "render/display_options.h"
#include "render/surface.h"

#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

// Sizes keyed by element address, valid for one pass only: the tree, the display state and the
// font cannot change while a pass runs, and nothing survives it.
class TSizeCache {
public:
  TSizeCache();
  ~TSizeCache();
  TSizeCache(const TSizeCache&) = delete;
  TSizeCache& operator=(const TSizeCache&) = delete;

  bool Find(const TElement* key, TSize& out) const;
  void Put(const TElement* key, TSize size);

  struct Slot {
    const TElement* key = nullptr;
    TSize size;
  };

private:
  static std::vector<std::vector<Slot>>& Spares();
  void Grow();
  void SetShift();
  // Fibonacci hashing: the top bits of the product spread neighbouring addresses evenly.
  size_t Hash(const TElement* key) const {
    return static_cast<size_t>((reinterpret_cast<uintptr_t>(key) * 0x9E3779B97F4A7C15ull) >>
                               shift_);
  }
  std::vector<Slot> slots_;
  size_t used_ = 0;
  int shift_ = 64;
};

class TFigurePass final : public TDiagramPass {
public:
  TFigurePass(TSurface& surface, TDisplayOptions& display, bool cacheSizes,
              const TRect* clip = nullptr);

  // Draws on another surface from now on, clipped to clip (nullptr: everything). Sizes measured
  // so far stay valid: the surface must measure texts as the earlier one did.
  void Retarget(TSurface& surface, const TRect* clip) override;

  TSize Measure(const TElement& e) override;
  TSize MeasureCondition(const TBedingung& e);
  TPoint BranchAnchor(const TBedingung& e, TPoint anchor, int index);
  // Draws e and its successors, iterating along the chain.
  void DrawChain(const TElement* e, TPoint anchor) override;
  const TElement* HitChain(const TElement* e, TPoint anchor, int32_t x, int32_t y) override;
  // Where the figure showing target is drawn when the chain from e is drawn at anchor: target's
  // own figure (exact) or a collapsed block of `around` holding it. The walk enters only the
  // elements of `around`, the elements target lies in.
  bool Locate(const TElement* e, TPoint anchor, const TElement* target,
              const std::unordered_set<const TElement*>& around, TRect& rect,
              bool& exact) override;
  // After a clipped drawing: writes SelectedRect as the full drawing would have, when a
  // selected figure was skipped.
  void FinishClipped(const TElement& top, TPoint anchor) override;

private:
  TSize Compute(const TElement& e);
  TSize Ja();
  TSize Nein();
  bool Visible(TPoint anchor, TSize size) const;
  bool Highlighted(const TElement& e) const { return d_.UseColor && d_.IsSelected(&e); }
  void Select(const TElement& e, TRect rect);
  // The fill of a statement's box or a condition's diamond: white, or the run's colour.
  TColor FillOf(const TElement& e) const;
  // A breakpoint's dot, centred at (x, y).
  void BreakpointAt(const TElement& e, int32_t x, int32_t y);
  const TRunMarks* Marks() const { return d_.UseColor ? d_.Marks : nullptr; }
  // The checks' mark, centred at (x, y), where the checks found something at e.
  void CheckMarkAt(const TElement& e, int32_t x, int32_t y);

  int32_t DrawFigure(const TElement& e, TPoint p);
  int32_t DrawStatement(const TElement& e, TPoint p);
  int32_t DrawBlock(const TBlock& e, TPoint p);
  int32_t DrawIf(const TBedingung& e, TPoint p);
  int32_t DrawWhile(const TBedingung& e, TPoint p);
  int32_t DrawDoWhile(const TDoWhile& e, TPoint p);
  void Diamond(const TBedingung& e, int32_t x, int32_t top, TSize cond, TSize text);
  // Selected rectangles along the drawing's order, without drawing.
  void LocateSelection(const TElement* e, TPoint anchor);

  TSurface* s_;
  TDisplayOptions& d_;
  bool cache_;
  const TRect* clip_;
  TSizeCache sizes_;
  // The branch labels, translated once for the pass (Windows-1252, as surfaces draw texts).
  const std::string yesWord_, noWord_;
  TSize ja_{-1, -1}, nein_{-1, -1};
  int32_t margin_ = 0;
  int32_t selectedDrawn_ = 0;
  int32_t toLocate_ = -1;  // selected figures still to find; -1: walk everything
};

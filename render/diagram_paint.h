// SPDX-License-Identifier: MIT
// Painting a whole diagram as a window, a picture and a printout show it.
#pragma once

#include "model/element.h"
#include "render/display_options.h"
#include "render/figures.h"
#include "render/surface.h"

#include <memory>
#include <string>
#include <unordered_set>

class TDiagramPass;

// The display state pictures are drawn with: the notation and collapsed blocks of shown (a
// window's state; nullptr: a flowchart, none collapsed), nothing selected, no drop target.
TDisplayOptions PictureDisplay(const TDisplayOptions* shown);

// The root figure's anchor in content coordinates: (width div 2 + 30, 15).
TPoint RootAnchor(TBlock& root, TSurface& surface, TDisplayOptions& display);

// Start mark (circle and stem) and the root figure with its whole contents at anchor; sets the
// background brush first (light grey on screen, white when UseColor is off) and DrawRoot.
// clip (surface coordinates) limits the work to what intersects it; nullptr draws everything.
void DisplayStruktogramm(TSurface& surface, TPoint anchor, TBlock& root, TDisplayOptions& display,
                         const TRect* clip = nullptr, TRenderOptions options = {});

// A window's paint: the root at RootAnchor shifted by the scroll positions, measuring the tree
// once for anchor and drawing together.
void PaintStruktogramm(TSurface& surface, TBlock& root, TDisplayOptions& display, TPoint scroll,
                       const TRect* clip = nullptr);

// A window's hit test at content point (x, y): the root's anchor and the test in one pass.
TElement* HitTestStruktogramm(TSurface& surface, TBlock& root, TDisplayOptions& display, int32_t x,
                              int32_t y);

// The printout: caption at (10, 10) in Times New Roman 12 pt, print layout (no colour,
// Spacing = text height of "ja" div 2, pen width 3), the figure at (width div 2 + 30, 80);
// restores Spacing 6, PrintMode false and UseColor true afterwards. clip (surface coordinates)
// limits the drawing to the figures that reach into it, as for one page of many.
void PrintStruktogramm(TSurface& surface, const std::string& caption, TBlock& root,
                       TDisplayOptions& display, const TRect* clip = nullptr);

// The printout's extent in the surface's units: caption and figure, with the figure's 30-unit
// margin on the left repeated on the right and below. Leaves the display state as printing does.
TSize PrintoutSize(TSurface& surface, const std::string& caption, TBlock& root,
                   TDisplayOptions& display);

// A window's figure measured once and kept for its paints and hit tests, until the owner says the
// tree or the display state's collapsed blocks changed (Invalidate). Every surface used must
// measure texts as the first did (the window's font).
class TWindowLayout {
public:
  TWindowLayout(TBlock& root, TDisplayOptions& display);
  ~TWindowLayout();
  TWindowLayout(const TWindowLayout&) = delete;
  TWindowLayout& operator=(const TWindowLayout&) = delete;

  // Forgets every measurement.
  void Invalidate();
  // The root figure's size.
  TSize RootSize(TSurface& surface);
  // As PaintStruktogramm, with the kept measurements. locateSelection: also record the
  // selection's rectangle where it lies outside clip, as a drawing of everything would.
  void Paint(TSurface& surface, TPoint scroll, const TRect* clip, bool locateSelection = true);
  // As HitTestStruktogramm, with the kept measurements.
  TElement* HitTest(TSurface& surface, int32_t x, int32_t y);
  // Where target is shown, in content coordinates (see TFigurePass::Locate); false where this
  // window does not show it.
  bool Locate(TSurface& surface, const TElement* target,
              const std::unordered_set<const TElement*>& around, TRect& rect, bool& exact);

private:
  TDiagramPass& Pass(TSurface& surface, const TRect* clip);
  TBlock& root_;
  TDisplayOptions& display_;
  std::unique_ptr<TDiagramPass> pass_;
};

// A window's unscrolled paint made piece by piece, as picture export paints a picture in strips:
// the tree is measured once for all pieces. Tree, display state and text extents must not change
// while the painter lives.
class TPicturePainter {
public:
  // surface: the surface measured with; later pieces may be drawn on others that measure texts
  // alike.
  TPicturePainter(TSurface& surface, TBlock& root, TDisplayOptions& display);
  ~TPicturePainter();
  TPicturePainter(const TPicturePainter&) = delete;
  TPicturePainter& operator=(const TPicturePainter&) = delete;

  // The root figure's size; the picture is 50 larger each way.
  TSize RootSize() const { return size_; }
  // Start mark and figures at the anchor (width div 2 + 30, 15); only figures that reach into
  // clip are drawn (nullptr: all).
  void Paint(TSurface& surface, const TRect* clip);

private:
  TBlock& root_;
  TDisplayOptions& display_;
  std::unique_ptr<TDiagramPass> pass_;
  TSize size_;
};

// SPDX-License-Identifier: MIT
#include "render/diagram_paint.h"

#include "render/diagram_pass.h"

#include <algorithm>

namespace {

// Steps 1 to 4 of the display: background brush, start mark, stem, DrawRoot.
void StartMark(TSurface& surface, TPoint a, TBlock& root, TDisplayOptions& display) {
  surface.SetBrushColor(display.UseColor ? kScreenBackground : kPrintBackground);
  display.DrawRoot = &root;
  if (display.Notation != TNotation::Flow)
    return; // a Nassi-Shneiderman diagram starts with its title
  surface.Ellipse(a.x - 2, a.y - 9, a.x + 3, a.y - 4);
  surface.MoveTo(a.x, a.y - 4);
  surface.LineTo(a.x, a.y);
  display.DrawRoot = &root;
}

void DrawFromRoot(TDiagramPass& pass, TBlock& root, TPoint anchor, const TRect* clip) {
  pass.DrawChain(&root, anchor);
  if (clip)
    pass.FinishClipped(root, anchor);
}

} // namespace

TPoint RootAnchor(TBlock& root, TSurface& surface, TDisplayOptions& display) {
  display.DrawRoot = &root;
  return {Measure(root, surface, display).cx / 2 + 30, 15};
}

void DisplayStruktogramm(TSurface& surface, TPoint anchor, TBlock& root, TDisplayOptions& display,
                         const TRect* clip, TRenderOptions options) {
  StartMark(surface, anchor, root, display);
  const auto pass = MakeDiagramPass(surface, display, options.cacheSizes, clip);
  DrawFromRoot(*pass, root, anchor, clip);
}

void PaintStruktogramm(TSurface& surface, TBlock& root, TDisplayOptions& display, TPoint scroll,
                       const TRect* clip) {
  display.DrawRoot = &root;
  const auto pass = MakeDiagramPass(surface, display, true, clip);
  const TPoint anchor{pass->Measure(root).cx / 2 + 30 - scroll.x, 15 - scroll.y};
  StartMark(surface, anchor, root, display);
  DrawFromRoot(*pass, root, anchor, clip);
}

TElement* HitTestStruktogramm(TSurface& surface, TBlock& root, TDisplayOptions& display, int32_t x,
                              int32_t y) {
  display.DrawRoot = &root; // the window's drawing stops at its root; so does its hit test
  const auto pass = MakeDiagramPass(surface, display, true);
  const TPoint anchor{pass->Measure(root).cx / 2 + 30, 15};
  return const_cast<TElement*>(pass->HitChain(&root, anchor, x, y));
}

void PrintStruktogramm(TSurface& surface, const std::string& caption, TBlock& root,
                       TDisplayOptions& display, const TRect* clip) {
  surface.SetFontSize(12);
  surface.SetFontName("Times New Roman");
  surface.TextOut(10, 10, caption);
  display.UseColor = false;
  display.Spacing = surface.TextExtent("ja").cy / 2;
  display.PrintMode = true;
  surface.SetPenWidth(3);
  display.DrawRoot = &root;
  const TSize size = Measure(root, surface, display);
  DisplayStruktogramm(surface, {size.cx / 2 + 30, 80}, root, display, clip);
  display.Spacing = 6;
  display.PrintMode = false;
  display.UseColor = true;
}

TSize PrintoutSize(TSurface& surface, const std::string& caption, TBlock& root,
                   TDisplayOptions& display) {
  surface.SetFontSize(12);
  surface.SetFontName("Times New Roman");
  const TSize title = surface.TextExtent(caption);
  display.UseColor = false;
  display.Spacing = surface.TextExtent("ja").cy / 2;
  display.PrintMode = true;
  display.DrawRoot = &root;
  const TSize size = Measure(root, surface, display);
  display.Spacing = 6;
  display.PrintMode = false;
  display.UseColor = true;
  return {std::max(size.cx + 60, title.cx + 20), size.cy + 80 + 30};
}

TPicturePainter::TPicturePainter(TSurface& surface, TBlock& root, TDisplayOptions& display)
    : root_(root), display_(display), pass_((display.DrawRoot = &root, MakeDiagramPass(surface, display, true))),
      size_(pass_->Measure(root)) {}

TPicturePainter::~TPicturePainter() = default;

void TPicturePainter::Paint(TSurface& surface, const TRect* clip) {
  pass_->Retarget(surface, clip);
  const TPoint anchor{size_.cx / 2 + 30, 15};
  StartMark(surface, anchor, root_, display_);
  DrawFromRoot(*pass_, root_, anchor, clip);
}

TWindowLayout::TWindowLayout(TBlock& root, TDisplayOptions& display)
    : root_(root), display_(display) {}

TWindowLayout::~TWindowLayout() = default;

void TWindowLayout::Invalidate() { pass_.reset(); }

TDiagramPass& TWindowLayout::Pass(TSurface& surface, const TRect* clip) {
  display_.DrawRoot = &root_; // sizes in a Nassi-Shneiderman diagram depend on what the root is
  if (!pass_)
    pass_ = MakeDiagramPass(surface, display_, true, clip);
  else
    pass_->Retarget(surface, clip);
  return *pass_;
}

TSize TWindowLayout::RootSize(TSurface& surface) { return Pass(surface, nullptr).Measure(root_); }

void TWindowLayout::Paint(TSurface& surface, TPoint scroll, const TRect* clip,
                          bool locateSelection) {
  TDiagramPass& pass = Pass(surface, clip);
  const TPoint anchor{pass.Measure(root_).cx / 2 + 30 - scroll.x, 15 - scroll.y};
  StartMark(surface, anchor, root_, display_);
  DrawFromRoot(pass, root_, anchor, locateSelection ? clip : nullptr);
}

TElement* TWindowLayout::HitTest(TSurface& surface, int32_t x, int32_t y) {
  display_.DrawRoot = &root_;
  TDiagramPass& pass = Pass(surface, nullptr);
  const TPoint anchor{pass.Measure(root_).cx / 2 + 30, 15};
  return const_cast<TElement*>(pass.HitChain(&root_, anchor, x, y));
}

bool TWindowLayout::Locate(TSurface& surface, const TElement* target,
                           const std::unordered_set<const TElement*>& around, TRect& rect,
                           bool& exact) {
  display_.DrawRoot = &root_;
  TDiagramPass& pass = Pass(surface, nullptr);
  const TPoint anchor{pass.Measure(root_).cx / 2 + 30, 15};
  // The walk starts at the window's root: the root itself holds what it shows.
  std::unordered_set<const TElement*> path = around;
  path.insert(&root_);
  return pass.Locate(&root_, anchor, target, path, rect, exact);
}

TDisplayOptions PictureDisplay(const TDisplayOptions* shown) {
  TDisplayOptions display;
  if (shown)
    display.Notation = shown->Notation;
  if (shown)
    for (int32_t i = 0; i < shown->CollapsedCount; ++i)
      display.ToggleCollapsed(shown->Collapsed[i]);
  return display;
}

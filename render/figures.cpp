// SPDX-License-Identifier: MIT
#include "render/figures.h"

#include "render/figure_pass.h"
#include "render/nsd_pass.h"
#include "render/check_marks.h"
#include "render/run_marks.h"
#include "model/texts.h"
#include "model/windows1252.h"

#include <algorithm>

namespace {

constexpr TColor kFrameShade = 1542; // 0x000606: one step of 6 less red and green

} // namespace

// ---- TSizeCache ----

// Tables of finished passes are kept for the next pass of the same thread: a repaint that
// allocated and faulted in a fresh table every time spent most of its time doing so.
std::vector<std::vector<TSizeCache::Slot>>& TSizeCache::Spares() {
  thread_local std::vector<std::vector<Slot>> spares;
  return spares;
}

TSizeCache::TSizeCache() {
  auto& spares = Spares();
  if (!spares.empty()) {
    slots_ = std::move(spares.back());
    spares.pop_back();
    SetShift();
  }
}

TSizeCache::~TSizeCache() {
  auto& spares = Spares();
  // A table far larger than this tree needed would cost more to clear than to grow afresh.
  if (slots_.empty() || spares.size() >= 4 || (slots_.size() > 4096 && used_ * 16 < slots_.size()))
    return;
  if (used_ > 0)
    std::fill(slots_.begin(), slots_.end(), Slot{});
  spares.push_back(std::move(slots_));
}

void TSizeCache::SetShift() {
  shift_ = 64;
  for (size_t n = slots_.size(); n > 1; n >>= 1)
    --shift_;
}

bool TSizeCache::Find(const TElement* key, TSize& out) const {
  if (slots_.empty())
    return false;
  const size_t mask = slots_.size() - 1;
  for (size_t i = Hash(key) & mask;; i = (i + 1) & mask) {
    if (slots_[i].key == key) {
      out = slots_[i].size;
      return true;
    }
    if (slots_[i].key == nullptr)
      return false;
  }
}

void TSizeCache::Put(const TElement* key, TSize size) {
  if ((used_ + 1) * 2 > slots_.size())
    Grow();
  const size_t mask = slots_.size() - 1;
  size_t i = Hash(key) & mask;
  while (slots_[i].key != nullptr && slots_[i].key != key)
    i = (i + 1) & mask;
  if (slots_[i].key == nullptr)
    ++used_;
  slots_[i] = {key, size};
}

void TSizeCache::Grow() {
  std::vector<Slot> old;
  old.swap(slots_);
  slots_.resize(old.empty() ? 1024 : old.size() * 2);
  SetShift();
  const size_t mask = slots_.size() - 1;
  for (const Slot& s : old) {
    if (s.key == nullptr)
      continue;
    size_t i = Hash(s.key) & mask;
    while (slots_[i].key != nullptr)
      i = (i + 1) & mask;
    slots_[i] = s;
  }
}

// ---- TFigurePass: measuring ----

TFigurePass::TFigurePass(TSurface& surface, TDisplayOptions& display, bool cacheSizes,
                         const TRect* clip)
    : s_(&surface), d_(display), cache_(cacheSizes || clip != nullptr),
      yesWord_(Utf8ToWindows1252(Tr("Diagramm", "ja"))),
      noWord_(Utf8ToWindows1252(Tr("Diagramm", "nein"))) {
  Retarget(surface, clip);
}

void TFigurePass::Retarget(TSurface& surface, const TRect* clip) {
  s_ = &surface;
  clip_ = clip;
  selectedDrawn_ = 0;  // counted for this drawing
  if (clip_) {
    // Side lines of loops stand up to 7 units outside the measured width, labels and arrow
    // heads a little further; anything within this margin of the clip is drawn.
    margin_ = 32 + Ja().cx + Nein().cx + 3 * d_.Spacing;
  }
}

TSize TFigurePass::Ja() {
  if (!cache_)
    return s_->TextExtent(yesWord_);
  if (ja_.cx < 0)
    ja_ = s_->TextExtent(yesWord_);
  return ja_;
}

TSize TFigurePass::Nein() {
  if (!cache_)
    return s_->TextExtent(noWord_);
  if (nein_.cx < 0)
    nein_ = s_->TextExtent(noWord_);
  return nein_;
}

TSize TFigurePass::Measure(const TElement& e) {
  // A statement costs one text extent, no more than looking its size up again would.
  if (!cache_ || e.Kind() == TKind::Anweisung)
    return Compute(e);
  TSize size;
  if (sizes_.Find(&e, size))
    return size;
  size = Compute(e);
  sizes_.Put(&e, size);
  return size;
}

TSize TFigurePass::MeasureCondition(const TBedingung& e) {
  const TSize t = s_->TextExtent(e.Text);
  const int32_t a = t.cx / 3 + t.cy + 2;
  return {3 * a + 2, a};
}

TSize TFigurePass::Compute(const TElement& e) {
  const int32_t S = d_.Spacing;
  switch (e.Kind()) {
  case TKind::Anweisung: {
    const TSize t = s_->TextExtent(e.Text);
    TSize r{t.cx + 12, t.cy + 11 + S};
    if (d_.PrintMode)
      r.cx += 2 * S;
    return r;
  }
  case TKind::Block: {
    const auto& b = static_cast<const TBlock&>(e);
    TSize r;
    if (d_.IsCollapsed(&b)) {
      const TSize t = s_->TextExtent(b.Text);
      r = {t.cx + 10, t.cy + 11 + S};
    } else {
      for (const TElement* c = b.Body; c; c = c->Next) {
        const TSize cs = Measure(*c);
        r.cx = std::max(r.cx, cs.cx);
        r.cy += cs.cy;
      }
      r.cx = std::max(r.cx, 40);
      if (d_.PrintMode)
        r.cx = std::max(r.cx, 100);
      r.cy = std::max(r.cy, 20);
      r.cx += 6;
      r.cy += 2 * S + 3;
    }
    if (d_.PrintMode)
      r.cx += S;
    return r;
  }
  case TKind::If: {
    const auto& c = static_cast<const TBedingung&>(e);
    const TSize cond = MeasureCondition(c);
    const TSize b1 = Measure(*c.Branch1);
    const TSize b2 = Measure(*c.Branch2);
    TSize r{cond.cx + 6, cond.cy + std::max(b1.cy, b2.cy) + 2 * S + 5};
    if (b1.cx + b2.cx + 10 > r.cx)
      r.cx = b1.cx + b2.cx + 10;
    return r;
  }
  case TKind::While:
  case TKind::For: {
    const auto& c = static_cast<const TBedingung&>(e);
    const TSize cond = MeasureCondition(c);
    const TSize body = Measure(*c.Branch1);
    TSize r{cond.cx + 2 * Nein().cx - 4, cond.cy + body.cy + Ja().cy + 2 * S + 14};
    if (r.cx < body.cx)
      r.cx = body.cx + 18;
    return r;
  }
  case TKind::DoWhile:
  case TKind::Repeat: {
    const auto& c = static_cast<const TDoWhile&>(e);
    const TSize cond = MeasureCondition(c);
    const TSize body = Measure(*c.Branch1);
    const int32_t wL = (c.LoopOnYes ? Ja() : Nein()).cx;
    TSize r{cond.cx + 2 * wL - 4, cond.cy + body.cy + Ja().cy + 14};
    if (r.cx < body.cx)
      r.cx = body.cx + 18;
    return r;
  }
  }
  return {};
}

TPoint TFigurePass::BranchAnchor(const TBedingung& e, TPoint p, int index) {
  const int32_t S = d_.Spacing;
  const TSize cond = MeasureCondition(e);
  switch (e.Kind()) {
  case TKind::If: {
    const int32_t bw1 = Measure(*e.Branch1).cx;
    const int32_t bw2 = Measure(*e.Branch2).cx;
    const int32_t half = (bw1 + bw2 + 6) / 2;
    const int32_t y = p.y + cond.cy + S + 4;
    return index == 1 ? TPoint{p.x - half + bw1 / 2, y} : TPoint{p.x + half - bw2 / 2, y};
  }
  case TKind::DoWhile:
  case TKind::Repeat:
    return {p.x, p.y + 12};
  default:
    return {p.x, p.y + cond.cy + S + Ja().cy + 1};
  }
}

// ---- TFigurePass: drawing ----

bool TFigurePass::Visible(TPoint p, TSize size) const {
  const int32_t hw = size.cx / 2;
  return p.x - hw - margin_ < clip_->right && p.x + hw + margin_ >= clip_->left &&
         p.y - margin_ < clip_->bottom && p.y + size.cy + margin_ >= clip_->top;
}

void TFigurePass::Select(const TElement& e, TRect rect) {
  (void)e;
  HighlightColors(*s_);
  d_.SelectedRect = rect;
  ++selectedDrawn_;
}

TColor TFigurePass::FillOf(const TElement& e) const {
  const TRunMarks* marks = Marks();
  if (!marks || !marks->IsCurrent(&e))
    return kWhite;
  return marks->Failed ? kRunFailedFill : kRunCurrentFill;
}

void TFigurePass::BreakpointAt(const TElement& e, int32_t x, int32_t y) {
  const TRunMarks* marks = Marks();
  if (!marks || !marks->IsBreakpoint(&e))
    return;
  const TColor pen = s_->GetPenColor(), brush = s_->GetBrushColor();
  s_->SetPenColor(kBreakpointPen);
  s_->SetBrushColor(kBreakpointFill);
  s_->Ellipse(x - 4, y - 4, x + 5, y + 5);
  s_->SetPenColor(pen);
  s_->SetBrushColor(brush);
}

void TFigurePass::CheckMarkAt(const TElement& e, int32_t x, int32_t y) {
  if (d_.UseColor && d_.Checks && d_.Checks->Has(&e))
    DrawCheckMark(*s_, x, y);
}

void TFigurePass::DrawChain(const TElement* e, TPoint p) {
  bool skipped = false;
  for (; e; e = e->Next) {
    int32_t h;
    if (clip_) {
      const TSize size = Measure(*e);
      if (p.y - margin_ >= clip_->bottom)
        break; // this and every later figure lie below
      if (Visible(p, size)) {
        h = DrawFigure(*e, p);
        skipped = false;
      } else {
        // A figure always leaves pen and font black; the next one must find them so.
        if (!skipped)
          NormalColors(*s_);
        skipped = true;
        h = size.cy;
      }
    } else {
      h = DrawFigure(*e, p);
    }
    if (e == d_.DrawRoot && e->Kind() == TKind::Block)
      break;
    p.y += h;
  }
  if (skipped)
    NormalColors(*s_);
}

int32_t TFigurePass::DrawFigure(const TElement& e, TPoint p) {
  switch (e.Kind()) {
  case TKind::Anweisung:
    return DrawStatement(e, p);
  case TKind::Block:
    return DrawBlock(static_cast<const TBlock&>(e), p);
  case TKind::If:
    return DrawIf(static_cast<const TBedingung&>(e), p);
  case TKind::While:
  case TKind::For:
    return DrawWhile(static_cast<const TBedingung&>(e), p);
  case TKind::DoWhile:
  case TKind::Repeat:
    return DrawDoWhile(static_cast<const TDoWhile&>(e), p);
  }
  return 0;
}

int32_t TFigurePass::DrawStatement(const TElement& e, TPoint p) {
  const int32_t S = d_.Spacing;
  const TSize size = Measure(e);
  int32_t w = size.cx;
  const int32_t h = size.cy;
  if (d_.PrintMode)
    w -= 2 * S;
  const TColor brush = s_->GetBrushColor();
  s_->SetBrushColor(FillOf(e));
  const TRect box{p.x - w / 2, p.y, p.x + w / 2, p.y + h - S};
  if (Highlighted(e))
    Select(e, box);
  s_->FillRect(box.left, box.top, box.right, box.bottom);
  s_->Rectangle(box.left, box.top, box.right, box.bottom);
  s_->TextOut(box.left + 5, p.y + 5, e.Text);
  BreakpointAt(e, box.left, (box.top + box.bottom) / 2);
  CheckMarkAt(e, box.right, box.top);
  DrawArrow(*s_, 0, p.x, p.y + h - S - 1, p.x, p.y + h - 1, d_.DropTarget == &e, d_.PrintMode);
  NormalColors(*s_);
  s_->SetBrushColor(brush);
  return h;
}

int32_t TFigurePass::DrawBlock(const TBlock& e, TPoint p) {
  const int32_t S = d_.Spacing;
  const int32_t x = p.x, y = p.y;
  const TSize size = Measure(e);
  int32_t w = size.cx;
  const int32_t h = size.cy;
  if (d_.PrintMode)
    w -= S;
  const int32_t hw = w / 2;
  const int32_t b = y + h - S - 1;
  const bool collapsed = d_.IsCollapsed(&e);

  if (d_.UseColor)
    s_->SetBrushColor(s_->GetBrushColor() - kFrameShade);
  s_->SetPenStyle(TPenStyle::Dotted);
  if (Highlighted(e))
    Select(e, {x - hw, y, x + hw, y + h});
  if (s_->GetPenColor() != kRed && d_.UseColor)
    s_->SetPenColor(kGrey);
  s_->SetPenWidth(1);
  const TPoint frame[4] = {{x - hw, y}, {x + hw, y}, {x + hw, b}, {x - hw, b}};
  // A collapsed block holding the element that runs next stands for it.
  const TColor shaded = s_->GetBrushColor();
  const TRunMarks* marks = Marks();
  const bool runsInside = collapsed && marks && marks->Contains(&e);
  if (runsInside)
    s_->SetBrushColor(marks->Failed ? kRunFailedFill : kRunCurrentFill);
  s_->Polygon(frame, 4);
  if (d_.PrintMode)
    s_->SetPenWidth(3);
  if (s_->GetPenColor() != kRed)
    s_->SetPenColor(kBlack);
  s_->SetPenStyle(TPenStyle::Solid);
  if (collapsed)
    s_->TextOut(x - hw + 5, y + 5, e.Text);
  if (runsInside)
    s_->SetBrushColor(shaded);
  const bool target = d_.DropTarget == &e;
  DrawArrow(*s_, e.Independent ? 0 : 4, x, b, x, y + h - 1, target && d_.DropAfter, d_.PrintMode);
  if (!collapsed) {
    if (e.Body) {
      DrawArrow(*s_, 0, x, y, x, y + S, target && !d_.DropAfter, d_.PrintMode);
      NormalColors(*s_);
      DrawChain(e.Body, {x, y + S + 1});
    } else {
      DrawArrow(*s_, 0, x, y, x, b, target && !d_.DropAfter, d_.PrintMode);
    }
  }
  if (d_.UseColor)
    s_->SetBrushColor(s_->GetBrushColor() + kFrameShade);
  NormalColors(*s_);
  return h;
}

void TFigurePass::Diamond(const TBedingung& e, int32_t x, int32_t t, TSize cond, TSize text) {
  const TColor brush = s_->GetBrushColor();
  s_->SetBrushColor(FillOf(e));
  const TPoint pts[4] = {{x, t},
                         {x + cond.cx / 2, t + cond.cy / 2},
                         {x, t + cond.cy},
                         {x - cond.cx / 2, t + cond.cy / 2}};
  s_->Polygon(pts, 4);
  s_->TextOut(x - text.cx / 2, t + cond.cy / 2 - text.cy / 2, e.Text);
  s_->SetBrushColor(brush);
  BreakpointAt(e, x - cond.cx / 2, t + cond.cy / 2);
  // Beside the upper right edge, clear of the "nein" below it.
  CheckMarkAt(e, x + cond.cx / 4 + 4, t + cond.cy / 4 - 4);
}

int32_t TFigurePass::DrawIf(const TBedingung& e, TPoint p) {
  const int32_t S = d_.Spacing;
  const int32_t X = p.x, Y = p.y;
  const TSize cond = MeasureCondition(e);
  const TSize text = s_->TextExtent(e.Text);
  const TPoint a1 = BranchAnchor(e, p, 1);
  const TPoint a2 = BranchAnchor(e, p, 2);
  const int32_t x1 = a1.x, x2 = a2.x, yb = a1.y;
  const bool selected = Highlighted(e);
  if (selected)
    Select(e, {X - cond.cx / 2, Y, X + cond.cx / 2, Y + cond.cy});

  s_->MoveTo(x1, Y + cond.cy - 5);
  s_->LineTo(X, Y + cond.cy / 2);
  s_->LineTo(x2, Y + cond.cy - 5);
  DrawArrow(*s_, 0, x1, Y + cond.cy - 5, x1, Y + cond.cy + S + 3, false, d_.PrintMode);
  DrawArrow(*s_, 0, x2, Y + cond.cy - 5, x2, Y + cond.cy + S + 3, false, d_.PrintMode);

  const TSize ja = Ja();
  const int32_t o = d_.PrintMode ? 10 : 2;
  const int32_t yl = Y + cond.cy + S + 3 - ja.cy;
  s_->TextOut(x1 - ja.cx - o, yl, yesWord_);
  s_->TextOut(x2 + o, yl, noWord_);

  Diamond(e, X, Y, cond, text);

  DrawChain(e.Branch1, a1);
  if (selected)
    HighlightColors(*s_);
  DrawChain(e.Branch2, a2);
  if (selected)
    HighlightColors(*s_);

  const bool target = d_.DropTarget == &e;
  if (target)
    s_->SetPenColor(kRed);
  const int32_t e1 = yb + Measure(*e.Branch1).cy;
  const int32_t e2 = yb + Measure(*e.Branch2).cy;
  int32_t yj;
  if (e2 < e1) {
    s_->MoveTo(x2, e2);
    s_->LineTo(x2, e1);
    s_->LineTo(x1, e1);
    yj = e1;
  } else {
    s_->MoveTo(x1, e1);
    s_->LineTo(x1, e2);
    s_->LineTo(x2, e2);
    yj = e2;
  }
  DrawArrow(*s_, 0, X, yj + 1, X, yj + 1 + S, target, d_.PrintMode);
  NormalColors(*s_);
  return yj + S + 1 - Y;
}

int32_t TFigurePass::DrawWhile(const TBedingung& e, TPoint p) {
  const int32_t S = d_.Spacing;
  const int32_t X = p.x, Y = p.y;
  const TSize cond = MeasureCondition(e);
  const TSize text = s_->TextExtent(e.Text);
  const bool selected = Highlighted(e);
  if (selected)
    Select(e, {X - cond.cx / 2, Y, X + cond.cx / 2, Y + cond.cy});

  // The diamond restores the brush it found, which is the one the labels below are drawn on.
  Diamond(e, X, Y, cond, text);

  const TSize ja = Ja();
  DrawArrow(*s_, 0, X, Y + cond.cy, X, Y + cond.cy + S + ja.cy, false, d_.PrintMode);
  DrawChain(e.Branch1, BranchAnchor(e, p, 1));
  if (selected)
    HighlightColors(*s_);

  const bool target = d_.DropTarget == &e;
  if (target)
    s_->SetPenColor(kRed);
  const TSize body = Measure(*e.Branch1);
  const int32_t m = cond.cx > body.cx ? cond.cx : body.cx;
  const int32_t ye = Y + cond.cy + S + ja.cy + body.cy + 13;
  s_->MoveTo(X + cond.cx / 2, Y + cond.cy / 2);
  s_->LineTo(X + m / 2 + 6, Y + cond.cy / 2);
  s_->LineTo(X + m / 2 + 6, ye);
  s_->LineTo(X, ye);
  DrawArrow(*s_, 0, X, ye, X, ye + S, target, d_.PrintMode);

  const int32_t yf = Y + cond.cy + S + ja.cy + body.cy;
  s_->MoveTo(X, yf);
  s_->LineTo(X, yf + 3);
  s_->LineTo(X - m / 2 - 6, yf + 3);
  s_->LineTo(X - m / 2 - 6, Y + cond.cy / 2);
  DrawArrow(*s_, 2, X - m / 2 - 6, Y + cond.cy / 2, X - cond.cx / 2, Y + cond.cy / 2, false,
            d_.PrintMode);

  const TSize nein = Nein();
  s_->TextOut(X - ja.cx - 2, Y + cond.cy, yesWord_);
  s_->TextOut(X + cond.cx / 2 - 4, Y + cond.cy / 2 - nein.cy, noWord_);
  NormalColors(*s_);
  return Measure(e).cy;
}

int32_t TFigurePass::DrawDoWhile(const TDoWhile& e, TPoint p) {
  const int32_t X = p.x, Y = p.y;
  const TSize cond = MeasureCondition(e);
  const TSize text = s_->TextExtent(e.Text);
  const TSize body = Measure(*e.Branch1);
  const bool selected = Highlighted(e);
  if (selected)
    Select(e, {X - cond.cx / 2, Y, X + cond.cx / 2, Y + cond.cy});

  DrawArrow(*s_, 0, X, Y, X, Y + 12, false, d_.PrintMode);
  DrawChain(e.Branch1, {X, Y + 12});
  if (selected)
    HighlightColors(*s_);

  const int32_t yd = Y + body.cy + 12;
  const std::string& loopLabel = e.LoopOnYes ? yesWord_ : noWord_;
  const std::string& exitLabel = e.LoopOnYes ? noWord_ : yesWord_;
  const int32_t wL = (e.LoopOnYes ? Ja() : Nein()).cx;
  const int32_t wE = (e.LoopOnYes ? Nein() : Ja()).cx;
  s_->TextOut(X - wE - 2, yd + cond.cy - 1, exitLabel);
  s_->TextOut(X - cond.cx / 2 - wL + 5, yd + cond.cy / 2 + 1, loopLabel);
  Diamond(e, X, yd, cond, text);

  const int32_t jh = Ja().cy;
  DrawArrow(*s_, 0, X, yd + cond.cy + 1, X, yd + cond.cy + 1 + jh, d_.DropTarget == &e,
            d_.PrintMode);
  const int32_t m = cond.cx > body.cx ? cond.cx : body.cx;
  s_->MoveTo(X - cond.cx / 2, yd + cond.cy / 2);
  s_->LineTo(X - m / 2 - 6, yd + cond.cy / 2);
  s_->LineTo(X - m / 2 - 6, Y + 4);
  DrawArrow(*s_, 2, X - m / 2 - 6, Y + 4, X - 1, Y + 4, false, d_.PrintMode);
  NormalColors(*s_);
  return Measure(e).cy;
}

// ---- TFigurePass: selection of skipped figures ----

void TFigurePass::FinishClipped(const TElement& top, TPoint anchor) {
  if (!d_.UseColor)
    return;
  int32_t listed = 0;
  for (int32_t i = 0; i < d_.SelectedCount; ++i) {
    const TElement* s = d_.Selected[i];
    bool earlier = false;
    for (int32_t j = 0; j < i; ++j)
      earlier = earlier || d_.Selected[j] == s;
    if (s && !earlier)
      ++listed;
  }
  if (selectedDrawn_ < listed) {
    // The last selected figure drawn writes the rectangle; with one selection the walk can
    // stop where it is found.
    toLocate_ = listed == 1 ? 1 : -1;
    LocateSelection(&top, anchor);
  }
}

void TFigurePass::LocateSelection(const TElement* e, TPoint p) {
  const int32_t S = d_.Spacing;
  for (; e && toLocate_ != 0; e = e->Next) {
    const TSize size = Measure(*e);
    const bool selected = d_.IsSelected(e);
    if (selected && toLocate_ > 0)
      --toLocate_;
    switch (e->Kind()) {
    case TKind::Anweisung:
      if (selected) {
        const int32_t w = d_.PrintMode ? size.cx - 2 * S : size.cx;
        d_.SelectedRect = {p.x - w / 2, p.y, p.x + w / 2, p.y + size.cy - S};
      }
      break;
    case TKind::Block: {
      const auto* b = static_cast<const TBlock*>(e);
      const int32_t hw = (d_.PrintMode ? size.cx - S : size.cx) / 2;
      if (selected)
        d_.SelectedRect = {p.x - hw, p.y, p.x + hw, p.y + size.cy};
      if (!d_.IsCollapsed(b))
        LocateSelection(b->Body, {p.x, p.y + S + 1});
      break;
    }
    default: {
      const auto* c = static_cast<const TBedingung*>(e);
      const TSize cond = MeasureCondition(*c);
      if (selected)
        d_.SelectedRect = {p.x - cond.cx / 2, p.y, p.x + cond.cx / 2, p.y + cond.cy};
      LocateSelection(c->Branch1, BranchAnchor(*c, p, 1));
      if (e->Kind() == TKind::If)
        LocateSelection(c->Branch2, BranchAnchor(*c, p, 2));
      break;
    }
    }
    if (e == d_.DrawRoot && e->Kind() == TKind::Block)
      break;
    p.y += size.cy;
  }
}

// ---- TFigurePass: where an element is drawn ----

bool TFigurePass::Locate(const TElement* e, TPoint p, const TElement* target,
                         const std::unordered_set<const TElement*>& around, TRect& rect,
                         bool& exact) {
  const int32_t S = d_.Spacing;
  for (; e; e = e->Next) {
    const TSize size = Measure(*e);
    const bool inside = around.count(e) > 0;
    if (e == target || inside) {
      switch (e->Kind()) {
      case TKind::Anweisung: {
        const int32_t w = d_.PrintMode ? size.cx - 2 * S : size.cx;
        rect = {p.x - w / 2, p.y, p.x + w / 2, p.y + size.cy - S};
        exact = true;
        return true;
      }
      case TKind::Block: {
        const auto* b = static_cast<const TBlock*>(e);
        const int32_t hw = (d_.PrintMode ? size.cx - S : size.cx) / 2;
        if (e == target || d_.IsCollapsed(b)) {
          rect = {p.x - hw, p.y, p.x + hw, p.y + size.cy};
          exact = e == target;
          return true;
        }
        if (Locate(b->Body, {p.x, p.y + S + 1}, target, around, rect, exact))
          return true;
        break;
      }
      default: {
        const auto* c = static_cast<const TBedingung*>(e);
        if (e == target) {
          const TSize cond = MeasureCondition(*c);
          // A loop testing after its body has its diamond below the body.
          const int32_t top = e->Kind() == TKind::DoWhile || e->Kind() == TKind::Repeat
                                  ? p.y + Measure(*c->Branch1).cy + 12
                                  : p.y;
          rect = {p.x - cond.cx / 2, top, p.x + cond.cx / 2, top + cond.cy};
          exact = true;
          return true;
        }
        for (int i = 1; i <= c->BranchCount; ++i)
          if (c->Branch(i) && Locate(c->Branch(i), BranchAnchor(*c, p, i), target, around, rect, exact))
            return true;
        break;
      }
      }
    }
    if (e == d_.DrawRoot && e->Kind() == TKind::Block)
      break;
    p.y += size.cy;
  }
  return false;
}

// ---- TFigurePass: hit testing ----

const TElement* TFigurePass::HitChain(const TElement* e, TPoint p, int32_t x, int32_t y) {
  const int32_t S = d_.Spacing;
  for (; e; e = e->Next) {
    const TSize size = Measure(*e);
    if (p.x - size.cx / 2 <= x && x <= p.x + size.cx / 2 && p.y <= y && y <= p.y + size.cy) {
      d_.DropAfter = false;
      if (e->Kind() == TKind::Anweisung)
        return e;
      if (e->Kind() == TKind::Block) {
        const auto* b = static_cast<const TBlock*>(e);
        if (!b->Body || d_.IsCollapsed(b))
          return e;
        const TElement* inner = HitChain(b->Body, {p.x, p.y + S + 1}, x, y);
        if (inner)
          return inner;
        if (b->Independent && y > p.y + S + 1)
          d_.DropAfter = true;
        return e;
      }
      const auto* c = static_cast<const TBedingung*>(e);
      const TElement* r = e;
      for (int i = 1; i <= c->BranchCount; ++i) {
        const TBlock* branch = c->Branch(i);
        if (!branch)
          continue;
        // Only a hit decides DropAfter; a branch that misses leaves an earlier hit's value.
        const bool before = d_.DropAfter;
        const TElement* ri = HitChain(branch, BranchAnchor(*c, p, i), x, y);
        if (ri)
          r = ri;
        else
          d_.DropAfter = before;
      }
      return r;
    }
    if (e == d_.DrawRoot && e->Kind() == TKind::Block)
      break;
    p.y += size.cy;
  }
  d_.DropAfter = false;
  return nullptr;
}

// ---- public entry points ----

std::unique_ptr<TDiagramPass> MakeDiagramPass(TSurface& surface, TDisplayOptions& display,
                                              bool cacheSizes, const TRect* clip) {
  if (display.Notation == TNotation::Nsd)
    return std::make_unique<TNsdPass>(surface, display, cacheSizes, clip);
  return std::make_unique<TFigurePass>(surface, display, cacheSizes, clip);
}

TSize Measure(const TElement& e, TSurface& surface, TDisplayOptions& display,
              TRenderOptions options) {
  // Without the cache a nested figure is measured again for every level that holds it.
  return MakeDiagramPass(surface, display, options.cacheSizes)->Measure(e);
}

void Draw(const TElement& e, TSurface& surface, TPoint anchor, TDisplayOptions& display,
          TRenderOptions options) {
  MakeDiagramPass(surface, display, options.cacheSizes)->DrawChain(&e, anchor);
}

void DrawClipped(const TElement& e, TSurface& surface, TPoint anchor, TDisplayOptions& display,
                 const TRect& clip) {
  const auto pass = MakeDiagramPass(surface, display, true, &clip);
  pass->DrawChain(&e, anchor);
  pass->FinishClipped(e, anchor);
}

TElement* HitTest(TElement& e, TSurface& surface, TPoint anchor, TDisplayOptions& display,
                  int32_t x, int32_t y, TRenderOptions options) {
  // The pass works on const elements; the result is one of e's own, which the caller may change.
  return const_cast<TElement*>(
      MakeDiagramPass(surface, display, options.cacheSizes)->HitChain(&e, anchor, x, y));
}

TSize MeasureCondition(const TBedingung& e, TSurface& surface) {
  TDisplayOptions unused;
  return TFigurePass(surface, unused, false).MeasureCondition(e);
}

TPoint BranchAnchor(const TBedingung& e, TSurface& surface, TPoint anchor, TDisplayOptions& display,
                    int index, TRenderOptions options) {
  return TFigurePass(surface, display, options.cacheSizes).BranchAnchor(e, anchor, index);
}

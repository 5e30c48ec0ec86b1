// SPDX-License-Identifier: MIT
#include "render/nsd_pass.h"

#include "render/check_marks.h"
#include "render/run_marks.h"
#include "model/texts.h"
#include "model/windows1252.h"

#include <algorithm>

namespace {

constexpr TColor kBlockShade = 0xF0F0F0; // a named block's frame around its body

bool IsLoopBefore(TKind k) {
  return k == TKind::While || k == TKind::For;
}
bool IsLoopAfter(TKind k) {
  return k == TKind::DoWhile || k == TKind::Repeat;
}

} // namespace

TNsdPass::TNsdPass(TSurface& surface, TDisplayOptions& display, bool cacheSizes,
                   const TRect* clip)
    : s_(&surface), d_(display), cache_(cacheSizes || clip != nullptr), clip_(clip),
      yesWord_(Utf8ToWindows1252(Tr("Diagramm", "ja"))),
      noWord_(Utf8ToWindows1252(Tr("Diagramm", "nein"))),
      loopWords_{Utf8ToWindows1252(Tr("Diagramm", "solange")),
                 Utf8ToWindows1252(Tr("Diagramm", "bis")), std::string()} {
  TextHeight(); // sets the margins from the surface's text height
}

void TNsdPass::Retarget(TSurface& surface, const TRect* clip) {
  s_ = &surface;
  clip_ = clip;
  selectedDrawn_ = 0;
}

int32_t TNsdPass::WordWidth(const TElement& e) const {
  const int word = LoopWordIndex(e);
  return word < 2 ? wordWidths_[word] : 0;
}

int TNsdPass::LoopWordIndex(const TElement& e) {
  switch (e.Kind()) {
  case TKind::While:
  case TKind::DoWhile:
    return 0;
  case TKind::Repeat:
    return 1;
  default:
    return 2;
  }
}

int32_t TNsdPass::TextHeight() {
  if (textHeight_ < 0) {
    textHeight_ = s_->TextExtent(yesWord_).cy;
    jaWidth_ = s_->TextExtent(yesWord_).cx;
    neinWidth_ = s_->TextExtent(noWord_).cx;
    const int32_t space = s_->TextExtent(" ").cx;
    for (int i = 0; i < 3; ++i)
      wordWidths_[i] = s_->TextExtent(loopWords_[i]).cx + space;
    // The margins grow with the text: on a printer page they keep their look on screen, where
    // a text is 13 units high.
    const int32_t th = std::max(textHeight_, 1);
    m_.Pad = std::max(1, th * 4 / 13);
    m_.Indent = std::max(2, th * 6 / 13);
    m_.Bar = std::max(6, th * 20 / 13);
    m_.Margin = std::max(2, th * 6 / 13);
    m_.EmptyWidth = std::max(10, th * 30 / 13);
  }
  return textHeight_;
}

TNsdPass::TColumn TNsdPass::BodyOf(const TBlock* block, bool branch) const {
  if (!block)
    return {};
  return {block->Body, branch ? block->Next : nullptr, block};
}

TSize TNsdPass::Measure(const TElement& e) {
  if (!cache_ || e.Kind() == TKind::Anweisung)
    return Compute(e);
  TSize size;
  if (sizes_.Find(&e, size))
    return size;
  size = Compute(e);
  sizes_.Put(&e, size);
  return size;
}

TSize TNsdPass::ColumnSize(const TColumn& c) {
  // A column's size is asked for by its measuring, drawing and hit testing alike: kept by its
  // owner, as the boxes' sizes are.
  TSize kept;
  // Kept beside the boxes' sizes, under the owner's address with its lowest bit set, which no
  // element's address has.
  const auto* key = reinterpret_cast<const TElement*>(reinterpret_cast<uintptr_t>(c.Owner) | 1);
  if (cache_ && c.Owner && sizes_.Find(key, kept))
    return kept;
  TSize r{m_.EmptyWidth, 0};
  for (const TElement* chain : {c.Head, c.Tail})
    for (const TElement* e = chain; e; e = e->Next) {
      const TSize s = Measure(*e);
      r.cx = std::max(r.cx, s.cx);
      r.cy += s.cy;
    }
  if (r.cy == 0)
    r.cy = TextHeight() + 2 * m_.Pad; // an empty field, to click and to drop into
  if (cache_ && c.Owner)
    sizes_.Put(key, r);
  return r;
}

int32_t TNsdPass::HeaderHeight(const TElement& e) {
  const int32_t th = TextHeight();
  // A decision's header holds the condition above the row of "ja" and "nein".
  return e.Kind() == TKind::If ? 2 * th + 2 * m_.Pad : th + 2 * m_.Pad;
}

TSize TNsdPass::Compute(const TElement& e) {
  const int32_t th = TextHeight();
  const int32_t I = m_.Indent, P = m_.Pad, M = m_.Margin;
  switch (e.Kind()) {
  case TKind::Anweisung:
    return {Text(e.Text).cx + 2 * I, th + 2 * P};
  case TKind::Block: {
    const auto& b = static_cast<const TBlock&>(e);
    const TSize title = Text(b.Text);
    if (IsDiagramRoot(e)) {
      const TSize c = ColumnSize(BodyOf(&b, false));
      return {std::max(title.cx, c.cx), th + P + c.cy};
    }
    if (d_.IsCollapsed(&b))
      return {title.cx + 2 * I + 2 * M, th + 2 * P};
    const TSize c = ColumnSize(BodyOf(&b, false));
    return {std::max(title.cx + 2 * I, c.cx + 2 * M), th + 2 * P + c.cy + M};
  }
  case TKind::If: {
    const auto& c = static_cast<const TBedingung&>(e);
    const TSize yes = ColumnSize(BodyOf(c.Branch1, true));
    const TSize no = ColumnSize(BodyOf(c.Branch2, true));
    return {YesWidth(c, -1), HeaderHeight(e) + std::max(yes.cy, no.cy)};
  }
  default: {
    const auto& c = static_cast<const TBedingung&>(e);
    const TSize body = ColumnSize(BodyOf(c.Branch1, true));
    const int32_t words =
        WordWidth(e);
    return {std::max(words + Text(e.Text).cx + 2 * I, m_.Bar + body.cx),
            HeaderHeight(e) + body.cy};
  }
  }
}

// The yes-side's width for a drawn width w; w 0 gives the smallest yes-side, -1 the smallest
// whole width. Each side is at least as wide as the condition, so that the diagonals pass below
// its text, and wide enough for its label in the corner and for its branch.
int32_t TNsdPass::YesWidth(const TBedingung& e, int32_t w) {
  const int32_t tw = Text(e.Text).cx;
  const int32_t P = m_.Pad;
  const int32_t need = tw + 2 * P;
  const int32_t yes = std::max({need, 2 * (jaWidth_ + P), ColumnSize(BodyOf(e.Branch1, true)).cx});
  const int32_t no =
      std::max({need, 2 * (neinWidth_ + P), ColumnSize(BodyOf(e.Branch2, true)).cx});
  if (w == 0)
    return yes;
  if (w < 0)
    return yes + no;
  return yes + std::max(0, w - yes - no) / 2;
}

// ---- drawing ----

bool TNsdPass::Visible(int32_t x, int32_t y, int32_t w, int32_t h) const {
  if (!clip_)
    return true;
  constexpr int32_t kMargin = 8; // breakpoint dots and drop marks reach a little outside
  return x - kMargin < clip_->right && x + w + kMargin >= clip_->left &&
         y - kMargin < clip_->bottom && y + h + kMargin >= clip_->top;
}

TColor TNsdPass::FillOf(const TElement& e) const {
  const TRunMarks* marks = d_.UseColor ? d_.Marks : nullptr;
  if (!marks)
    return kWhite;
  const bool here = marks->IsCurrent(&e) ||
                    (e.Kind() == TKind::Block && d_.IsCollapsed(static_cast<const TBlock*>(&e)) &&
                     marks->Contains(&e));
  if (!here)
    return kWhite;
  return marks->Failed ? kRunFailedFill : kRunCurrentFill;
}

void TNsdPass::Frame(int32_t x, int32_t y, int32_t w, int32_t h, TColor fill) {
  // Boxes tile their column: a box's area ends where the next one's begins, and neighbours
  // share the line between them, which each draws (a box of width w has its lines at x and
  // x + w).
  const TColor brush = s_->GetBrushColor();
  s_->SetBrushColor(fill);
  s_->FillRect(x, y, x + w, y + h);
  s_->SetBrushColor(brush);
  s_->MoveTo(x, y);
  s_->LineTo(x + w, y);
  s_->LineTo(x + w, y + h);
  s_->LineTo(x, y + h);
  s_->LineTo(x, y);
}

void TNsdPass::Label(int32_t x, int32_t y, const std::string& text) {
  const TColor brush = s_->GetBrushColor();
  s_->SetBrushColor(kWhite);
  s_->TextOut(x, y, text);
  s_->SetBrushColor(brush);
}

void TNsdPass::Marks(const TElement& e, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (d_.UseColor && d_.Checks && d_.Checks->Has(&e))
    DrawCheckFlag(*s_, x + w, y);
  const TRunMarks* marks = d_.UseColor ? d_.Marks : nullptr;
  if (!marks || !marks->IsBreakpoint(&e))
    return;
  const TColor pen = s_->GetPenColor(), brush = s_->GetBrushColor();
  s_->SetPenColor(kBreakpointPen);
  s_->SetBrushColor(kBreakpointFill);
  const int32_t cy = y + h / 2;
  s_->Ellipse(x - 4, cy - 4, x + 5, cy + 5);
  s_->SetPenColor(pen);
  s_->SetBrushColor(brush);
}

void TNsdPass::DropMark(const TElement& e, int32_t x, int32_t y, int32_t w, int32_t h,
                        int32_t bodyTop) {
  if (d_.DropTarget != &e)
    return;
  // Into the head of a block's body, or after the element: a thick red line where it goes.
  const bool intoBody = e.Kind() == TKind::Block && !d_.DropAfter && bodyTop >= 0;
  const int32_t at = intoBody ? bodyTop : y + h;
  const TColor pen = s_->GetPenColor();
  s_->SetPenColor(kRed);
  for (int32_t dy = -1; dy <= 1; ++dy) {
    s_->MoveTo(x, at + dy);
    s_->LineTo(x + w + 1, at + dy);
  }
  s_->SetPenColor(pen);
}

void TNsdPass::DrawColumn(const TColumn& c, int32_t x, int32_t y, int32_t w, int32_t h) {
  int32_t at = y;
  for (const TElement* chain : {c.Head, c.Tail}) {
    for (const TElement* e = chain; e; e = e->Next) {
      const int32_t eh = Measure(*e).cy;
      if (clip_ && at - 8 >= clip_->bottom)
        break; // this and every later box lie below
      if (Visible(x, at, w, eh))
        DrawBox(*e, x, at, w, eh);
      at += eh;
    }
  }
  // What the boxes leave free is an empty field of the column's owner.
  const bool ownerSelected =
      c.Owner && !c.Owner->Independent && d_.UseColor && d_.IsSelected(c.Owner);
  if (at < y + h || (!c.Head && !c.Tail)) {
    const int32_t rest = std::max(y + h - at, 0);
    if (ownerSelected)
      HighlightColors(*s_);
    Frame(x, at, w, rest, kWhite);
    if (ownerSelected)
      NormalColors(*s_);
  }
  if (ownerSelected) {
    d_.SelectedRect = {x, y, x + w + 1, y + h + 1};
    ++selectedDrawn_;
  }
  if (c.Owner && !c.Owner->Independent)
    DropMark(*c.Owner, x, y, w, h, y + 1);
}

void TNsdPass::DrawBox(const TElement& e, int32_t x, int32_t y, int32_t w, int32_t h) {
  const int32_t th = TextHeight();
  const int32_t I = m_.Indent, P = m_.Pad, M = m_.Margin;
  const bool selected = d_.UseColor && d_.IsSelected(&e);
  if (selected) {
    HighlightColors(*s_);
    d_.SelectedRect = {x, y, x + w + 1, y + h + 1};
    ++selectedDrawn_;
  }
  int32_t bodyTop = -1;
  switch (e.Kind()) {
  case TKind::Anweisung:
    Frame(x, y, w, h, FillOf(e));
    Label(x + I, y + P, e.Text);
    break;
  case TKind::Block: {
    const auto& b = static_cast<const TBlock&>(e);
    if (IsDiagramRoot(e)) {
      s_->TextOut(x, y, b.Text);
      bodyTop = y + th + P;
      NormalColors(*s_);
      DrawColumn(BodyOf(&b, false), x, bodyTop, w, h - th - P);
      if (selected)
        HighlightColors(*s_);
    } else if (d_.IsCollapsed(&b)) {
      Frame(x, y, w, h, FillOf(e));
      // Double side lines: the part is refined elsewhere.
      s_->MoveTo(x + M, y);
      s_->LineTo(x + M, y + h);
      s_->MoveTo(x + w - M, y);
      s_->LineTo(x + w - M, y + h);
      const TColor brush = s_->GetBrushColor();
      s_->SetBrushColor(FillOf(e));
      s_->TextOut(x + M + I, y + P, b.Text);
      s_->SetBrushColor(brush);
    } else {
      Frame(x, y, w, h, d_.UseColor ? kBlockShade : kWhite);
      const TColor brush = s_->GetBrushColor();
      s_->SetBrushColor(d_.UseColor ? kBlockShade : kWhite);
      s_->TextOut(x + I, y + P, b.Text);
      s_->SetBrushColor(brush);
      bodyTop = y + th + 2 * P;
      NormalColors(*s_);
      DrawColumn(BodyOf(&b, false), x + M, bodyTop, w - 2 * M, h - th - 2 * P - M);
      if (selected)
        HighlightColors(*s_);
    }
    break;
  }
  case TKind::If: {
    const auto& c = static_cast<const TBedingung&>(e);
    const int32_t hdr = HeaderHeight(e);
    const int32_t yes = YesWidth(c, w);
    const int32_t xs = x + yes;
    Frame(x, y, w, hdr, FillOf(e));
    s_->MoveTo(x, y);
    s_->LineTo(xs, y + hdr);
    s_->MoveTo(x + w, y);
    s_->LineTo(xs, y + hdr);
    const TColor brush = s_->GetBrushColor();
    s_->SetBrushColor(FillOf(e));
    s_->TextOut(xs - Text(e.Text).cx / 2, y + P, e.Text);
    s_->TextOut(x + P, y + hdr - th - 1, yesWord_);
    s_->TextOut(x + w - P - neinWidth_ + 1, y + hdr - th - 1, noWord_);
    s_->SetBrushColor(brush);
    Marks(e, x, y, w, hdr);
    NormalColors(*s_);
    DrawColumn(BodyOf(c.Branch1, true), x, y + hdr, yes, h - hdr);
    DrawColumn(BodyOf(c.Branch2, true), xs, y + hdr, w - yes, h - hdr);
    if (selected)
      HighlightColors(*s_);
    DropMark(e, x, y, w, h, -1);
    NormalColors(*s_);
    return;
  }
  default: {
    const auto& c = static_cast<const TBedingung&>(e);
    const int32_t hdr = HeaderHeight(e);
    const bool before = IsLoopBefore(e.Kind());
    const int32_t bodyY = before ? y + hdr : y;
    const int32_t textY = before ? y : y + h - hdr;
    Frame(x, textY, w, hdr, FillOf(e));
    Frame(x, bodyY, m_.Bar, h - hdr, kWhite);
    const std::string& word = LoopWord(e);
    const TColor brush = s_->GetBrushColor();
    s_->SetBrushColor(FillOf(e));
    int32_t tx = x + I;
    if (!word.empty()) {
      s_->TextOut(tx, textY + P, word);
      tx += WordWidth(e);
    }
    s_->TextOut(tx, textY + P, e.Text);
    s_->SetBrushColor(brush);
    Marks(e, x, textY, w, hdr);
    NormalColors(*s_);
    DrawColumn(BodyOf(c.Branch1, true), x + m_.Bar, bodyY, w - m_.Bar, h - hdr);
    if (selected)
      HighlightColors(*s_);
    DropMark(e, x, y, w, h, -1);
    NormalColors(*s_);
    (void)IsLoopAfter;
    return;
  }
  }
  Marks(e, x, y, w, h);
  DropMark(e, x, y, w, h, bodyTop);
  NormalColors(*s_);
}

void TNsdPass::RootBox(const TElement& root, TPoint anchor, int32_t& x, int32_t& y, int32_t& w,
                       int32_t& h) {
  const TSize size = Measure(root);
  x = anchor.x - size.cx / 2;
  y = anchor.y;
  w = size.cx;
  h = size.cy;
}

void TNsdPass::DrawChain(const TElement* e, TPoint anchor) {
  if (!e)
    return;
  if (IsDiagramRoot(*e)) {
    int32_t x, y, w, h;
    RootBox(*e, anchor, x, y, w, h);
    DrawBox(*e, x, y, w, h);
    NormalColors(*s_);
    return;
  }
  // A chain on its own is a column as wide as its widest box.
  const TColumn column{e, nullptr, nullptr};
  const TSize size = ColumnSize(column);
  DrawColumn(column, anchor.x - size.cx / 2, anchor.y, size.cx, size.cy);
  NormalColors(*s_);
}

// ---- hit testing ----

const TElement* TNsdPass::HitColumn(const TColumn& c, int32_t x, int32_t y, int32_t w, int32_t h,
                                    int32_t px, int32_t py) {
  int32_t at = y;
  for (const TElement* chain : {c.Head, c.Tail}) {
    for (const TElement* e = chain; e; e = e->Next) {
      const int32_t eh = Measure(*e).cy;
      if (py < at + eh)
        return HitBox(*e, x, at, w, eh, px, py);
      at += eh;
    }
  }
  (void)h;
  d_.DropAfter = false;
  return c.Owner; // an empty field stands for its block
}

const TElement* TNsdPass::HitBox(const TElement& e, int32_t x, int32_t y, int32_t w, int32_t h,
                                 int32_t px, int32_t py) {
  const int32_t th = TextHeight();
  const int32_t P = m_.Pad, M = m_.Margin;
  d_.DropAfter = false;
  switch (e.Kind()) {
  case TKind::Anweisung:
    return &e;
  case TKind::Block: {
    const auto& b = static_cast<const TBlock&>(e);
    if (IsDiagramRoot(e)) {
      if (py < y + th + P)
        return &e;
      return HitColumn(BodyOf(&b, false), x, y + th + P, w, h - th - P, px, py);
    }
    if (d_.IsCollapsed(&b))
      return &e;
    const int32_t top = y + th + 2 * P;
    if (py >= top && py <= y + h - M && px >= x + M && px <= x + w - M)
      return HitColumn(BodyOf(&b, false), x + M, top, w - 2 * M, h - th - 2 * P - M, px, py);
    // The frame below the title stands for the block itself: a drop there goes after it.
    d_.DropAfter = py >= top && b.Independent;
    return &e;
  }
  case TKind::If: {
    const auto& c = static_cast<const TBedingung&>(e);
    const int32_t hdr = HeaderHeight(e);
    if (py < y + hdr)
      return &e;
    const int32_t yes = YesWidth(c, w);
    if (px < x + yes)
      return HitColumn(BodyOf(c.Branch1, true), x, y + hdr, yes, h - hdr, px, py);
    return HitColumn(BodyOf(c.Branch2, true), x + yes, y + hdr, w - yes, h - hdr, px, py);
  }
  default: {
    const auto& c = static_cast<const TBedingung&>(e);
    const int32_t hdr = HeaderHeight(e);
    const bool before = IsLoopBefore(e.Kind());
    const int32_t bodyY = before ? y + hdr : y;
    if (py < bodyY || py >= bodyY + h - hdr || px < x + m_.Bar)
      return &e;
    return HitColumn(BodyOf(c.Branch1, true), x + m_.Bar, bodyY, w - m_.Bar, h - hdr, px, py);
  }
  }
}

const TElement* TNsdPass::HitChain(const TElement* e, TPoint anchor, int32_t px, int32_t py) {
  d_.DropAfter = false;
  if (!e)
    return nullptr;
  int32_t x, y, w, h;
  if (IsDiagramRoot(*e)) {
    RootBox(*e, anchor, x, y, w, h);
    if (px < x || px > x + w || py < y || py > y + h)
      return nullptr;
    return HitBox(*e, x, y, w, h, px, py);
  }
  const TColumn column{e, nullptr, nullptr};
  const TSize size = ColumnSize(column);
  x = anchor.x - size.cx / 2;
  if (px < x || px > x + size.cx || py < anchor.y || py > anchor.y + size.cy)
    return nullptr;
  return HitColumn(column, x, anchor.y, size.cx, size.cy, px, py);
}

// ---- where an element is drawn ----

bool TNsdPass::FindColumn(const TColumn& c, int32_t x, int32_t y, int32_t w, int32_t h,
                          const TElement* target, const std::unordered_set<const TElement*>* around,
                          TRect& rect, bool& exact) {
  if (c.Owner == target && !c.Owner->Independent) {
    rect = {x, y, x + w + 1, y + h + 1};
    exact = true;
    return true;
  }
  int32_t at = y;
  for (const TElement* chain : {c.Head, c.Tail})
    for (const TElement* e = chain; e; e = e->Next) {
      const int32_t eh = Measure(*e).cy;
      if (FindBox(*e, x, at, w, eh, target, around, rect, exact))
        return true;
      at += eh;
    }
  return false;
}

bool TNsdPass::FindBox(const TElement& e, int32_t x, int32_t y, int32_t w, int32_t h,
                       const TElement* target, const std::unordered_set<const TElement*>* around,
                       TRect& rect, bool& exact) {
  if (&e == target) {
    rect = {x, y, x + w + 1, y + h + 1};
    exact = true;
    return true;
  }
  if (around && !around->count(&e) && !IsDiagramRoot(e))
    return false; // the walk enters only what target lies in, and always the diagram
  const int32_t th = TextHeight();
  const int32_t P = m_.Pad, M = m_.Margin;
  switch (e.Kind()) {
  case TKind::Anweisung:
    return false;
  case TKind::Block: {
    const auto& b = static_cast<const TBlock&>(e);
    if (IsDiagramRoot(e))
      return FindColumn(BodyOf(&b, false), x, y + th + P, w, h - th - P, target, around, rect,
                        exact);
    if (d_.IsCollapsed(&b)) {
      if (!around)
        return false;
      rect = {x, y, x + w + 1, y + h + 1}; // the collapsed block stands for what it holds
      exact = false;
      return true;
    }
    return FindColumn(BodyOf(&b, false), x + M, y + th + 2 * P, w - 2 * M, h - th - 2 * P - M,
                      target, around, rect, exact);
  }
  case TKind::If: {
    const auto& c = static_cast<const TBedingung&>(e);
    const int32_t hdr = HeaderHeight(e);
    const int32_t yes = YesWidth(c, w);
    return FindColumn(BodyOf(c.Branch1, true), x, y + hdr, yes, h - hdr, target, around, rect,
                      exact) ||
           FindColumn(BodyOf(c.Branch2, true), x + yes, y + hdr, w - yes, h - hdr, target, around,
                      rect, exact);
  }
  default: {
    const auto& c = static_cast<const TBedingung&>(e);
    const int32_t hdr = HeaderHeight(e);
    const int32_t bodyY = IsLoopBefore(e.Kind()) ? y + hdr : y;
    return FindColumn(BodyOf(c.Branch1, true), x + m_.Bar, bodyY, w - m_.Bar, h - hdr, target,
                      around, rect, exact);
  }
  }
}

bool TNsdPass::Locate(const TElement* e, TPoint anchor, const TElement* target,
                      const std::unordered_set<const TElement*>& around, TRect& rect,
                      bool& exact) {
  if (!e || !IsDiagramRoot(*e))
    return false;
  int32_t x, y, w, h;
  RootBox(*e, anchor, x, y, w, h);
  return FindBox(*e, x, y, w, h, target, &around, rect, exact);
}

void TNsdPass::FinishClipped(const TElement& top, TPoint anchor) {
  const TElement* selected = d_.CurrentSelection();
  if (!d_.UseColor || !selected || selectedDrawn_ > 0 || !IsDiagramRoot(top))
    return;
  int32_t x, y, w, h;
  RootBox(top, anchor, x, y, w, h);
  TRect rect;
  bool exact = false;
  if (FindBox(top, x, y, w, h, selected, nullptr, rect, exact))
    d_.SelectedRect = rect;
}

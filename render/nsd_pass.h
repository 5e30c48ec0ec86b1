// SPDX-License-Identifier: MIT
// The Nassi-Shneiderman diagram: every element a box filling its column's width. A statement is
// a box with its text; a decision a header with the condition over the triangle labelled "ja"
// and "nein", its branches side by side below; a loop testing before an L of header and left
// bar around its body, one testing after the reversed L with the condition in the bottom bar; a
// named block a titled box around its body, collapsed a box with double side lines; the
// window's root the whole diagram with its title above.
#pragma once

#include "render/diagram_pass.h"
#include "render/figure_pass.h"

#include <string>

// Geometry of the boxes, in the surface's units.
struct TNsdMetrics {
  int32_t Pad = 4;      // above and below a text
  int32_t Indent = 6;   // before a text
  int32_t Bar = 20;     // a loop's left bar
  int32_t Margin = 6;   // a named block's frame around its body
  int32_t EmptyWidth = 30;
};

class TNsdPass final : public TDiagramPass {
public:
  TNsdPass(TSurface& surface, TDisplayOptions& display, bool cacheSizes, const TRect* clip);

  void Retarget(TSurface& surface, const TRect* clip) override;
  TSize Measure(const TElement& e) override;
  void DrawChain(const TElement* e, TPoint anchor) override;
  const TElement* HitChain(const TElement* e, TPoint anchor, int32_t x, int32_t y) override;
  bool Locate(const TElement* e, TPoint anchor, const TElement* target,
              const std::unordered_set<const TElement*>& around, TRect& rect,
              bool& exact) override;
  void FinishClipped(const TElement& top, TPoint anchor) override;

private:
  // The word before a loop's condition ("solange", "bis"), empty for a counting loop.
  const std::string& LoopWord(const TElement& e) const { return loopWords_[LoopWordIndex(e)]; }
  static int LoopWordIndex(const TElement& e);
  // A column: a chain of boxes one below the other, and after it a second chain (what follows a
  // branch block inside its branch).
  struct TColumn {
    const TElement* Head = nullptr;
    const TElement* Tail = nullptr;
    const TBlock* Owner = nullptr; // what an empty part of the column stands for
  };
  TColumn BodyOf(const TBlock* block, bool branch) const;
  TSize ColumnSize(const TColumn& c);
  TSize Compute(const TElement& e);
  int32_t TextHeight();
  TSize Text(const std::string& text) { return s_->TextExtent(text); }
  // The window's root is the whole diagram; so is the document's root, which is no named block,
  // wherever it is measured before a window drew it.
  bool IsDiagramRoot(const TElement& e) const {
    return &e == d_.DrawRoot || (e.Kind() == TKind::Block && !e.Independent);
  }
  // The decision's split: the width of its yes-side for a drawn width w.
  int32_t YesWidth(const TBedingung& e, int32_t w);
  int32_t HeaderHeight(const TElement& e);

  void DrawColumn(const TColumn& c, int32_t x, int32_t y, int32_t w, int32_t h);
  void DrawBox(const TElement& e, int32_t x, int32_t y, int32_t w, int32_t h);
  void Frame(int32_t x, int32_t y, int32_t w, int32_t h, TColor fill);
  void Label(int32_t x, int32_t y, const std::string& text);
  bool Visible(int32_t x, int32_t y, int32_t w, int32_t h) const;
  TColor FillOf(const TElement& e) const;
  void Marks(const TElement& e, int32_t x, int32_t y, int32_t w, int32_t h);
  void DropMark(const TElement& e, int32_t x, int32_t y, int32_t w, int32_t h,
                int32_t bodyTop);

  const TElement* HitColumn(const TColumn& c, int32_t x, int32_t y, int32_t w, int32_t h,
                            int32_t px, int32_t py);
  const TElement* HitBox(const TElement& e, int32_t x, int32_t y, int32_t w, int32_t h,
                         int32_t px, int32_t py);
  // Rectangle of target (or of a collapsed block of `around` holding it) inside a column.
  bool FindColumn(const TColumn& c, int32_t x, int32_t y, int32_t w, int32_t h,
                  const TElement* target, const std::unordered_set<const TElement*>* around,
                  TRect& rect, bool& exact);
  bool FindBox(const TElement& e, int32_t x, int32_t y, int32_t w, int32_t h,
               const TElement* target, const std::unordered_set<const TElement*>* around,
               TRect& rect, bool& exact);
  // Where the box of the whole diagram lies for the anchor.
  void RootBox(const TElement& root, TPoint anchor, int32_t& x, int32_t& y, int32_t& w,
               int32_t& h);

  TSurface* s_;
  TDisplayOptions& d_;
  bool cache_;
  const TRect* clip_;
  TSizeCache sizes_; // the boxes', and the columns' by their owner
  TNsdMetrics m_;
  // The words the diagram shows, translated once for the pass (Windows-1252, as surfaces draw
  // texts): the branch labels and the loop words, the last one empty.
  const std::string yesWord_, noWord_;
  const std::string loopWords_[3];
  int32_t textHeight_ = -1;
  int32_t jaWidth_ = 0, neinWidth_ = 0;
  int32_t wordWidths_[3] = {}; // the loop words with the blank after them
  // The width of a loop's word and the blank after it (0 for a counting loop).
  int32_t WordWidth(const TElement& e) const;
  int32_t selectedDrawn_ = 0;
};

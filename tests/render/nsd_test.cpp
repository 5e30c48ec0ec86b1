// SPDX-License-Identifier: MIT
// The Nassi-Shneiderman diagram's boxes: sizes, texts that never overlap or leave their boxes,
// hit tests at every box's parts.
#include "render/diagram_paint.h"
#include "render/figures.h"
#include "render/nsd_pass.h"
#include "render/recording_surface.h"
#include "tests/render/test_tree.h"

#include <gtest/gtest.h>

#include <string>
#include <unordered_set>
#include <vector>

namespace {

TDisplayOptions Nsd(TBlock* root) {
  TDisplayOptions d;
  d.Notation = TNotation::Nsd;
  d.DrawRoot = root;
  return d;
}

TEST(Nsd, BoxSizes) {
  // Texts are 6 units a byte and 13 high; boxes have 6 before a text and 4 above and below.
  struct Row {
    const char* name;
    TOwned<TElement> (*make)();
    TSize size;
  };
  const Row rows[] = {
      {"statement", [] { return TOwned<TElement>(TAnweisung::CreateWithText("abc").release()); },
       {30, 21}},
      {"empty statement",
       [] { return TOwned<TElement>(TAnweisung::CreateWithText("").release()); }, {12, 21}},
      {"named block holding a statement",
       [] {
         TOwned<TBlock> b = TBlock::CreateWithText("Teil");
         Append(*b, TAnweisung::CreateWithText("abc"));
         return TOwned<TElement>(b.release());
       },
       {42, 48}},
      // Each side of a decision is as wide as its condition and twice its label and margin.
      {"decision", [] { return TOwned<TElement>(TIf::CreateWithText("x").release()); }, {88, 55}},
      {"wide decision",
       [] { return TOwned<TElement>(TIf::CreateWithText("abcdefghijklmn").release()); },
       {184, 55}},
      {"loop testing before",
       [] { return TOwned<TElement>(TWhile::CreateWithText("x").release()); }, {66, 42}},
      {"counting loop",
       [] { return TOwned<TElement>(TFor::CreateWithText("i := 1 bis 3").release()); }, {84, 42}},
      {"loop testing after, until",
       [] { return TOwned<TElement>(TRepeat::CreateWithText("x").release()); }, {50, 42}},
      {"loop testing after, while",
       [] { return TOwned<TElement>(TDoWhile::CreateWithText("x").release()); }, {66, 42}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    RecordingSurface s;
    TDisplayOptions d = Nsd(nullptr);
    const TOwned<TElement> e = row.make();
    EXPECT_EQ(Measure(*e, s, d), row.size);
  }
  RecordingSurface s;
  TOwned<TBlock> part = TBlock::CreateWithText("Teil");
  TDisplayOptions d = Nsd(nullptr);
  d.ToggleCollapsed(part.get());
  EXPECT_EQ(Measure(*part, s, d), (TSize{48, 21})); // double side lines 6 inside
  TOwned<TBlock> root = MakeRoot();
  d = Nsd(root.get());
  EXPECT_EQ(Measure(*root, s, d), (TSize{102, 38})); // the title above an empty field
}

// Every text drawn lies inside the diagram and overlaps no other, for trees of every kind.
TEST(Nsd, TextsNeitherOverlapNorLeaveTheDiagram) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    TOwned<TBlock> root = TreeGenerator(seed).Make(60, 4);
    RecordingSurface s;
    TDisplayOptions d = Nsd(root.get());
    const TSize size = Measure(*root, s, d);
    DisplayStruktogramm(s, {size.cx / 2 + 30, 15}, *root, d);
    const TRect diagram{30, 15, 30 + size.cx + 1, 15 + size.cy + 1};
    std::vector<TRect> texts;
    for (const RecordingSurface::Call& c : s.calls) {
      if (c.text.rfind("TextOut(", 0) != 0 || c.bounds.right == c.bounds.left)
        continue;
      EXPECT_GE(c.bounds.left, diagram.left) << c.text;
      EXPECT_LE(c.bounds.right, diagram.right) << c.text;
      EXPECT_GE(c.bounds.top, diagram.top) << c.text;
      EXPECT_LE(c.bounds.bottom, diagram.bottom) << c.text;
      for (const TRect& other : texts)
        EXPECT_FALSE(c.bounds.left < other.right && other.left < c.bounds.right &&
                     c.bounds.top < other.bottom && other.top < c.bounds.bottom)
            << c.text;
      texts.push_back(c.bounds);
    }
  }
}

// A click at any box's own part finds its element; in an empty branch, the branch.
TEST(Nsd, HitTestsFindEveryBox) {
  for (unsigned seed = 1; seed <= 10; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    TOwned<TBlock> root = TreeGenerator(seed).Make(50, 3);
    std::vector<TElement*> all;
    TreeGenerator::Collect(root->Body, all);
    const std::unordered_set<const TElement*> everything(all.begin(), all.end());
    RecordingSurface s;
    TDisplayOptions d = Nsd(root.get());
    TNsdPass pass(s, d, true, nullptr);
    const TPoint anchor{pass.Measure(*root).cx / 2 + 30, 15};
    for (TElement* e : all) {
      TRect r;
      bool exact = false;
      ASSERT_TRUE(pass.Locate(root.get(), anchor, e, everything, r, exact)) << e->Text;
      TPoint p{r.left + 2, r.top + 2}; // a header, a title, a statement's corner
      if (e->Kind() == TKind::DoWhile || e->Kind() == TKind::Repeat)
        p = {r.left + 2, r.bottom - 3}; // the bar at the bottom
      const auto* b = As<TBlock>(e);
      if (b && !b->Independent && (b->Body || b->Next))
        continue; // a branch with elements is all theirs
      EXPECT_EQ(pass.HitChain(root.get(), anchor, p.x, p.y), e) << e->Text;
    }
    EXPECT_EQ(pass.HitChain(root.get(), anchor, 5, 5), nullptr);
  }
}

} // namespace

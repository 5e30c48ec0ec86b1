// SPDX-License-Identifier: MIT
// Which element lies under a point, and where a drop would link it.
#include "render/figures.h"

#include "render/diagram_paint.h"
#include "render/recording_surface.h"
#include "test_tree.h"

#include <gtest/gtest.h>

namespace {

struct HitTestFixture : ::testing::Test {
  RecordingSurface s;
  TDisplayOptions d;
  void SetUp() override {
    s.SetExtent("ja", 12, 13);
    s.SetExtent("nein", 24, 13);
  }
};

TEST_F(HitTestFixture, StatementBoundsAreInclusive) {
  s.SetExtent("s", 50, 13);
  auto first = TAnweisung::CreateWithText("s");
  TElement* second = Follow(*first, TAnweisung::CreateWithText("s"));
  struct Case {
    int x, y;
    TElement* expected;
  };
  const Case cases[] = {
      {69, 20, first.get()},   {68, 20, nullptr},       {131, 20, first.get()},
      {132, 20, nullptr},      {131, 50, first.get()},  // row 50 shared: the upper one
      {100, 51, second},       {100, 80, second},       {100, 81, nullptr},
      {100, 19, nullptr},
  };
  for (const Case& c : cases) {
    d.DropAfter = true;
    EXPECT_EQ(HitTest(*first, s, {100, 20}, d, c.x, c.y), c.expected) << c.x << "," << c.y;
    EXPECT_FALSE(d.DropAfter) << c.x << "," << c.y;
  }
}

// root at (200, 15); block b at (200, 22), 46 x 45; its statement "a" at (200, 29), 18 x 30.
struct BlockHits : HitTestFixture {
  TOwned<TBlock> root = MakeRoot();
  TBlock* b = nullptr;
  TElement* a = nullptr;
  void SetUp() override {
    HitTestFixture::SetUp();
    b = Append(*root, TBlock::CreateWithText("b"));
    a = Append(*b, TAnweisung::CreateWithText("a"));
    d.DrawRoot = root.get();
  }
  TElement* Hit(int x, int y) { return HitTest(*root, s, {200, 15}, d, x, y); }
};

TEST_F(BlockHits, TopStripAndBodySide) {
  struct Case {
    int x, y;
    const char* what;
    bool dropAfter;
  };
  const Case cases[] = {
      {180, 22, "b", false},    {180, 29, "b", false},  // rows ay .. ay + 7
      {180, 30, "b", true},     {180, 67, "b", true},   // row ay + 8 to the bottom row
      {222, 50, "b", true},     {200, 40, "a", false},  // on the body's statement
      {200, 22, "b", false},    {175, 40, "root", false},  // beside the block: the root itself
      {200, 68, "root", false}, {226, 90, nullptr, false}, {227, 30, nullptr, false},
  };
  for (const Case& c : cases) {
    d.DropAfter = !c.dropAfter;
    TElement* r = Hit(c.x, c.y);
    const std::string name = r == b ? "b" : r == a ? "a" : r == root.get() ? "root" : "";
    EXPECT_EQ(name, c.what ? c.what : "") << c.x << "," << c.y;
    EXPECT_EQ(d.DropAfter, c.dropAfter) << c.x << "," << c.y;
  }
}

TEST_F(BlockHits, CollapsedBlockHidesItsBody) {
  d.ToggleCollapsed(b);
  // collapsed: title (6, 13) -> 16 x 30
  EXPECT_EQ(Hit(200, 40), b);
  EXPECT_FALSE(d.DropAfter);
  EXPECT_EQ(Hit(200, 52), b);
  EXPECT_FALSE(d.DropAfter);
  EXPECT_EQ(Hit(200, 53), root.get());  // below the collapsed figure: the root's area
}

TEST_F(BlockHits, ShownInnerBlockNeverFindsItsSuccessors) {
  s.SetExtent("after", 50, 13);
  Follow(*b, TAnweisung::CreateWithText("after"));
  // a window showing b: b at (100, 15), 46 x 45, the statement "after" would be at y 60
  d.DrawRoot = b;
  EXPECT_EQ(HitTest(*b, s, {100, 15}, d, 100, 70), nullptr);
  EXPECT_EQ(HitTest(*b, s, {100, 15}, d, 100, 60), b);
  d.DrawRoot = root.get();
  EXPECT_NE(HitTest(*b, s, {100, 15}, d, 100, 70), nullptr);
}

TEST_F(HitTestFixture, DecisionBranchesAndDropAfter) {
  s.SetExtent("c", 60, 13);
  auto root = MakeRoot();
  TIf* dec = Append(*root, TIf::CreateWithText("c"));
  TBlock* yes = Append(*dec->Branch1, TBlock::CreateWithText("y"));
  Append(*yes, TAnweisung::CreateWithText("a"));
  TBlock* no = Append(*dec->Branch2, TBlock::CreateWithText("n"));
  Append(*no, TAnweisung::CreateWithText("a"));
  d.DrawRoot = root.get();
  const TPoint rootAnchor{400, 15};
  const TPoint decAnchor{400, 22};
  for (int index : {1, 2}) {
    TBlock* inner = index == 1 ? yes : no;
    TBlock* branch = dec->Branch(index);
    const TPoint a = BranchAnchor(*dec, s, decAnchor, d, index);
    // inner block at (a.x, a.y + 7), 46 x 45; beside its statement and below its top strip
    d.DropAfter = false;
    EXPECT_EQ(HitTest(*root, s, rootAnchor, d, a.x - 20, a.y + 7 + 20), inner) << index;
    EXPECT_TRUE(d.DropAfter) << index;
    // in the branch block's top strip, above the inner block
    d.DropAfter = true;
    EXPECT_EQ(HitTest(*root, s, rootAnchor, d, a.x, a.y + 2), branch) << index;
    EXPECT_FALSE(d.DropAfter) << index;
    // in the branch block beside the inner block, below the strip: still no DropAfter
    EXPECT_EQ(HitTest(*root, s, rootAnchor, d, a.x - 25, a.y + 30), branch) << index;
    EXPECT_FALSE(d.DropAfter) << index;
  }
  // the diamond and its labels yield the decision itself
  EXPECT_EQ(HitTest(*root, s, rootAnchor, d, 400, 22 + 17), dec);
  EXPECT_FALSE(d.DropAfter);
}

TEST_F(HitTestFixture, LoopBodyAndOwnDrawing) {
  s.SetExtent("c", 60, 13);
  auto root = MakeRoot();
  TElement* before = Append(*root, TWhile::CreateWithText("c"));
  TElement* after = Append(*root, TRepeat::CreateWithText("c"));
  d.DrawRoot = root.get();
  const TPoint p1{300, 22};
  const TPoint b1 = BranchAnchor(*As<TBedingung>(before), s, p1, d, 1);
  EXPECT_EQ(HitTest(*root, s, {300, 15}, d, 300, b1.y + 1), As<TBedingung>(before)->Branch1);
  EXPECT_EQ(HitTest(*root, s, {300, 15}, d, 300, 22 + 10), before);  // in the diamond
  const TPoint p2{300, 22 + 109};
  EXPECT_EQ(BranchAnchor(*As<TBedingung>(after), s, p2, d, 1), (TPoint{300, 22 + 109 + 12}));
  EXPECT_EQ(HitTest(*root, s, {300, 15}, d, 300, p2.y + 13), As<TBedingung>(after)->Branch1);
  EXPECT_EQ(HitTest(*root, s, {300, 15}, d, 300, p2.y + 47 + 17), after);  // its diamond
}

TEST_F(HitTestFixture, WindowHitTestUsesTheRootAnchor) {
  auto root = MakeRoot();
  TElement* a = Append(*root, TAnweisung::CreateWithText("a"));
  // root 46 wide: anchor (53, 15); the statement at (53, 22), 18 x 30
  EXPECT_EQ(HitTestStruktogramm(s, *root, d, 53, 22), a);
  EXPECT_EQ(HitTestStruktogramm(s, *root, d, 44, 40), a);
  EXPECT_EQ(HitTestStruktogramm(s, *root, d, 43, 40), root.get());
  EXPECT_EQ(HitTestStruktogramm(s, *root, d, 29, 40), nullptr);
  EXPECT_EQ(d.DrawRoot, root.get());
}

TEST_F(HitTestFixture, CachedHitTestsMatchTheLiteralWalk) {
  for (unsigned seed = 11; seed <= 14; ++seed) {
    TreeGenerator gen(seed);
    auto root = gen.Make(150, 5);
    std::vector<TElement*> all;
    TreeGenerator::Collect(root.get(), all);
    TDisplayOptions opts;
    opts.DrawRoot = root.get();
    for (size_t i = 3; i < all.size(); i += 17)
      if (auto* blk = As<TBlock>(all[i])) opts.ToggleCollapsed(blk);
    const TSize size = Measure(*root, s, opts);
    const TPoint anchor{size.cx / 2 + 30, 15};
    int hits = 0;
    for (int y = 0; y < size.cy + 30; y += 7) {
      for (int x = 0; x < size.cx + 60; x += 5) {
        TElement* literal = HitTest(*root, s, anchor, opts, x, y, TRenderOptions{false});
        const bool literalAfter = opts.DropAfter;
        opts.DropAfter = !literalAfter;
        TElement* cached = HitTest(*root, s, anchor, opts, x, y);
        ASSERT_EQ(cached, literal) << seed << ": " << x << "," << y;
        ASSERT_EQ(opts.DropAfter, literalAfter) << seed << ": " << x << "," << y;
        hits += literal != nullptr && literal != root.get();
      }
    }
    EXPECT_GT(hits, 100) << seed;
  }
}

}  // namespace

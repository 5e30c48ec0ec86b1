// SPDX-License-Identifier: MIT
// Clipped drawing against the literal walk, and trees too deep or long for recursion.
#include "render/figures.h"

#include "render/diagram_paint.h"
#include "render/recording_surface.h"
#include "test_tree.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

bool Intersects(const TRect& a, const TRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The drawing calls that touch the clip, each with the state it was drawn in.
std::vector<std::string> InClip(const RecordingSurface& s, const TRect& clip) {
  std::vector<std::string> out;
  for (const auto& c : s.calls) {
    if (!c.drawing || !Intersects(c.bounds, clip)) continue;
    out.push_back(c.text + " pen=" + std::to_string(c.pen) + " brush=" + std::to_string(c.brush) +
                  " font=" + std::to_string(c.font) + " width=" + std::to_string(c.penWidth) +
                  (c.style == TPenStyle::Dotted ? " dotted" : ""));
  }
  return out;
}

TEST(ClippedDrawingTest, SameCallsInsideTheClipAsTheLiteralWalk) {
  for (unsigned seed = 21; seed <= 26; ++seed) {
    TreeGenerator gen(seed);
    auto root = gen.Make(600, 8);
    std::vector<TElement*> all;
    TreeGenerator::Collect(root.get(), all);
    for (bool print : {false, true}) {
      TDisplayOptions d;
      d.PrintMode = print;
      d.UseColor = !print;
      d.Spacing = print ? 9 : 6;
      d.AddSelection(all[(seed * 31) % all.size()]);
      d.DropTarget = all[(seed * 17) % all.size()];
      d.DropAfter = seed % 2 == 0;
      for (size_t i = 5; i < all.size(); i += 41)
        if (auto* b = As<TBlock>(all[i])) d.ToggleCollapsed(b);
      RecordingSurface probe;
      const TSize size = Measure(*root, probe, d);
      const TPoint anchor{size.cx / 2 + 30, 15};
      const TRect clips[] = {
          {0, 0, 400, 300},
          {size.cx / 3, size.cy / 2, size.cx / 3 + 640, size.cy / 2 + 480},
          {size.cx - 200, size.cy - 100, size.cx + 100, size.cy + 100},
          {-1000, size.cy / 4, size.cx + 1000, size.cy / 4 + 1},  // one row across
          {size.cx / 2, 0, size.cx / 2 + 1, size.cy + 50},        // one column down
      };
      for (const TRect& clip : clips) {
        RecordingSurface literal, clipped;
        d.SelectedRect = {};
        DisplayStruktogramm(literal, anchor, *root, d, nullptr, TRenderOptions{false});
        const TRect literalRect = d.SelectedRect;
        d.SelectedRect = {};
        DisplayStruktogramm(clipped, anchor, *root, d, &clip);
        const std::string where = std::to_string(seed) + (print ? " print " : " screen ") +
                                  std::to_string(clip.left) + "," + std::to_string(clip.top);
        const auto expected = InClip(literal, clip);
        EXPECT_EQ(InClip(clipped, clip), expected) << where;
        EXPECT_EQ(d.SelectedRect, literalRect) << where;
        EXPECT_GT(expected.size(), 0u) << where;
        if (clip.bottom - clip.top > 100 && clip.right - clip.left > 100 && size.cy > 2000) {
          EXPECT_LT(clipped.calls.size() * 2, literal.calls.size()) << where;
        }
      }
    }
  }
}

TEST(ClippedDrawingTest, SelectionOutsideTheClipStillSetsTheRectangle) {
  auto root = MakeRoot();
  for (int i = 0; i < 200; ++i) Append(*root, TAnweisung::CreateWithText("x := " + std::to_string(i)));
  std::vector<TElement*> all;
  TreeGenerator::Collect(root.get(), all);
  TDisplayOptions d;
  d.AddSelection(all[150]);
  RecordingSurface s;
  const TRect clip{0, 0, 300, 200};
  DisplayStruktogramm(s, {100, 15}, *root, d, &clip);
  // statement 150 is anchored 149 statements of 30 rows below the body's top (22)
  EXPECT_EQ(d.SelectedRect.top, 22 + 149 * 30);
  EXPECT_EQ(d.SelectedRect.bottom, 22 + 149 * 30 + 24);
  for (const auto& c : s.calls) EXPECT_EQ(c.text.find("x := 150"), std::string::npos);
}

// Loops, decisions and blocks nested 1000 deep, with a statement at the bottom.
TOwned<TBlock> DeepTree(int depth) {
  auto root = MakeRoot();
  TBlock* at = root.get();
  for (int i = 0; i < depth; ++i) {
    switch (i % 5) {
      case 0: at = Append(*at, TWhile::CreateWithText("w"))->Branch1; break;
      case 1: at = Append(*at, TDoWhile::CreateWithText("d"))->Branch1; break;
      case 2: at = Append(*at, TIf::CreateWithText("i"))->Branch2; break;
      case 3: at = Append(*at, TRepeat::CreateWithText("r"))->Branch1; break;
      default: at = Append(*at, TBlock::CreateWithText("b")); break;
    }
  }
  Append(*at, TAnweisung::CreateWithText("innermost"));
  return root;
}

TEST(DeepTreeTest, ThousandNestedLoopsDrawMeasureAndHit) {
  auto root = DeepTree(1000);
  for (bool cached : {true, false}) {
    RecordingSurface s;
    TDisplayOptions d;
    d.DrawRoot = root.get();
    const TSize size = Measure(*root, s, d, TRenderOptions{cached});
    EXPECT_GT(size.cy, 1000 * 30);
    DisplayStruktogramm(s, {size.cx / 2 + 30, 15}, *root, d, nullptr, TRenderOptions{cached});
    const RecordingSurface::Call* text = nullptr;
    for (const auto& c : s.calls)
      if (c.text.find(",innermost)") != std::string::npos) text = &c;
    ASSERT_NE(text, nullptr);
    const int x = text->bounds.left + 1, y = text->bounds.top + 1;
    TElement* hit = HitTest(*root, s, {size.cx / 2 + 30, 15}, d, x, y, TRenderOptions{cached});
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->Text, "innermost");
  }
}

TEST(LongChainTest, HundredThousandStatements) {
  auto root = MakeRoot();
  TElement* last = Append(*root, TAnweisung::CreateWithText("first"));
  for (int i = 1; i < 100000; ++i) last = Follow(*last, TAnweisung::CreateWithText("s"));
  last->Text = "last";
  RecordingSurface s;
  TDisplayOptions d;
  // "s" is 18 x 30, "first" 42 x 30: the root is 48 wide and 100 000 * 30 + 15 high
  const TSize size = Measure(*root, s, d);
  EXPECT_EQ(size, (TSize{48, 100000 * 30 + 15}));
  const TPoint anchor{54, 15};
  EXPECT_EQ(HitTestStruktogramm(s, *root, d, 54, 22 + 99999 * 30 + 1), last);
  const TRect clip{0, size.cy - 100, 200, size.cy + 15};
  DisplayStruktogramm(s, anchor, *root, d, &clip);
  bool lastDrawn = false;
  for (const auto& c : s.calls) lastDrawn = lastDrawn || c.text.find(",last)") != std::string::npos;
  EXPECT_TRUE(lastDrawn);
  EXPECT_LT(s.calls.size(), 200u);
  s.calls.clear();
  DisplayStruktogramm(s, anchor, *root, d);
  EXPECT_GT(s.calls.size(), 100000u * 10);
}

}  // namespace

// SPDX-License-Identifier: MIT
// The per-window display state and the arrow helper.
#include "render/display_options.h"

#include "figure_test_util.h"
#include "test_tree.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(DisplayOptionsTest, FreshRecord) {
  TDisplayOptions d;
  auto b = TBlock::CreateWithText("b");
  EXPECT_EQ(d.CurrentSelection(), nullptr);
  EXPECT_FALSE(d.IsSelected(b.get()));
  EXPECT_FALSE(d.IsCollapsed(b.get()));
  EXPECT_TRUE(d.UseColor);
  EXPECT_FALSE(d.PrintMode);
  EXPECT_EQ(d.Spacing, 6);
}

TEST(DisplayOptionsTest, SelectionList) {
  TDisplayOptions d;
  auto a = TAnweisung::CreateWithText("a");
  auto b = TAnweisung::CreateWithText("b");
  d.AddSelection(a.get());
  d.AddSelection(a.get());
  EXPECT_EQ(d.SelectedCount, 1);
  d.AddSelection(b.get());
  EXPECT_EQ(d.CurrentSelection(), b.get());
  EXPECT_TRUE(d.IsSelected(a.get()));
  d.SelectedRect = {1, 2, 3, 4};
  d.ClearSelection();
  EXPECT_EQ(d.SelectedCount, 0);
  EXPECT_EQ(d.Selected[0], nullptr);
  EXPECT_EQ(d.Selected[1], nullptr);
  EXPECT_EQ(d.SelectedRect, (TRect{1, 2, 3, 4}));
  d.AddSelection(nullptr);
  EXPECT_EQ(d.SelectedCount, 1);
  EXPECT_EQ(d.CurrentSelection(), nullptr);
}

TEST(DisplayOptionsTest, ToggleKeepsOrder) {
  TDisplayOptions d;
  std::vector<TOwned<TBlock>> blocks;
  for (int i = 0; i < 4; ++i) blocks.push_back(TBlock::CreateWithText("b"));
  for (auto& b : blocks) d.ToggleCollapsed(b.get());
  d.ToggleCollapsed(blocks[1].get());
  EXPECT_EQ(d.CollapsedCount, 3);
  EXPECT_EQ(d.Collapsed[0], blocks[0].get());
  EXPECT_EQ(d.Collapsed[1], blocks[2].get());
  EXPECT_EQ(d.Collapsed[2], blocks[3].get());
  EXPECT_EQ(d.Collapsed[3], nullptr);
  EXPECT_FALSE(d.IsCollapsed(blocks[1].get()));
  d.ToggleCollapsed(blocks[1].get());
  EXPECT_EQ(d.Collapsed[3], blocks[1].get());
  EXPECT_EQ(d.Collapsed[0], blocks[0].get());
}

TEST(DisplayOptionsTest, HundredFirstEntryIsRefused) {
  TDisplayOptions d;
  std::vector<TOwned<TBlock>> blocks;
  for (int i = 0; i < 101; ++i) blocks.push_back(TBlock::CreateWithText("b"));
  for (int i = 0; i < 100; ++i) EXPECT_TRUE(d.ToggleCollapsed(blocks[i].get()));
  EXPECT_FALSE(d.ToggleCollapsed(blocks[100].get()));
  EXPECT_EQ(d.CollapsedCount, 100);
  EXPECT_FALSE(d.IsCollapsed(blocks[100].get()));
  // removing still works on a full list, and makes room again
  EXPECT_TRUE(d.ToggleCollapsed(blocks[0].get()));
  EXPECT_TRUE(d.ToggleCollapsed(blocks[100].get()));
  EXPECT_TRUE(d.IsCollapsed(blocks[100].get()));

  for (int i = 0; i < 100; ++i) EXPECT_TRUE(d.AddSelection(blocks[i].get()));
  EXPECT_FALSE(d.AddSelection(blocks[100].get()));
  EXPECT_TRUE(d.AddSelection(blocks[5].get()));  // already listed: nothing to add
  EXPECT_EQ(d.SelectedCount, 100);
  EXPECT_EQ(d.CurrentSelection(), blocks[99].get());
}

struct ArrowCase {
  int kind;
  bool highlight, print;
  std::vector<std::string> calls;
};

TEST(DrawArrowTest, KindsHighlightAndPrint) {
  const ArrowCase cases[] = {
      {0, false, false,
       {"SetBrushColor(0)", "MoveTo(10,20)", "LineTo(10,40)",
        "Polygon((8,38),(12,38),(10,40))", "SetBrushColor(7)"}},
      {2, false, false,
       {"SetBrushColor(0)", "MoveTo(10,20)", "LineTo(10,40)",
        "Polygon((8,38),(8,42),(10,40))", "SetBrushColor(7)"}},
      {4, false, false,
       {"SetBrushColor(0)", "MoveTo(10,20)", "LineTo(10,40)", "LineTo(10,41)",
        "SetBrushColor(7)"}},
      {1, false, false, {"SetBrushColor(0)", "MoveTo(10,20)", "LineTo(10,40)", "SetBrushColor(7)"}},
      {3, false, false, {"SetBrushColor(0)", "MoveTo(10,20)", "LineTo(10,40)", "SetBrushColor(7)"}},
      {5, true, true,
       {"SetBrushColor(0)", "MoveTo(10,20)", "LineTo(10,40)", "SetPenColor(0)",
        "SetBrushColor(7)"}},
      {0, true, false,
       {"SetBrushColor(0)", "SetPenColor(255)", "SetBrushColor(255)", "MoveTo(10,20)",
        "LineTo(10,40)", "Polygon((8,38),(12,38),(10,40))", "SetPenColor(0)",
        "SetBrushColor(7)"}},
      {0, true, true,
       {"SetBrushColor(0)", "MoveTo(10,20)", "LineTo(10,40)",
        "Polygon((0,30),(20,30),(10,40))", "SetPenColor(0)", "SetBrushColor(7)"}},
      {2, false, true,
       {"SetBrushColor(0)", "MoveTo(10,20)", "LineTo(10,40)",
        "Polygon((0,30),(0,50),(10,40))", "SetBrushColor(7)"}},
  };
  for (const auto& c : cases) {
    RecordingSurface s;
    s.SetBrushColor(7);
    s.SetPenColor(0x00FF00);
    s.calls.clear();
    DrawArrow(s, c.kind, 10, 20, 10, 40, c.highlight, c.print);
    EXPECT_EQ(s.Lines(), c.calls) << c.kind << c.highlight << c.print;
    EXPECT_EQ(s.GetBrushColor(), 7u);
    EXPECT_EQ(s.GetPenColor(), c.highlight ? kBlack : 0x00FF00u);
  }
}

TEST(DrawArrowTest, HeadFillAndOutline) {
  RecordingSurface s;
  s.SetPenColor(kRed);  // a selected figure's pen, without highlight
  DrawArrow(s, 0, 0, 0, 0, 10, false, false);
  const auto* head = FindCall(s, "Polygon((-2,8),(2,8),(0,10))");
  ASSERT_NE(head, nullptr);
  EXPECT_EQ(head->pen, kRed);
  EXPECT_EQ(head->brush, kBlack);
}

}  // namespace

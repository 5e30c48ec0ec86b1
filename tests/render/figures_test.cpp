// SPDX-License-Identifier: MIT
// Geometry, colours and marking of every figure, on a recording surface.
#include "render/figures.h"

#include "model/texts.h"
#include "figure_test_util.h"
#include "test_tree.h"

#include <gtest/gtest.h>

namespace {

struct FigureTest : ::testing::Test {
  RecordingSurface s;
  TDisplayOptions d;
  void SetUp() override {
    UseExampleExtents(s);
    s.SetBrushColor(kScreenBackground);
    s.calls.clear();
  }
};

TEST_F(FigureTest, StatementDrawsBoxTextAndConnectorInOrder) {
  s.SetExtent("s", 50, 13);
  auto st = TAnweisung::CreateWithText("s");
  EXPECT_EQ(Measure(*st, s, d), (TSize{62, 30}));
  Draw(*st, s, {100, 20}, d);
  const std::vector<std::string> expected = {
      "SetBrushColor(16777215)",
      "FillRect(69,20,131,44)",
      "Rectangle(69,20,131,44)",
      "TextOut(74,25,s)",
      "SetBrushColor(0)",
      "MoveTo(100,43)",
      "LineTo(100,49)",
      "Polygon((98,47),(102,47),(100,49))",
      "SetBrushColor(16777215)",
      "SetPenColor(0)",
      "SetFontColor(0)",
      "SetBrushColor(49673717)",
  };
  EXPECT_EQ(s.Lines(), expected);
}

TEST_F(FigureTest, SuccessorAnchorsFollowMeasuredHeights) {
  s.SetExtent("s", 50, 13);
  auto first = TAnweisung::CreateWithText("s");
  TAnweisung* second = Follow(*first, TAnweisung::CreateWithText("s"));
  Follow(*second, TBlock::CreateWithText("b"));
  Draw(*first, s, {100, 20}, d);
  // statement 30 high, then statement at 50, block at 80 (frame from row 80 to 108)
  EXPECT_TRUE(InOrder(s, {"FillRect(69,20,131,44)", "FillRect(69,50,131,74)",
                          "Polygon((77,80),(123,80),(123,108),(77,108))"}));
}

TEST_F(FigureTest, PrintModeWidensLayoutButNotTheBox) {
  s.SetExtent("s", 50, 13);
  auto st = TAnweisung::CreateWithText("s");
  d.PrintMode = true;
  for (int sp : {3, 6, 25}) {
    d.Spacing = sp;
    EXPECT_EQ(Measure(*st, s, d), (TSize{62 + 2 * sp, 24 + sp})) << sp;
    s.calls.clear();
    Draw(*st, s, {100, 20}, d);
    EXPECT_TRUE(InOrder(s, {"FillRect(69,20,131," + std::to_string(44) + ")"})) << sp;
    // print-mode arrow heads are 10 wide on each side, whatever the spacing
    const int tip = 20 + 24 + sp - 1;
    EXPECT_TRUE(InOrder(s, {"Polygon((90," + std::to_string(tip - 10) + "),(110," +
                                std::to_string(tip - 10) + "),(100," + std::to_string(tip) +
                                "))"}))
        << sp;
  }
}

struct BlockSizeCase {
  const char* name;
  bool collapsed;
  int bodyWidth;  // statement text width, -1 for an empty body
  bool print;
  int spacing;
  TSize expected;
};

TEST_F(FigureTest, BlockSizes) {
  const BlockSizeCase cases[] = {
      {"empty", false, -1, false, 6, {46, 35}},
      {"empty print s=6", false, -1, true, 6, {106 + 6, 23 + 12}},
      {"empty print s=9", false, -1, true, 9, {106 + 9, 23 + 18}},
      // statement 30 wide (text 18): minimum 40 + 6
      {"narrow body", false, 18, false, 6, {46, 45}},
      // statement 112 wide: 112 + 6, height 30 + 15
      {"wide body", false, 100, false, 6, {118, 45}},
      // collapsed: title extent (6*5=30, 13) + (10, 17), body ignored
      {"collapsed", true, 100, false, 6, {40, 30}},
      {"collapsed print", true, 100, true, 4, {40 + 4, 13 + 11 + 4}},
  };
  for (const auto& c : cases) {
    auto b = TBlock::CreateWithText("Block");
    if (c.bodyWidth >= 0) {
      s.SetExtent("body", c.bodyWidth, 13);
      Append(*b, TAnweisung::CreateWithText("body"));
    }
    TDisplayOptions opts;
    opts.PrintMode = c.print;
    opts.Spacing = c.spacing;
    if (c.collapsed) opts.ToggleCollapsed(b.get());
    EXPECT_EQ(Measure(*b, s, opts), c.expected) << c.name;
  }
}

TEST_F(FigureTest, EmptyIndependentBlockDrawsFrameAndTwoArrows) {
  auto b = TBlock::CreateWithText("b");
  Draw(*b, s, {100, 20}, d);
  const std::vector<std::string> expected = {
      "SetBrushColor(49672175)",  // 0x02F5F5F5 - 1542
      "SetPenStyle(Dotted)",
      "SetPenColor(8421504)",
      "SetPenWidth(1)",
      "Polygon((77,20),(123,20),(123,48),(77,48))",
      "SetPenColor(0)",
      "SetPenStyle(Solid)",
      // connector below the frame
      "SetBrushColor(0)",
      "MoveTo(100,48)",
      "LineTo(100,54)",
      "Polygon((98,52),(102,52),(100,54))",
      "SetBrushColor(49672175)",
      // through-arrow of the empty body
      "SetBrushColor(0)",
      "MoveTo(100,20)",
      "LineTo(100,48)",
      "Polygon((98,46),(102,46),(100,48))",
      "SetBrushColor(49672175)",
      "SetBrushColor(49673717)",
      "SetPenColor(0)",
      "SetFontColor(0)",
  };
  EXPECT_EQ(s.Lines(), expected);
  const auto* frame = FindCall(s, "Polygon((77,20),(123,20),(123,48),(77,48))");
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->style, TPenStyle::Dotted);
  EXPECT_EQ(frame->pen, kGrey);
  EXPECT_EQ(frame->brush & 0xFFFFFF, 0xF5EFEFu);  // 239, 239, 245
}

TEST_F(FigureTest, BlockWithBodyAndDependentEnd) {
  s.SetExtent("t", 38, 13);  // statement 50 x 30, block 56 x 45
  auto root = MakeRoot("r");
  Append(*root, TAnweisung::CreateWithText("t"));
  Draw(*root, s, {100, 20}, d);
  EXPECT_TRUE(InOrder(s, {
                             "Polygon((72,20),(128,20),(128,58),(72,58))",  // bottom y + bh + 8
                             "MoveTo(100,58)", "LineTo(100,64)",
                             "LineTo(100,65)",  // plain line end: no head below a root block
                             "MoveTo(100,20)", "LineTo(100,26)",  // entry arrow into the body
                             "FillRect(75,27,125,51)",            // body at (x, y + 7)
                         }));
  EXPECT_EQ(FindCall(s, "Polygon((98,62),(102,62),(100,64))"), nullptr);
}

TEST_F(FigureTest, CollapsedBlockShowsTitleAndNoEntryArrow) {
  auto b = TBlock::CreateWithText("Teil");  // title (24, 13): block 34 x 30
  Append(*b, TAnweisung::CreateWithText("hidden"));
  d.ToggleCollapsed(b.get());
  Draw(*b, s, {100, 20}, d);
  EXPECT_TRUE(InOrder(s, {"Polygon((83,20),(117,20),(117,43),(83,43))", "TextOut(88,25,Teil)",
                          "MoveTo(100,43)", "LineTo(100,49)"}));
  EXPECT_EQ(FindCall(s, "TextOut(0,0,hidden)"), nullptr);
  for (const auto& c : s.calls) EXPECT_EQ(c.text.find("hidden"), std::string::npos);
  EXPECT_EQ(FindCall(s, "MoveTo(100,20)"), nullptr);
}

// Decision with condition extent 60 x 13 and two empty branches, at (200, 20).
TEST_F(FigureTest, DecisionGeometry) {
  s.SetExtent("c", 60, 13);
  auto dec = TIf::CreateWithText("c");
  Follow(*dec, TAnweisung::CreateWithText("next"));
  EXPECT_EQ(MeasureCondition(*dec, s), (TSize{107, 35}));
  EXPECT_EQ(Measure(*dec, s, d), (TSize{113, 87}));
  EXPECT_EQ(BranchAnchor(*dec, s, {200, 20}, d, 1), (TPoint{174, 65}));
  EXPECT_EQ(BranchAnchor(*dec, s, {200, 20}, d, 2), (TPoint{226, 65}));
  Draw(*dec, s, {200, 20}, d);
  EXPECT_TRUE(InOrder(s, {
                             "MoveTo(174,50)", "LineTo(200,37)", "LineTo(226,50)",  // fork
                             "MoveTo(174,50)", "LineTo(174,64)",  // yes arrow, tip at yb - 1
                             "MoveTo(226,50)", "LineTo(226,64)",
                             "TextOut(160,51,ja)", "TextOut(228,51,nein)",
                             "Polygon((200,20),(253,37),(200,55),(147,37))",
                             "TextOut(170,31,c)",
                             "Polygon((151,65),(197,65),(197,93),(151,93))",  // yes branch
                             "Polygon((203,65),(249,65),(249,93),(203,93))",  // no branch
                             "MoveTo(174,100)", "LineTo(174,100)", "LineTo(226,100)",  // Y + 80
                             "MoveTo(200,101)", "LineTo(200,107)",  // exit arrow
                             "FillRect(182,107,218,131)",           // successor at Y + 87
                         }));
  const auto* diamond = FindCall(s, "Polygon((200,20),(253,37),(200,55),(147,37))");
  ASSERT_NE(diamond, nullptr);
  EXPECT_EQ(diamond->brush, kWhite);
  const auto* ja = FindCall(s, "TextOut(160,51,ja)");
  EXPECT_EQ(ja->brush, kScreenBackground);
}

TEST_F(FigureTest, NestedDecisionAndUnequalBranches) {
  s.SetExtent("c", 60, 13);
  auto outer = TIf::CreateWithText("c");
  Append(*outer->Branch1, TIf::CreateWithText("c"));
  EXPECT_EQ(Measure(*outer->Branch1, s, d), (TSize{119, 102}));
  EXPECT_EQ(Measure(*outer, s, d), (TSize{175, 154}));
  EXPECT_EQ(BranchAnchor(*outer, s, {200, 20}, d, 1).x, 174);
  EXPECT_EQ(BranchAnchor(*outer, s, {200, 20}, d, 2).x, 262);
  Draw(*outer, s, {200, 20}, d);
  EXPECT_NE(FindCall(s, "Polygon((174,72),(227,89),(174,107),(121,89))"), nullptr);

  // Branches 200 and 46 wide: columns at X - 26 and X + 103, figure 256 wide.
  s.SetExtent("wide", 182, 13);
  auto dec = TIf::CreateWithText("c");
  Append(*dec->Branch1, TAnweisung::CreateWithText("wide"));
  EXPECT_EQ(Measure(*dec->Branch1, s, d).cx, 200);
  EXPECT_EQ(Measure(*dec, s, d).cx, 256);
  EXPECT_EQ(BranchAnchor(*dec, s, {200, 20}, d, 1).x, 174);
  EXPECT_EQ(BranchAnchor(*dec, s, {200, 20}, d, 2).x, 303);
}

TEST_F(FigureTest, DecisionJoinsAtTheLongerColumn) {
  s.SetExtent("c", 60, 13);
  s.SetExtent("t", 38, 13);  // 30 high
  for (int longer : {1, 2}) {
    auto dec = TIf::CreateWithText("c");
    Append(longer == 1 ? *dec->Branch1 : *dec->Branch2, TAnweisung::CreateWithText("t"));
    Append(longer == 1 ? *dec->Branch1 : *dec->Branch2, TAnweisung::CreateWithText("t"));
    s.calls.clear();
    Draw(*dec, s, {200, 20}, d);
    // branch heights 75 and 35 from yb = 65: feet at 140 and 100
    const TPoint a1 = BranchAnchor(*dec, s, {200, 20}, d, 1);
    const TPoint a2 = BranchAnchor(*dec, s, {200, 20}, d, 2);
    const std::string x1 = std::to_string(a1.x), x2 = std::to_string(a2.x);
    if (longer == 1)
      EXPECT_TRUE(InOrder(s, {"MoveTo(" + x2 + ",100)", "LineTo(" + x2 + ",140)",
                              "LineTo(" + x1 + ",140)", "MoveTo(200,141)", "LineTo(200,147)"}));
    else
      EXPECT_TRUE(InOrder(s, {"MoveTo(" + x1 + ",100)", "LineTo(" + x1 + ",140)",
                              "LineTo(" + x2 + ",140)", "MoveTo(200,141)", "LineTo(200,147)"}));
  }
}

TEST_F(FigureTest, TestBeforeLoopGeometrySameForWhileAndFor) {
  s.SetExtent("w", 60, 13);
  auto loop = TWhile::CreateWithText("w");
  Follow(*loop, TAnweisung::CreateWithText("next"));
  EXPECT_EQ(Measure(*loop, s, d), (TSize{103 + 2 * 24, 109}));
  EXPECT_EQ(BranchAnchor(*loop, s, {200, 20}, d, 1), (TPoint{200, 75}));
  Draw(*loop, s, {200, 20}, d);
  EXPECT_TRUE(InOrder(s, {
                             "Polygon((200,20),(253,37),(200,55),(147,37))",
                             "MoveTo(200,55)", "LineTo(200,74)",  // entry arrow
                             "Polygon((177,75),(223,75),(223,103),(177,103))",  // body at Y + 55
                             "MoveTo(253,37)", "LineTo(259,37)", "LineTo(259,122)",
                             "LineTo(200,122)",  // exit path back at Y + 102
                             "MoveTo(200,122)", "LineTo(200,128)",
                             "MoveTo(200,109)", "LineTo(200,112)", "LineTo(141,112)",
                             "LineTo(141,37)",  // loop-back
                             "MoveTo(141,37)", "LineTo(147,37)", "Polygon((145,35),(145,39),(147,37))",
                             "TextOut(186,55,ja)", "TextOut(249,24,nein)",
                             "FillRect(182,129,218,153)",  // successor at Y + 109
                         }));
  const auto whileCalls = s.Lines();

  auto counting = TFor::CreateWithText("w");
  Follow(*counting, TAnweisung::CreateWithText("next"));
  EXPECT_EQ(Measure(*counting, s, d), Measure(*loop, s, d));
  s.calls.clear();
  Draw(*counting, s, {200, 20}, d);
  EXPECT_EQ(s.Lines(), whileCalls);
}

TEST_F(FigureTest, TestAfterLoopGeometryAndLabels) {
  s.SetExtent("w", 60, 13);
  auto doWhile = TDoWhile::CreateWithText("w");
  Follow(*doWhile, TAnweisung::CreateWithText("next"));
  EXPECT_EQ(Measure(*doWhile, s, d), (TSize{103 + 2 * 12, 97}));
  EXPECT_EQ(BranchAnchor(*doWhile, s, {200, 20}, d, 1), (TPoint{200, 32}));
  Draw(*doWhile, s, {200, 20}, d);
  EXPECT_TRUE(InOrder(s, {
                             "MoveTo(200,20)", "LineTo(200,32)",  // entry arrow, 12 long
                             "Polygon((177,32),(223,32),(223,60),(177,60))",  // body at Y + 12
                             "TextOut(174,101,nein)",  // exit label
                             "TextOut(140,85,ja)",     // loop label
                             "Polygon((200,67),(253,84),(200,102),(147,84))",  // top at Y + 47
                             "MoveTo(200,103)", "LineTo(200,116)",             // exit arrow
                             "MoveTo(147,84)", "LineTo(141,84)", "LineTo(141,24)",
                             "MoveTo(141,24)", "LineTo(199,24)",
                             "Polygon((197,22),(197,26),(199,24))",
                             "FillRect(182,117,218,141)",  // successor at Y + 97
                         }));

  auto repeat = TRepeat::CreateWithText("w");
  EXPECT_EQ(Measure(*repeat, s, d), (TSize{103 + 2 * 24, 97}));
  s.calls.clear();
  Draw(*repeat, s, {200, 20}, d);
  EXPECT_TRUE(InOrder(s, {"TextOut(186,101,ja)", "TextOut(128,85,nein)"}));
}

TEST_F(FigureTest, LoopWidthAgainstBodyWidth) {
  s.SetExtent("w", 60, 13);
  struct Case {
    TKind kind;
    int bodyWidth;  // measured width of the body block
    int width;
    int sideLine;  // distance of the side lines from X
  };
  const Case cases[] = {
      {TKind::DoWhile, 127, 127, 63 + 6},      // exactly cw + 2 wL - 4: unchanged
      {TKind::DoWhile, 128, 128 + 18, 64 + 6},  // one wider: body + 18
      {TKind::While, 151, 151, 75 + 6},
      {TKind::While, 152, 170, 76 + 6},
      {TKind::While, 46, 151, 53 + 6},  // narrow body: side lines from the diamond
  };
  for (const Case& c : cases) {
    s.SetExtent("body", c.bodyWidth - 18, 13);  // statement width - 6 of the block margin
    TOwned<TBedingung> loop;
    if (c.kind == TKind::DoWhile)
      loop.reset(TDoWhile::CreateWithText("w").release());
    else
      loop.reset(TWhile::CreateWithText("w").release());
    if (c.bodyWidth > 46) Append(*loop->Branch1, TAnweisung::CreateWithText("body"));
    ASSERT_EQ(Measure(*loop->Branch1, s, d).cx, c.bodyWidth);
    EXPECT_EQ(Measure(*loop, s, d).cx, c.width) << c.bodyWidth;
    s.calls.clear();
    Draw(*loop, s, {200, 20}, d);
    const std::string x = std::to_string(200 - c.sideLine);
    bool found = false;
    for (const auto& call : s.calls) found = found || call.text.rfind("LineTo(" + x + ",", 0) == 0;
    EXPECT_TRUE(found) << c.bodyWidth;
  }
}

// Every kind, selected or not, drop target or not, on screen and in print: brush restored, pen
// and font black, pen width as the mode wants it.
TEST_F(FigureTest, EveryFigureRestoresColours) {
  for (int kind = 0; kind < 7; ++kind) {
    for (int variant = 0; variant < 8; ++variant) {
      const bool selected = variant & 1, target = variant & 2, print = variant & 4;
      auto root = MakeRoot();
      TElement* e = nullptr;
      switch (kind) {
        case 0: e = Append(*root, TAnweisung::CreateWithText("a")); break;
        case 1: e = Append(*root, TBlock::CreateWithText("b")); break;
        case 2: e = Append(*root, TIf::CreateWithText("c")); break;
        case 3: e = Append(*root, TWhile::CreateWithText("c")); break;
        case 4: e = Append(*root, TFor::CreateWithText("c")); break;
        case 5: e = Append(*root, TDoWhile::CreateWithText("c")); break;
        default: e = Append(*root, TRepeat::CreateWithText("c")); break;
      }
      TDisplayOptions opts;
      if (selected) opts.AddSelection(e);
      if (target) opts.DropTarget = e;
      opts.UseColor = !print;
      opts.PrintMode = print;
      s.SetPenWidth(print ? 3 : 1);
      s.SetBrushColor(0x123456);
      s.calls.clear();
      Draw(*e, s, {300, 40}, opts);
      const std::string where = std::to_string(kind) + "/" + std::to_string(variant);
      EXPECT_EQ(s.GetBrushColor(), 0x123456u) << where;
      EXPECT_EQ(s.GetPenColor(), kBlack) << where;
      EXPECT_EQ(s.FontColor(), kBlack) << where;
      EXPECT_EQ(s.PenWidth(), print ? 3 : 1) << where;
      EXPECT_EQ(s.PenStyle(), TPenStyle::Solid) << where;
    }
  }
}

TEST_F(FigureTest, SelectionIsRedOnlyWithColour) {
  s.SetExtent("s", 50, 13);
  s.SetExtent("c", 60, 13);
  auto root = MakeRoot();
  TElement* st = Append(*root, TAnweisung::CreateWithText("s"));
  TBlock* b = Append(*root, TBlock::CreateWithText("b"));
  TElement* dec = Append(*root, TIf::CreateWithText("c"));
  TElement* wh = Append(*root, TWhile::CreateWithText("c"));
  TElement* dw = Append(*root, TDoWhile::CreateWithText("c"));
  // anchors along the root's body at (300, 7 + ...): statement 30, block 35, decision 87, ...
  const TRect sentinel{-1, -2, -3, -4};
  struct Case {
    TElement* e;
    TRect rect;
    std::string redCall;
  };
  const int yb = 7, yd = yb + 30 + 35, yw = yd + 87, ydw = yw + 109;
  const Case cases[] = {
      {st, {269, 7, 331, 31}, "Rectangle(269,7,331,31)"},
      {b, {277, 37, 323, 72}, "Polygon((277,37),(323,37),(323,65),(277,65))"},
      {dec, {247, yd, 353, yd + 35}, "Polygon((300,72),(353,89),(300,107),(247,89))"},
      {wh, {247, yw, 353, yw + 35}, "Polygon((300,159),(353,176),(300,194),(247,176))"},
      {dw, {247, ydw, 353, ydw + 35}, "MoveTo(300,268)"},
  };
  for (const Case& c : cases) {
    for (bool color : {true, false}) {
      TDisplayOptions opts;
      opts.UseColor = color;
      opts.AddSelection(c.e);
      opts.SelectedRect = sentinel;
      s.calls.clear();
      Draw(*root, s, {300, 0}, opts);
      EXPECT_EQ(opts.SelectedRect, color ? c.rect : sentinel) << c.redCall;
      const auto* call = FindCall(s, c.redCall);
      ASSERT_NE(call, nullptr) << c.redCall;
      EXPECT_EQ(call->pen, color ? kRed : kBlack) << c.redCall;
      // a body figure of a selected block is black unless selected itself
      int red = 0;
      for (const auto& k : s.calls) red += k.drawing && k.pen == kRed;
      EXPECT_EQ(red > 0, color) << c.redCall;
    }
  }
}

TEST_F(FigureTest, DropTargetMarking) {
  s.SetExtent("c", 60, 13);
  auto root = MakeRoot();
  TBlock* b = Append(*root, TBlock::CreateWithText("b"));
  Append(*b, TAnweisung::CreateWithText("a"));
  // block at (300, 7): body anchor 14, statement 30 high, block 45 high, frame bottom 45
  struct Case {
    bool after;
    bool collapsed;
    std::vector<std::string> red;
  };
  const Case cases[] = {
      {true, false, {"LineTo(300,51)"}},
      {false, false, {"LineTo(300,13)"}},
      {false, true, {}},
  };
  for (const Case& c : cases) {
    TDisplayOptions opts;
    opts.DropTarget = b;
    opts.DropAfter = c.after;
    if (c.collapsed) opts.ToggleCollapsed(b);
    s.calls.clear();
    Draw(*root, s, {300, 0}, opts);
    std::vector<std::string> red;
    for (const auto& k : s.calls)
      if (k.drawing && k.pen == kRed && k.text.rfind("LineTo", 0) == 0) red.push_back(k.text);
    EXPECT_EQ(red, c.red) << c.after << c.collapsed;
  }

  // Decision: joining lines and exit arrow; loops: test-before exit path, test-after exit arrow.
  struct Kind {
    TOwned<TElement> e;
    std::vector<std::string> red;
  };
  std::vector<Kind> kinds;
  kinds.push_back({TOwned<TElement>(TIf::CreateWithText("c").release()),
                   {"LineTo(274,80)", "LineTo(326,80)", "LineTo(300,87)",
                    "Polygon((298,85),(302,85),(300,87))"}});
  kinds.push_back({TOwned<TElement>(TWhile::CreateWithText("c").release()),
                   {"LineTo(359,17)", "LineTo(359,102)", "LineTo(300,102)", "LineTo(300,108)",
                    "Polygon((298,106),(302,106),(300,108))"}});
  kinds.push_back({TOwned<TElement>(TRepeat::CreateWithText("c").release()),
                   {"LineTo(300,96)", "Polygon((298,94),(302,94),(300,96))"}});
  for (auto& k : kinds) {
    for (bool print : {false, true}) {
      TDisplayOptions opts;
      opts.DropTarget = k.e.get();
      opts.PrintMode = print;
      opts.UseColor = !print;
      s.calls.clear();
      Draw(*k.e, s, {300, 0}, opts);
      std::vector<std::string> red;
      for (const auto& c : s.calls)
        if (c.drawing && c.pen == kRed) red.push_back(c.text);
      if (!print) {
        EXPECT_EQ(red, k.red) << k.red.front();
      } else if (k.e->Kind() == TKind::Repeat) {
        EXPECT_TRUE(red.empty());  // the red arrow is never drawn when printing
      } else {
        // The figure's own red pen does not look at the mode; the arrow head is filled black.
        EXPECT_FALSE(red.empty());
        for (const auto& c : s.calls) {
          if (c.drawing && c.pen == kRed && c.text.rfind("Polygon", 0) == 0) {
            EXPECT_EQ(c.brush, kBlack) << c.text;
          }
        }
      }
    }
  }
}

TEST_F(FigureTest, DrawRootStopsOnlyAtItsBlock) {
  auto b = TBlock::CreateWithText("b");
  Follow(*b, TAnweisung::CreateWithText("after"));
  d.DrawRoot = b.get();
  Draw(*b, s, {100, 0}, d);
  for (const auto& c : s.calls) EXPECT_EQ(c.text.find("after"), std::string::npos);

  d.DrawRoot = nullptr;
  s.calls.clear();
  Draw(*b, s, {100, 0}, d);
  EXPECT_NE(FindCall(s, "TextOut(84,40,after)"), nullptr);  // box 42 wide at y 35

  auto st = TAnweisung::CreateWithText("first");
  Follow(*st, TAnweisung::CreateWithText("after"));
  d.DrawRoot = st.get();
  s.calls.clear();
  Draw(*st, s, {100, 0}, d);
  EXPECT_NE(FindCall(s, "TextOut(84,35,after)"), nullptr);
}

TEST_F(FigureTest, CachedDrawingMakesTheSameCallsAsTheLiteralWalk) {
  for (unsigned seed = 1; seed <= 8; ++seed) {
    TreeGenerator gen(seed);
    auto root = gen.Make(300, 6);
    std::vector<TElement*> all;
    TreeGenerator::Collect(root.get(), all);
    TDisplayOptions opts;
    opts.DrawRoot = root.get();
    opts.AddSelection(all[seed * 7 % all.size()]);
    opts.DropTarget = all[seed * 13 % all.size()];
    opts.DropAfter = seed % 2;
    for (TElement* e : all)
      if (As<TBlock>(e) && e != root.get() && opts.CollapsedCount < 3 && (e->Text.size() % 3 == 0))
        opts.ToggleCollapsed(As<TBlock>(e));
    RecordingSurface literal, cached;
    Draw(*root, literal, {500, 15}, opts, TRenderOptions{false});
    const TRect literalRect = opts.SelectedRect;
    Draw(*root, cached, {500, 15}, opts);
    EXPECT_EQ(cached.Lines(), literal.Lines()) << seed;
    EXPECT_EQ(opts.SelectedRect, literalRect);
    EXPECT_LT(cached.extentQueries, literal.extentQueries) << seed;
    EXPECT_EQ(Measure(*root, cached, opts), Measure(*root, literal, opts, TRenderOptions{false}));
  }
}

// Each pass draws the words of the language shown when it starts, in the surfaces' code page.
TEST(DiagramWords, FollowTheLanguageOfEachPass) {
  const auto texts = [](RecordingSurface& s) {
    std::vector<std::string> out;
    for (const auto& c : s.calls)
      if (c.text.rfind("TextOut(", 0) == 0) { // "TextOut(x,y,text)"
        const std::size_t comma = c.text.rfind(',');
        out.push_back(c.text.substr(comma + 1, c.text.size() - comma - 2));
      }
    return out;
  };
  const auto has = [](const std::vector<std::string>& v, const std::string& text) {
    return std::find(v.begin(), v.end(), text) != v.end();
  };
  auto decision = TIf::CreateWithText("c");
  Follow(*decision, TRepeat::CreateWithText("r"));
  SetTranslator([](const char* context, const char* german) -> std::string {
    const std::string g = german;
    if (std::string(context) != "Diagramm")
      return std::string();
    return g == "ja" ? "oui" : g == "nein" ? "n\xC3\xA9" : g == "bis" ? "until" : std::string();
  });
  for (TNotation notation : {TNotation::Flow, TNotation::Nsd}) {
    SCOPED_TRACE(notation == TNotation::Nsd ? "Nassi-Shneiderman" : "flowchart");
    RecordingSurface s;
    TDisplayOptions d;
    d.Notation = notation;
    Draw(*decision, s, {200, 20}, d);
    const std::vector<std::string> drawn = texts(s);
    EXPECT_TRUE(has(drawn, "oui"));
    EXPECT_TRUE(has(drawn, "n\xE9")); // Windows-1252, as the element texts
    EXPECT_FALSE(has(drawn, "ja"));
    EXPECT_EQ(has(drawn, "until"), notation == TNotation::Nsd);
  }
  SetTranslator(nullptr);
  RecordingSurface s;
  TDisplayOptions d;
  Draw(*decision, s, {200, 20}, d);
  EXPECT_TRUE(has(texts(s), "ja"));
}

}  // namespace

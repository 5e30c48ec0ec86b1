// SPDX-License-Identifier: MIT
#include "diagram_test_support.h"

#include <QApplication>
#include <QMenu>
#include <QWheelEvent>

namespace {

class InputTest : public DiagramTest {
protected:
  // Presses on from, moves to to and releases there, with the given button.
  void Drag(TForm1& window, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton) {
    QWidget* view = window.viewport();
    QTest::mousePress(view, button, {}, from);
    QTest::mouseMove(view, to);
    QTest::mouseRelease(view, button, {}, to);
    if (window.PopupMenu1->isVisible()) window.PopupMenu1->hide();
  }
  void Key(TForm1& window, Qt::Key key) { QTest::keyClick(&window, key); }
};

TEST_F(InputTest, ClicksSelectAndTheRightButtonOpensThePopupOnRelease) {
  TAnweisung* a = nullptr;
  TIf* d = nullptr;
  StartWith([&](TBlock& p) {
    a = Statement(p, "a");
    d = Append(p, TIf::CreateWithText("c"));
  });
  TForm1& w = First();
  const QPoint onA = PointOf(w, a);
  const QPoint onNo = PointOf(w, d->Branch2);
  ASSERT_GE(onA.x(), 0);
  ASSERT_GE(onNo.x(), 0);

  QTest::mouseClick(w.viewport(), Qt::LeftButton, {}, onA);
  EXPECT_EQ(w.Display->CurrentSelection(), a);
  EXPECT_FALSE(w.Dragging);

  QTest::mousePress(w.viewport(), Qt::RightButton, {}, onNo);
  EXPECT_EQ(w.Display->CurrentSelection(), d->Branch2);
  EXPECT_FALSE(w.PopupMenu1->isVisible());
  QTest::mouseRelease(w.viewport(), Qt::RightButton, {}, onNo);
  EXPECT_TRUE(WaitFor([&] { return w.PopupMenu1->isVisible(); }));
  w.PopupMenu1->hide();

  QTest::mouseClick(w.viewport(), Qt::LeftButton, {}, QPoint(w.viewport()->width() - 3, 3));
  EXPECT_EQ(w.Display->CurrentSelection(), nullptr);
  // The middle button selects nothing.
  QTest::mouseClick(w.viewport(), Qt::MiddleButton, {}, onA);
  EXPECT_EQ(w.Display->CurrentSelection(), nullptr);
  EXPECT_EQ(Snapshots(), 0);
}

TEST_F(InputTest, DoubleClickEditsTheText) {
  TAnweisung* a = nullptr;
  StartWith([&](TBlock& p) { a = Statement(p, "a"); });
  TForm1& w = First();
  services.InputAnswers = {QStringLiteral("b")};
  QTest::mouseDClick(w.viewport(), Qt::LeftButton, {}, PointOf(w, a));
  EXPECT_EQ(a->Text, "b");
  EXPECT_EQ(w.Display->CurrentSelection(), a);
  EXPECT_FALSE(w.Dragging);
  EXPECT_EQ(Snapshots(), 1);
}

TEST_F(InputTest, DraggingMovesTheElementToTheDropTarget) {
  struct Row {
    const char* name;
    const char* source;          // text of the dragged element
    const char* target;          // text of the target
    std::optional<bool> after;   // the drop position asked of a block target
    Qt::MouseButton button;
    const char* result;
  };
  const Row rows[] = {
      {"statement after another", "a1", "a3", std::nullopt, Qt::LeftButton,
       "gesamtes Programm[a2 a3 a1 B[b1] t]"},
      {"with the right button", "a1", "a2", std::nullopt, Qt::RightButton,
       "gesamtes Programm[a2 a1 a3 B[b1] t]"},
      {"into the head of a block", "a1", "B", false, Qt::LeftButton,
       "gesamtes Programm[a2 a3 B[a1 b1] t]"},
      {"after an independent block", "a1", "B", true, Qt::LeftButton,
       "gesamtes Programm[a2 a3 B[b1] a1 t]"},
      {"following element into the block it follows", "t", "B", false, Qt::LeftButton,
       "gesamtes Programm[a1 a2 a3 B[t b1]]"},
      {"block onto a statement", "B", "a1", std::nullopt, Qt::LeftButton,
       "gesamtes Programm[a1 B[b1] a2 a3 t]"},
      {"out of a block", "b1", "t", std::nullopt, Qt::LeftButton,
       "gesamtes Programm[a1 a2 a3 B[] t b1]"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    StartWith([&](TBlock& p) {
      Statement(p, "a1");
      Statement(p, "a2");
      Statement(p, "a3");
      TBlock* b = Append(p, TBlock::CreateWithText("B"));
      Statement(*b, "b1");
      Statement(p, "t");
    });
    const auto find = [&](const char* text) -> TElement* {
      std::vector<TElement*> todo{&Program()};
      while (!todo.empty()) {
        TElement* e = todo.back();
        todo.pop_back();
        for (; e; e = e->Next) {
          if (e->Text == text) return e;
          if (auto* b = As<TBlock>(e))
            if (b->Body) todo.push_back(b->Body);
        }
      }
      return nullptr;
    };
    TElement* source = find(row.source);
    TElement* target = find(row.target);
    ASSERT_NE(source, nullptr);
    ASSERT_NE(target, nullptr);
    TForm1& w = First();
    const QPoint from = PointOf(w, source);
    const QPoint to = PointOf(w, target, row.after);
    ASSERT_GE(from.x(), 0);
    ASSERT_GE(to.x(), 0);

    QTest::mousePress(w.viewport(), row.button, {}, from);
    EXPECT_TRUE(w.Dragging);
    QTest::mouseMove(w.viewport(), to);
    EXPECT_EQ(w.Display->DropTarget, target);
    QTest::mouseRelease(w.viewport(), row.button, {}, to);
    if (w.PopupMenu1->isVisible()) w.PopupMenu1->hide();
    EXPECT_FALSE(w.Dragging);
    EXPECT_EQ(w.Display->DropTarget, nullptr);
    EXPECT_EQ(Shape(&Program()), row.result);
    EXPECT_EQ(w.Display->CurrentSelection(), source);
    EXPECT_EQ(Snapshots(), 1);
  }
}

TEST_F(InputTest, RefusedDropsChangeNothing) {
  TAnweisung* a1 = nullptr;
  TAnweisung* a2 = nullptr;
  TBlock* outer = nullptr;
  TBlock* inner = nullptr;
  TAnweisung* i1 = nullptr;
  TWhile* loop = nullptr;
  StartWith([&](TBlock& p) {
    a1 = Statement(p, "a1");
    a2 = Statement(p, "a2");
    outer = Append(p, TBlock::CreateWithText("Aussen"));
    inner = Append(*outer, TBlock::CreateWithText("Innen"));
    i1 = Statement(*inner, "i1");
    loop = Append(p, TWhile::CreateWithText("w"));
    Statement(*loop->Branch1, "l1");
  });
  const std::string before = Shape(&Program());
  TForm1& w = First();
  struct Row {
    const char* name;
    TElement* source;
    TElement* target;
    std::optional<bool> after;
  };
  const Row rows[] = {
      {"onto itself", a2, a2, std::nullopt},
      {"onto its predecessor", a2, a1, std::nullopt},
      {"onto a block it follows, after it", loop, outer, true},
      {"into its own body", outer, i1, std::nullopt},
      {"into a nested block's head", outer, inner, false},
      {"after a nested block", outer, inner, true},
      {"into its own head", outer, outer, false},
      {"into its own body block", loop, loop->Branch1, std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const QPoint from = PointOf(w, row.source);
    const QPoint to = PointOf(w, row.target, row.after);
    ASSERT_GE(from.x(), 0);
    ASSERT_GE(to.x(), 0);
    QTest::mousePress(w.viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(w.viewport(), to);
    EXPECT_EQ(w.Display->DropTarget, nullptr);
    QTest::mouseRelease(w.viewport(), Qt::LeftButton, {}, to);
    EXPECT_EQ(Shape(&Program()), before);
    EXPECT_EQ(Snapshots(), 0);
    EXPECT_EQ(w.Display->CurrentSelection(), row.source);
  }

  // A window's own root block can be dragged, but onto nothing it shows.
  TForm1* shows = TForm1::CreateForBlock(nullptr, outer);
  shows->SubWindow()->resize(400, 300);
  for (TElement* target : {static_cast<TElement*>(i1), static_cast<TElement*>(inner)}) {
    const QPoint from = PointOf(*shows, outer);
    const QPoint to = PointOf(*shows, target);
    ASSERT_GE(to.x(), 0);
    QTest::mousePress(shows->viewport(), Qt::LeftButton, {}, from);
    EXPECT_TRUE(shows->Dragging);
    QTest::mouseMove(shows->viewport(), to);
    EXPECT_EQ(shows->Display->DropTarget, nullptr);
    QTest::mouseRelease(shows->viewport(), Qt::LeftButton, {}, to);
  }
  EXPECT_EQ(Shape(&Program()), before);
  EXPECT_EQ(Snapshots(), 0);
}

// The figure goes on beyond the window's edges, and another window may lie over it; a release
// there would land the element where the user cannot see it, so nothing moves.
TEST_F(InputTest, ReleasesOutsideTheVisibleDrawingMoveNothing) {
  std::vector<TAnweisung*> statements;
  TBlock* shown = nullptr;
  StartWith([&](TBlock& p) {
    for (int i = 1; i <= 40; ++i) statements.push_back(Statement(p, "a" + std::to_string(i)));
    Statement(p, std::string(200, 'w'));  // the program is wider than the window
    shown = Append(p, TBlock::CreateWithText("B"));
  });
  TForm1& w = First();
  w.SubWindow()->setGeometry(0, 0, 350, 300);
  TForm1* other = TForm1::CreateForBlock(nullptr, shown);
  other->SubWindow()->setGeometry(360, 0, 300, 300);  // beside it
  form->MdiArea()->setActiveSubWindow(w.SubWindow());
  form->RefreshAll();
  Settle();
  w.verticalScrollBar()->setValue(300);
  TImageProbe probe;
  w.horizontalScrollBar()->setValue(RootAnchor(Program(), probe.surface, *w.Display).x - 175);
  const std::string before = Shape(&Program());
  const QPoint from = PointOf(w, statements[14]);
  ASSERT_GE(from.x(), 0);
  const QPoint overOther = w.viewport()->mapFromGlobal(other->viewport()->mapToGlobal(QPoint(30, 30)));
  const QPoint outside[] = {{from.x(), w.viewport()->height() + 40}, {from.x(), -60}, overOther};
  for (const QPoint& to : outside) {
    SCOPED_TRACE(QStringLiteral("%1, %2").arg(to.x()).arg(to.y()).toStdString());
    // The same point seen through the window's own figure holds a target a drop would take.
    ASSERT_NE(HitTestStruktogramm(probe.surface, *w.Root, *w.Display,
                                  to.x() + w.horizontalScrollBar()->value(),
                                  to.y() + w.verticalScrollBar()->value()),
              nullptr);
    QTest::mousePress(w.viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(w.viewport(), to);
    EXPECT_EQ(w.Display->DropTarget, nullptr);
    QTest::mouseRelease(w.viewport(), Qt::LeftButton, {}, to);
    EXPECT_EQ(Shape(&Program()), before);
    EXPECT_EQ(Snapshots(), 0);
  }
}

// At every zoom the element under the pointer is the one drawn there, and a drag drops where
// the red arrow shows; the scroll range grows with the zoom, the caption tells it.
TEST_F(InputTest, ClicksAndDropsAtEveryZoom) {
  for (int zoom : {50, 100, 300}) {
    SCOPED_TRACE(zoom);
    TAnweisung* a1 = nullptr;
    TBlock* b = nullptr;
    StartWith([&](TBlock& p) {
      a1 = Statement(p, "a1");
      Statement(p, "a2");
      b = Append(p, TBlock::CreateWithText("B"));
      Statement(*b, "b1");
    });
    TForm1& w = First();
    const int hRange = w.HorizontalRange();
    w.SetZoom(zoom, QPoint(0, 0));
    EXPECT_EQ(w.ZoomPercent(), zoom);
    EXPECT_EQ(w.HorizontalRange(), hRange);  // in the figure's units, whatever the zoom
    EXPECT_EQ(w.horizontalScrollBar()->maximum() + w.viewport()->width(),
              std::max(w.viewport()->width(), (hRange * zoom + 99) / 100));
    EXPECT_EQ(w.SubWindow()->windowTitle(),
              zoom == 100 ? QStringLiteral("gesamtes Programm")
                          : QStringLiteral("gesamtes Programm (%1 %)").arg(zoom));
    EXPECT_EQ(w.Caption(), QStringLiteral("gesamtes Programm"));
    const QPoint from = PointOf(w, a1);
    const QPoint to = PointOf(w, b, false);
    ASSERT_GE(from.x(), 0);
    ASSERT_GE(to.x(), 0);
    QTest::mouseClick(w.viewport(), Qt::LeftButton, {}, from);
    EXPECT_EQ(w.Display->CurrentSelection(), a1);
    QTest::mousePress(w.viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(w.viewport(), to);
    EXPECT_EQ(w.Display->DropTarget, b);
    QTest::mouseRelease(w.viewport(), Qt::LeftButton, {}, to);
    EXPECT_EQ(Shape(&Program()), "gesamtes Programm[a2 B[a1 b1]]");
  }
}

// Ctrl and the wheel zoom around the pointer: the figure's point under it stays there.
TEST_F(InputTest, WheelWithCtrlZoomsAroundThePointer) {
  StartWith([&](TBlock& p) {
    AppendStatements(p, 60, "s");
    Statement(p, std::string(300, 'w'));  // wider than the window, so both ways can scroll
  });
  TForm1& w = First();
  w.verticalScrollBar()->setValue(200);
  w.horizontalScrollBar()->setValue(300);
  const QPoint pointer(120, 90);
  const QPoint before = w.ContentPoint(pointer);
  const auto wheel = [&](int delta, Qt::KeyboardModifiers modifiers) {
    QWheelEvent event(pointer, w.viewport()->mapToGlobal(pointer), QPoint(), QPoint(0, delta),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.viewport(), &event);
  };
  wheel(120, Qt::ControlModifier);
  EXPECT_EQ(w.ZoomPercent(), 125);
  wheel(120, Qt::ControlModifier);
  EXPECT_EQ(w.ZoomPercent(), 150);
  EXPECT_LE((w.ContentPoint(pointer) - before).manhattanLength(), 2);
  wheel(-120, Qt::ControlModifier);
  EXPECT_EQ(w.ZoomPercent(), 125);
  const int scrolled = w.verticalScrollBar()->value();
  wheel(-120, Qt::NoModifier);  // the wheel alone scrolls
  EXPECT_EQ(w.ZoomPercent(), 125);
  EXPECT_GT(w.verticalScrollBar()->value(), scrolled);
  // Ctrl+0 through the menu goes back to the original size.
  QTest::keySequence(w.viewport(), QKeySequence("Ctrl+0"));
  EXPECT_EQ(w.ZoomPercent(), 100);
}

TEST_F(InputTest, RootAndBranchBlocksCannotBeDragged) {
  TIf* d = nullptr;
  TAnweisung* t = nullptr;
  StartWith([&](TBlock& p) {
    d = Append(p, TIf::CreateWithText("c"));
    t = Statement(p, "t");
  });
  const std::string before = Shape(&Program());
  TForm1& w = First();
  for (TElement* source : {static_cast<TElement*>(d->Branch1), static_cast<TElement*>(&Program())}) {
    const QPoint from = PointOf(w, source);
    ASSERT_GE(from.x(), 0);
    QTest::mousePress(w.viewport(), Qt::LeftButton, {}, from);
    EXPECT_FALSE(w.Dragging);
    EXPECT_EQ(w.Display->CurrentSelection(), source);
    QTest::mouseMove(w.viewport(), PointOf(w, t));
    EXPECT_EQ(w.Display->DropTarget, nullptr);
    QTest::mouseRelease(w.viewport(), Qt::LeftButton, {}, PointOf(w, t));
  }
  EXPECT_EQ(Shape(&Program()), before);
  EXPECT_EQ(Snapshots(), 0);
}

TEST_F(InputTest, LeftRightAndUpFollowTheTree) {
  TAnweisung* s = nullptr;
  TIf* d = nullptr;
  TDoWhile* loop = nullptr;
  TAnweisung* y1 = nullptr;
  StartWith([&](TBlock& p) {
    s = Statement(p, "s");
    d = Append(p, TIf::CreateWithText("c"));
    y1 = Statement(*d->Branch1, "y1");
    loop = Append(p, TDoWhile::CreateWithText("w"));
  });
  TForm1& w = First();
  struct Row {
    TElement* from;
    Qt::Key key;
    TElement* to;
  };
  const Row rows[] = {
      {d, Qt::Key_Left, d->Branch1},       {d, Qt::Key_Right, d->Branch2},
      {loop, Qt::Key_Left, loop->Branch1}, {loop, Qt::Key_Right, loop->Branch1},
      {s, Qt::Key_Left, s},                {s, Qt::Key_Right, s},
      {d, Qt::Key_Up, s},                  {s, Qt::Key_Up, &Program()},
      {y1, Qt::Key_Up, d->Branch1},        {d->Branch2, Qt::Key_Up, d},
      {&Program(), Qt::Key_Up, &Program()}, {nullptr, Qt::Key_Up, nullptr},
      {nullptr, Qt::Key_Left, nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE((row.from ? row.from->Text : std::string("-")) + " key " +
                 std::to_string(row.key));
    Select(w, row.from);
    Key(w, row.key);
    EXPECT_EQ(w.Display->CurrentSelection(), row.to);
  }
  EXPECT_EQ(Snapshots(), 0);
}

TEST_F(InputTest, DownWalksForwardThroughTheTree) {
  TAnweisung *a = nullptr, *y1 = nullptr, *n1 = nullptr, *after = nullptr, *b1 = nullptr,
             *c = nullptr, *last = nullptr;
  TIf* d = nullptr;
  TBlock* b = nullptr;
  TBlock* closed = nullptr;
  TAnweisung* hidden = nullptr;
  StartWith([&](TBlock& p) {
    a = Statement(p, "a");
    d = Append(p, TIf::CreateWithText("d"));
    y1 = Statement(*d->Branch1, "y1");
    n1 = Statement(*d->Branch2, "n1");
    after = Statement(p, "after");
    b = Append(p, TBlock::CreateWithText("B"));
    b1 = Statement(*b, "b1");
    c = Statement(p, "c");
    closed = Append(p, TBlock::CreateWithText("Zu"));
    hidden = Statement(*closed, "h");
    last = Statement(p, "last");
  });
  TForm1& w = First();
  w.Display->ToggleCollapsed(closed);
  struct Row {
    const char* name;
    TElement* from;
    TElement* to;
  };
  const Row rows[] = {
      {"nothing selected", nullptr, a},
      {"root", &Program(), a},
      {"statement", a, d},
      {"decision", d, after},
      // Backwards through the decision and its chain up to the root: the selection stays.
      {"last of the yes-branch", y1, y1},
      {"last of the no-branch", n1, n1},
      {"branch block", d->Branch1, y1},
      {"block with a body", b, b1},
      {"last of a block's body", b1, c},
      {"collapsed block", closed, hidden},
      // The walk back stops at the block before: the element after that block is selected.
      {"last of the program", last, last},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Select(w, row.from);
    Key(w, Qt::Key_Down);
    EXPECT_EQ(w.Display->CurrentSelection(), row.to);
  }

  // Last element with no block before it in the root's body: the selection stays.
  StartWith([&](TBlock& p) {
    Statement(p, "x");
    last = Statement(p, "y");
  });
  Select(First(), last);
  Key(First(), Qt::Key_Down);
  EXPECT_EQ(First().Display->CurrentSelection(), last);
  Select(First(), &Program());
  Key(First(), Qt::Key_Down);
  EXPECT_EQ(First().Display->CurrentSelection(), Program().Body);
}

TEST_F(InputTest, DownWalksBackToTheBlockBeforeAndTakesItsSuccessor) {
  TAnweisung* x = nullptr;
  TAnweisung* y = nullptr;
  TAnweisung* n = nullptr;
  StartWith([&](TBlock& p) {
    Statement(p, "s");
    Append(p, TBlock::CreateWithText("B"));
    x = Statement(p, "x");
    TIf* d = Append(p, TIf::CreateWithText("d"));
    n = Statement(*d->Branch2, "n");
    y = Statement(p, "y");
  });
  for (TElement* from : {static_cast<TElement*>(y), static_cast<TElement*>(n)}) {
    Select(First(), from);
    Key(First(), Qt::Key_Down);
    EXPECT_EQ(First().Display->CurrentSelection(), x) << from->Text;
  }
}

TEST_F(InputTest, DownInsideAWindowNeverLeavesItsRoot) {
  TBlock* b = nullptr;
  TAnweisung* b2 = nullptr;
  StartWith([&](TBlock& p) {
    b = Append(p, TBlock::CreateWithText("B"));
    Statement(*b, "b1");
    b2 = Statement(*b, "b2");
    Statement(p, "t");
  });
  TForm1* shows = TForm1::CreateForBlock(nullptr, b);
  Select(*shows, b2);
  Key(*shows, Qt::Key_Down);
  EXPECT_EQ(shows->Display->CurrentSelection(), b2);
  // An empty root stays selected: its successor belongs to the window's surroundings.
  TBlock* empty = TBlock::CreateWithText("leer").release();
  b->Next->Insert(empty);
  TForm1* showsEmpty = TForm1::CreateForBlock(nullptr, empty);
  Select(*showsEmpty, empty);
  Key(*showsEmpty, Qt::Key_Down);
  EXPECT_EQ(showsEmpty->Display->CurrentSelection(), empty);
}

TEST_F(InputTest, InsertDeleteAndEnterKeys) {
  TAnweisung* a = nullptr;
  StartWith([&](TBlock& p) { a = Statement(p, "a"); });
  TForm1& w = First();
  Select(w, a);
  services.InputAnswers = {QStringLiteral("neu")};
  Key(w, Qt::Key_Insert);
  EXPECT_EQ(Shape(&Program()), "gesamtes Programm[a neu]");
  EXPECT_EQ(a->Next->Kind(), TKind::Anweisung);
  EXPECT_EQ(w.Display->CurrentSelection(), a->Next);

  services.InputAnswers = {QStringLiteral("anders")};
  Key(w, Qt::Key_Return);
  EXPECT_EQ(Shape(&Program()), "gesamtes Programm[a anders]");

  Key(w, Qt::Key_Delete);
  EXPECT_EQ(Shape(&Program()), "gesamtes Programm[a]");
  EXPECT_EQ(w.Display->CurrentSelection(), nullptr);
  EXPECT_EQ(Snapshots(), 3);

  // With nothing selected the keys do nothing.
  Key(w, Qt::Key_Insert);
  Key(w, Qt::Key_Delete);
  Key(w, Qt::Key_Enter);
  EXPECT_EQ(Shape(&Program()), "gesamtes Programm[a]");
  EXPECT_EQ(Snapshots(), 3);
}

}  // namespace

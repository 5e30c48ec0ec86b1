// SPDX-License-Identifier: MIT
// A window opened by a command becomes the active window with the keyboard focus: the keys and
// shortcuts the user types next act there, not in the window the command was given in.
#include "diagram_test_support.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

namespace {

class OpenedWindowTest : public DiagramTest {
protected:
  TBlock* named = nullptr;
  TIf* decision = nullptr;

  // s1; Named(nb1); if x > 0 {y|z}; s2 with the decision on the clipboard (copied by Ctrl+C)
  // and "Named" selected in the first window, which has the focus.
  void StartCopied() {
    StartWith([&](TBlock& p) {
      Statement(p, "s1");
      named = Append(p, TBlock::CreateWithText("Named"));
      Statement(*named, "nb1");
      decision = Append(p, TIf::CreateWithText("x > 0"));
      Statement(*decision->Branch1, "y");
      Statement(*decision->Branch2, "z");
      Statement(p, "s2");
    });
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    First().setFocus();
    ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == &First(); }));
    Select(First(), decision);
    Type(Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(services.ClipboardRecord.has_value());
    Select(First(), named);
  }

  // A key as the user types it: to whatever has the focus, shortcuts included.
  static void Type(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, key, modifiers);
  }

  static void Choose(QMenu* menu, QAction* item) {
    ASSERT_TRUE(WaitFor([&] { return menu->isVisible(); }));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    ASSERT_TRUE(WaitFor([&] { return !menu->isVisible(); }));
  }

  // The right-button popup over "Named" in the first window.
  void Popup(QAction* item) {
    const QPoint at = PointOf(First(), named);
    ASSERT_NE(at, QPoint(-1, -1));
    QTest::mouseClick(First().viewport(), Qt::RightButton, {}, at);
    ASSERT_EQ(First().Display->CurrentSelection(), named);
    Choose(First().PopupMenu1, item);
  }

  // Down selects nb1 in the new window and Ctrl+V pastes the decision after it there.
  void DownAndPasteGoToTheNewWindow() {
    const QList<TForm1*> windows = form->DiagramWindows();
    ASSERT_EQ(windows.size(), 2);
    TForm1* opened = windows[1];
    ASSERT_EQ(opened->Root, named);
    EXPECT_EQ(form->MdiArea()->activeSubWindow(), opened->SubWindow());
    EXPECT_EQ(QApplication::focusWidget(), opened);
    Type(Qt::Key_Down);
    Type(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Shape(&Program()), "gesamtes Programm[s1 Named[nb1 x > 0{y|z}] x > 0{y|z} s2]");
    ASSERT_NE(named->Body->Next, nullptr);
    EXPECT_EQ(opened->Display->CurrentSelection(), named->Body->Next);
    EXPECT_EQ(First().Display->CurrentSelection(), named);
  }
};

TEST_F(OpenedWindowTest, MenuItemBlockInNeuemFenster) {
  StartCopied();
  QMenuBar* bar = form->menuBar();
  QMenu* view = bar->findChild<QMenu*>(QStringLiteral("Drucken1"));
  ASSERT_NE(view, nullptr);
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(view->menuAction()).center());
  Choose(view, form->findChild<QAction*>(QStringLiteral("BlockinneuemFensteranzeigen1")));
  DownAndPasteGoToTheNewWindow();
}

TEST_F(OpenedWindowTest, PopupInNeuemFenster) {
  StartCopied();
  Popup(First().InneuemFensteranzeigen1);
  DownAndPasteGoToTheNewWindow();
}

TEST_F(OpenedWindowTest, PopupGenauerBestimmen) {
  StartCopied();
  Popup(First().Genauerbestimmen1);
  DownAndPasteGoToTheNewWindow();
}

// The command comes while another window of the desktop is active, as happens while a menu or
// a window manager hands the focus around: the paste that follows the keys still goes to the
// window that was opened, not to the one the frame last had active.
TEST_F(OpenedWindowTest, WhileTheEditorIsInactive) {
  StartCopied();
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(WaitFor([&] { return QApplication::activeWindow() == &other; }));
  form->findChild<QAction*>(QStringLiteral("BlockinneuemFensteranzeigen1"))->trigger();
  const QList<TForm1*> windows = form->DiagramWindows();
  ASSERT_EQ(windows.size(), 2);
  TForm1* opened = windows[1];
  QTest::keyClick(opened, Qt::Key_Down);
  form->findChild<QAction*>(QStringLiteral("AusZwischenablageeinfgen1"))->trigger();
  EXPECT_EQ(Shape(&Program()), "gesamtes Programm[s1 Named[nb1 x > 0{y|z}] x > 0{y|z} s2]");
}

// Refining a statement opens its new, empty block, which selects nothing: a paste there does
// nothing, while in the first window it would land after the new block selected there.
TEST_F(OpenedWindowTest, RefiningAStatementLeavesTheKeysToTheNewBlock) {
  StartCopied();
  Select(First(), named->Next->Next);  // s2
  First().setFocus();
  First().Genauerbestimmen1->trigger();
  const QList<TForm1*> windows = form->DiagramWindows();
  ASSERT_EQ(windows.size(), 2);
  EXPECT_EQ(windows[1]->Caption(), QStringLiteral("s2"));
  EXPECT_EQ(form->MdiArea()->activeSubWindow(), windows[1]->SubWindow());
  EXPECT_EQ(QApplication::focusWidget(), windows[1]);
  const std::string refined = Shape(&Program());
  EXPECT_EQ(refined, "gesamtes Programm[s1 Named[nb1] x > 0{y|z} s2[]]");
  Type(Qt::Key_Down);
  Type(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Shape(&Program()), refined);
}

}  // namespace

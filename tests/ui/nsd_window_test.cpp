// SPDX-License-Identifier: MIT
// Diagram windows as Nassi-Shneiderman diagrams: the notation per window, and clicking, keys,
// editing, dragging, collapsing, pictures and a run's marks in it.
#include "diagram_test_support.h"

#include "render/run_marks.h"
#include "tests/language/external_tools.h"
#include "ui/run/run_controller.h"

#include <QAction>

namespace {

class NsdWindowTest : public DiagramTest {
protected:
  TAnweisung* first = nullptr;
  TAnweisung* second = nullptr;
  TBlock* part = nullptr;
  TIf* decision = nullptr;

  void StartNsd() {
    StartWith([&](TBlock& p) {
      first = Statement(p, "x := 1");
      decision = Append(p, TIf::CreateWithText("x > 0"));
      Statement(*decision->Branch1, "y := 2");
      part = Append(p, TBlock::CreateWithText("Teil"));
      second = Statement(*part, "writeln(x)");
    });
    Trigger("AlsNassiShneidermanStruktogramm1");
    Settle();
  }
  void Trigger(const char* name) {
    QAction* action = form->findChild<QAction*>(QLatin1String(name));
    ASSERT_NE(action, nullptr) << name;
    action->trigger();
  }
  bool Checked(const char* name) { return form->findChild<QAction*>(QLatin1String(name))->isChecked(); }
};

TEST_F(NsdWindowTest, EachWindowKeepsItsNotation) {
  StartNsd();
  EXPECT_EQ(First().Notation(), TNotation::Nsd);
  EXPECT_TRUE(Checked("AlsNassiShneidermanStruktogramm1"));
  EXPECT_FALSE(Checked("AlsFlussdiagramm1"));
  // The block opened in a second window is drawn alike; there it can be a flowchart, both live.
  Select(First(), part);
  Trigger("BlockinneuemFensteranzeigen1");
  ASSERT_EQ(form->DiagramWindows().size(), 2);
  TForm1* other = form->DiagramWindows()[1];
  EXPECT_EQ(other->Notation(), TNotation::Nsd);
  Trigger("AlsFlussdiagramm1");
  EXPECT_EQ(other->Notation(), TNotation::Flow);
  EXPECT_TRUE(Checked("AlsFlussdiagramm1"));
  form->MdiArea()->setActiveSubWindow(First().SubWindow());
  EXPECT_TRUE(Checked("AlsNassiShneidermanStruktogramm1"));
  // The scroll ranges follow the notation's size.
  TImageProbe probe;
  const TSize size = Measure(*First().Root, probe.surface, *First().Display);
  EXPECT_EQ(First().HorizontalRange(), size.cx + 50);
  EXPECT_EQ(First().VerticalRange(), size.cy + 50);
  // A new document keeps the window's notation.
  Trigger("Neu1");
  EXPECT_EQ(First().Notation(), TNotation::Nsd);
  Trigger("AlsFlussdiagramm1");
  EXPECT_EQ(First().Notation(), TNotation::Flow);
}

TEST_F(NsdWindowTest, ClicksKeysEditingAndDragging) {
  StartNsd();
  const QPoint at = PointOf(First(), first);
  ASSERT_NE(at, QPoint(-1, -1));
  QTest::mouseClick(First().viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(First().Display->CurrentSelection(), first);
  QTest::keyClick(&First(), Qt::Key_Down);
  EXPECT_EQ(First().Display->CurrentSelection(), decision);
  // A double click edits the text.
  services.InputAnswers.push_back(QString("z := 3"));
  QTest::mouseDClick(First().viewport(), Qt::LeftButton, {}, PointOf(First(), first));
  EXPECT_EQ(first->Text, "z := 3");
  // Dragged onto the statement in the block: it follows that one; the drop is marked meanwhile.
  const QPoint from = PointOf(First(), first);
  const QPoint to = PointOf(First(), second);
  ASSERT_NE(to, QPoint(-1, -1));
  QTest::mousePress(First().viewport(), Qt::LeftButton, {}, from);
  QTest::mouseMove(First().viewport(), (from + to) / 2);
  QTest::mouseMove(First().viewport(), to);
  EXPECT_EQ(First().Display->DropTarget, second);
  QTest::mouseRelease(First().viewport(), Qt::LeftButton, {}, to);
  EXPECT_EQ(Shape(Program().Body), "x > 0{y := 2|} Teil[writeln(x) z := 3]");
  // Dropped on the empty no-branch, it goes into it.
  Select(First(), second);
  const QPoint no = PointOf(First(), decision->Branch2);
  ASSERT_NE(no, QPoint(-1, -1));
  QTest::mousePress(First().viewport(), Qt::LeftButton, {}, PointOf(First(), second));
  QTest::mouseMove(First().viewport(), no);
  QTest::mouseRelease(First().viewport(), Qt::LeftButton, {}, no);
  EXPECT_EQ(Shape(Program().Body), "x > 0{y := 2|writeln(x)} Teil[z := 3]");
}

TEST_F(NsdWindowTest, CollapsingPicturesAndTheRunsMarks) {
  StartNsd();
  TImageProbe probe;
  const TSize open = Measure(*First().Root, probe.surface, *First().Display);
  Select(First(), part);
  Trigger("Blockvergrern1");
  const TSize collapsed = Measure(*First().Root, probe.surface, *First().Display);
  EXPECT_LT(collapsed.cy, open.cy);
  EXPECT_EQ(First().VerticalRange(), collapsed.cy + 50);

  // The picture of the window is the command line's picture in this notation.
  TTempDir dir;
  services.FileAnswers.push_back(QString::fromStdString(dir.File("bild.svg")));
  Trigger("AlsBildexportieren1");
  const std::string svg = ReadBytes(dir.File("bild.svg"));
  EXPECT_NE(svg.find(">x &gt; 0<"), std::string::npos);
  EXPECT_NE(svg.find(">nein<"), std::string::npos);

  // The element that runs next is filled in the run's colour where it is drawn.
  Trigger("Einzelschritt1");
  ASSERT_EQ(form->RunMarks()->Current, first);
  First().viewport()->repaint();
  const QImage shot = First().viewport()->grab().toImage();
  const QPoint inside = PointOf(First(), first) + QPoint(1, 1);
  const QColor fill(shot.pixel(inside));
  EXPECT_EQ(fill, QColor(0xC8, 0xF0, 0xC8)) << fill.name().toStdString();
}

} // namespace

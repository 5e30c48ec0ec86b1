// SPDX-License-Identifier: MIT
// "Suchen…", "Weitersuchen" and "Ersetzen…" through the keys and the dialog.
#include "diagram_test_support.h"

#include "ui/main/find_dialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

class FindReplaceTest : public DiagramTest {
protected:
  TElement *first = nullptr, *decision = nullptr, *yes = nullptr, *loop = nullptr, *inner = nullptr;
  TBlock* part = nullptr;
  void StartProgram() {
    StartWith([&](TBlock& p) {
      first = Statement(p, "x := 1");
      auto* d = Append(p, TIf::CreateWithText("x > 0"));
      decision = d;
      yes = Statement(*d->Branch1, "y := x * xx");
      loop = Append(p, TFor::CreateWithText("i := 1 bis X"));
      part = Append(p, TBlock::CreateWithText("Teil x"));
      inner = Statement(*part, "writeln(x)");
    });
    First().Display->ToggleCollapsed(part);
  }
  TFindDialog& Dialog() { return *form->FindDialog(); }
  void Key(QWidget* to, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(to, key, modifiers);
  }
  const TElement* Selected() {
    TForm1* window = form->ActiveWindow();
    return window ? window->Display->CurrentSelection() : nullptr;
  }
};

TEST_F(FindReplaceTest, FindsEveryTextInTheExportsOrderAndWraps) {
  StartProgram();
  Key(&First(), Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(Dialog().isVisible());
  EXPECT_EQ(Dialog().windowTitle(), "Suchen");
  EXPECT_FALSE(Dialog().Ersatztext->isVisible());
  QTest::keyClicks(Dialog().Suchtext, "x");
  Dialog().GanzeWoerter->setChecked(true);
  QTest::mouseClick(Dialog().Weitersuchen, Qt::LeftButton);
  EXPECT_EQ(Selected(), first);
  // F3 from the diagram goes on; "xx" is no whole word, "X" matches without case; the block's
  // title and its statement are found, which only a window of the block's own shows.
  std::vector<const TElement*> seen;
  for (int i = 0; i < 6; ++i) {
    Key(form->ActiveWindow(), Qt::Key_F3);
    seen.push_back(Selected());
  }
  EXPECT_EQ(seen, (std::vector<const TElement*>{decision, yes, loop, part, inner, first}));
  EXPECT_EQ(form->DiagramWindows().size(), 2);

  Dialog().Schreibweise->setChecked(true);
  Dialog().Suchtext->setText("X");
  QTest::mouseClick(Dialog().Weitersuchen, Qt::LeftButton);
  EXPECT_EQ(Selected(), loop);
  Dialog().Suchtext->setText("fehlt");
  QTest::mouseClick(Dialog().Weitersuchen, Qt::LeftButton);
  ASSERT_FALSE(services.Messages.empty());
  EXPECT_EQ(services.Messages.back().text, "»fehlt« wurde nicht gefunden.");
  EXPECT_EQ(Snapshots(), 0); // searching changes nothing
}

TEST_F(FindReplaceTest, ReplacesOneAtATimeOrAllAsOneUndoStep) {
  StartProgram();
  Key(&First(), Qt::Key_H, Qt::ControlModifier);
  ASSERT_TRUE(Dialog().Ersatztext->isVisible());
  Dialog().Suchtext->setText("x");
  Dialog().Ersatztext->setText("wert");
  Dialog().GanzeWoerter->setChecked(true);
  // The first press finds, the next replaces and finds the next.
  QTest::mouseClick(Dialog().Ersetzen, Qt::LeftButton);
  EXPECT_EQ(first->Text, "x := 1");
  EXPECT_EQ(Selected(), first);
  QTest::mouseClick(Dialog().Ersetzen, Qt::LeftButton);
  EXPECT_EQ(first->Text, "wert := 1");
  EXPECT_EQ(Selected(), decision);
  EXPECT_EQ(Snapshots(), 1);

  QTest::mouseClick(Dialog().AlleErsetzen, Qt::LeftButton);
  EXPECT_EQ(services.Messages.back().text, "5 Stellen wurden ersetzt.");
  EXPECT_EQ(decision->Text, "wert > 0");
  EXPECT_EQ(yes->Text, "y := wert * xx");
  EXPECT_EQ(loop->Text, "i := 1 bis wert");
  EXPECT_EQ(part->Text, "Teil wert");
  EXPECT_EQ(inner->Text, "writeln(wert)");
  EXPECT_EQ(Snapshots(), 2);
  form->Rckgngig1Click(nullptr);
  const TElement* restored = form->Program->Body->Next;
  EXPECT_EQ(form->Program->Body->Text, "wert := 1");
  EXPECT_EQ(restored->Text, "x > 0");
}

} // namespace

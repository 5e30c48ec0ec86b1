// SPDX-License-Identifier: MIT
// Checks while editing: the panel "Prüfergebnisse", the marks on the figures and their tooltips.
#include "diagram_test_support.h"

#include "render/check_marks.h"
#include "render/picture_export.h"
#include "ui/checks/check_controller.h"
#include "ui/checks/problems_panel.h"

#include <QAction>
#include <QFile>
#include <QHelpEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolTip>
#include <QTreeView>

namespace {

class ChecksTest : public DiagramTest {
protected:
  TCheckController& Checks() { return form->Checks(); }
  QAction* Action(const char* name) { return form->findChild<QAction*>(QLatin1String(name)); }
  // Waits for the checks to settle and gives each finding as "element text: why".
  QStringList Findings() {
    EXPECT_TRUE(WaitFor([&] { return !Checks().Busy(); }));
    QStringList out;
    for (const TCheckController::TShown& f : Checks().Findings())
      out << QString::fromStdString(f.Element->Text + ": " + f.Why);
    return out;
  }
  // Orange pixels of the marks in what the window shows.
  int MarkPixels() {
    const QImage shot = First().viewport()->grab().toImage();
    int n = 0;
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x)
        n += shot.pixel(x, y) == QColor(0xFF, 0xA5, 0x00).rgb();
    return n;
  }
  void TearDown() override {
    QSettings(QStringLiteral("Struktogramme"), QStringLiteral("Struktogramme")).clear();
  }

  TElement *comparison = nullptr, *unassigned = nullptr, *inner = nullptr;
  TBlock* part = nullptr;
  void StartPlanted() {
    StartWith([&](TBlock& p) {
      comparison = Statement(p, "x = 5");
      unassigned = Statement(p, "writeln(y)");
      part = Append(p, TBlock::CreateWithText("Teil"));
      inner = Statement(*part, "z := q");
    });
  }
};

TEST_F(ChecksTest, ThePanelFollowsEveryChange) {
  StartPlanted();
  EXPECT_FALSE(Checks().Wanted()); // nothing is checked while nothing shows it
  Action("Prfergebnisse1")->trigger();
  ASSERT_TRUE(form->Prfergebnisse1->isVisible());
  EXPECT_EQ(Findings(), QStringList({"x = 5: vergleicht nur. Meinten Sie »x := 5«?",
                                     "writeln(y): »y« wird gelesen, bevor es einen Wert bekommt",
                                     "z := q: »q« wird gelesen, bevor es einen Wert bekommt"}));
  const TFindingsModel& model = *form->Prfergebnisse1->Model();
  EXPECT_EQ(model.index(2, 2).data().toString(), "gesamtes Programm › Teil");

  // Mended, deleted (gone at once, before any new check), undone.
  Select(First(), comparison);
  services.InputAnswers = {QStringLiteral("x := 5")};
  First().Textbearbeiten1Click(nullptr);
  EXPECT_EQ(Findings().size(), 2);
  Select(First(), unassigned);
  First().Loeschen(nullptr);
  EXPECT_EQ(Checks().Findings().size(), 1u);
  EXPECT_EQ(model.rowCount(), 1);
  form->Rckgngig1Click(nullptr);
  EXPECT_EQ(Findings().size(), 2);

  // A check switched off in the context menu finds nothing and stays off.
  form->Prfergebnisse1->CheckAction(TCheck::Unassigned)->trigger();
  EXPECT_EQ(Findings(), QStringList());
  EXPECT_EQ(TProblemsPanel::KeptChecks(), kAllChecks & ~(1u << int(TCheck::Unassigned)));
  form->Prfergebnisse1->CheckAction(TCheck::Unassigned)->trigger();
  EXPECT_EQ(Findings().size(), 2);
}

TEST_F(ChecksTest, MarksAndTooltipsOnlyWhileShownNeverInPictures) {
  StartPlanted();
  EXPECT_EQ(form->CheckMarks(), nullptr);
  EXPECT_EQ(MarkPixels(), 0);
  QTemporaryDir dir;
  const std::string plain = (dir.path() + "/ohne.png").toStdString();
  ExportPicture(*First().Root, plain, First().Display.get());

  Action("Prfungenanzeigen1")->trigger();
  Findings();
  ASSERT_NE(form->CheckMarks(), nullptr);
  EXPECT_TRUE(form->CheckMarks()->Has(comparison));
  Settle();
  EXPECT_GT(MarkPixels(), 20);
  const std::string marked = (dir.path() + "/mit.png").toStdString();
  ExportPicture(*First().Root, marked, First().Display.get());
  QFile a(QString::fromStdString(plain)), b(QString::fromStdString(marked));
  ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
  EXPECT_EQ(a.readAll(), b.readAll());

  First().SetNotation(TNotation::Nsd); // the same marks in the other notation
  Settle();
  EXPECT_GT(MarkPixels(), 20);
  First().SetNotation(TNotation::Flow);
  Settle();
  const QPoint at = PointOf(First(), unassigned);
  QHelpEvent help(QEvent::ToolTip, at, First().viewport()->mapToGlobal(at));
  QCoreApplication::sendEvent(First().viewport(), &help);
  EXPECT_EQ(QToolTip::text(), "»writeln(y)«: »y« wird gelesen, bevor es einen Wert bekommt");

  // The choice is kept for the next start; switched off, the marks go.
  StartPlanted();
  EXPECT_TRUE(Action("Prfungenanzeigen1")->isChecked());
  Findings();
  Action("Prfungenanzeigen1")->trigger();
  Settle();
  EXPECT_EQ(MarkPixels(), 0);
}

TEST_F(ChecksTest, AFindingClickedIsShownWhereTheUserCanSeeIt) {
  StartPlanted();
  First().Display->ToggleCollapsed(part);
  Action("Prfergebnisse1")->trigger();
  ASSERT_EQ(Findings().size(), 3);
  QTreeView* view = form->Prfergebnisse1->View();
  // Inside a collapsed block: a window of the block's own shows it selected.
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                    view->visualRect(view->model()->index(2, 0)).center());
  ASSERT_EQ(form->DiagramWindows().size(), 2);
  TForm1* opened = form->ActiveWindow();
  EXPECT_EQ(opened->Root, part);
  EXPECT_EQ(opened->Display->CurrentSelection(), inner);
  // A double click edits the element's text.
  services.InputAnswers = {QStringLiteral("x := 5")};
  const QPoint row0 = view->visualRect(view->model()->index(0, 0)).center();
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row0); // as the system sends it
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row0);
  EXPECT_EQ(comparison->Text, "x := 5");
  EXPECT_EQ(First().Display->CurrentSelection(), comparison);
  EXPECT_EQ(Findings().size(), 2);
}

} // namespace

// SPDX-License-Identifier: MIT
// Running the program in the editor, through the menu, the keys and the panels.
#include "diagram_test_support.h"

#include "language/desk_check.h"
#include "render/run_marks.h"
#include "tests/language/external_tools.h"
#include "ui/run/console_panel.h"
#include "ui/run/desk_check_panel.h"
#include "ui/run/run_controller.h"
#include "ui/run/variables_panel.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTableWidget>
#include <QToolBar>

namespace {

using TState = TRunController::TState;

class RunTest : public DiagramTest {
protected:
  TRunController& Run() { return form->Run(); }
  void Trigger(const char* name) {
    QAction* action = form->findChild<QAction*>(QLatin1String(name));
    ASSERT_NE(action, nullptr) << name;
    action->trigger();
  }
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(&First(), static_cast<Qt::Key>(key), modifiers);
  }
  bool Reaches(TState state) {
    return WaitFor([&] { return Run().State() == state; });
  }
  QString Console() { return form->EinundAusgabe1->Output()->toPlainText(); }
  QString Value(int row) { return form->Variablen1->Table()->item(row, 2)->text(); }
  const TElement* Current() { return form->RunMarks() ? form->RunMarks()->Current : nullptr; }
};

TEST_F(RunTest, RunsToTheEndAtFullSpeedAndFillsThePanels) {
  TElement* sum = nullptr;
  StartWith([&](TBlock& p) {
    Statement(p, "s := 0");
    sum = Statement(*Append(p, TFor::CreateWithText("i := 1 bis 5"))->Branch1, "s := s + i");
    Statement(p, "writeln('Summe: ', s)");
  });
  EXPECT_FALSE(form->ToolBar2->isVisible());
  Run().SetDelay(0);
  Key(Qt::Key_F9);
  ASSERT_TRUE(Reaches(TState::Finished));
  EXPECT_EQ(Console(), "Summe: 15\n");
  EXPECT_TRUE(form->ToolBar2->isVisible());
  EXPECT_EQ(Value(0), "15");
  // s := 0, the loop's start, five rounds of the body and the count after it, writeln.
  EXPECT_EQ(form->Schreibtischtest1->Model()->rowCount(), 13);
  EXPECT_EQ(form->Schreibtischtest1->Model()->index(2, 1).data().toString(), "s := s + i");
  EXPECT_EQ(Current(), nullptr);
  (void)sum;
}

TEST_F(RunTest, SingleStepsAndStepsBack) {
  TElement *first = nullptr, *second = nullptr;
  StartWith([&](TBlock& p) {
    first = Statement(p, "x := 5");
    second = Statement(p, "x := x * 2; writeln(x)");
  });
  Key(Qt::Key_F8); // a new run stands before its first element
  ASSERT_EQ(Run().State(), TState::Paused);
  EXPECT_EQ(Current(), first);
  Key(Qt::Key_F8);
  EXPECT_EQ(Current(), second);
  EXPECT_EQ(Value(0), "5");
  Key(Qt::Key_F8);
  EXPECT_EQ(Run().State(), TState::Finished);
  EXPECT_EQ(Console(), "10\n");
  Key(Qt::Key_F8, Qt::ShiftModifier);
  EXPECT_EQ(Run().State(), TState::Paused);
  EXPECT_EQ(Current(), second);
  EXPECT_EQ(Value(0), "5");
  EXPECT_EQ(Console(), "");
  Key(Qt::Key_F8, Qt::ShiftModifier);
  EXPECT_EQ(Current(), first);
  EXPECT_EQ(Value(0), "0");
  EXPECT_EQ(form->Schreibtischtest1->Model()->rowCount(), 0);
  Key(Qt::Key_F9, Qt::ShiftModifier);
  EXPECT_EQ(Run().State(), TState::Idle);
  EXPECT_EQ(form->RunMarks(), nullptr);
}

TEST_F(RunTest, ReadWaitsForALineTypedInTheConsole) {
  StartWith([&](TBlock& p) {
    Statement(p, "write('Zahl? ')");
    Statement(p, "readln(n)");
    Statement(p, "writeln(n * n)");
  });
  Run().SetDelay(0);
  Trigger("Starten1");
  ASSERT_TRUE(Reaches(TState::Waiting));
  QLineEdit* input = form->EinundAusgabe1->Input();
  EXPECT_TRUE(WaitFor([&] { return input->hasFocus(); }));
  QTest::keyClicks(input, "12");
  QTest::keyClick(input, Qt::Key_Return);
  ASSERT_TRUE(Reaches(TState::Finished));
  EXPECT_EQ(Console(), "Zahl? 12\n144\n");
  // Back over the read: the line typed is read again.
  Trigger("Schrittzurck1");
  Trigger("Schrittzurck1");
  Trigger("Einzelschritt1");
  Trigger("Einzelschritt1");
  EXPECT_EQ(Console(), "Zahl? 12\n144\n");
}

TEST_F(RunTest, BreakpointsStopTheRunAndAreShownOnTheirFigure) {
  TElement* inner = nullptr;
  StartWith([&](TBlock& p) {
    inner = Statement(*Append(p, TFor::CreateWithText("i := 1 bis 3"))->Branch1, "writeln(i)");
  });
  Select(First(), inner);
  Key(Qt::Key_F5);
  ASSERT_NE(form->RunMarks(), nullptr);
  EXPECT_TRUE(form->RunMarks()->IsBreakpoint(inner));
  Run().SetDelay(0);
  Key(Qt::Key_F9);
  ASSERT_TRUE(Reaches(TState::Paused));
  EXPECT_EQ(Current(), inner);
  EXPECT_EQ(Console(), "");
  Key(Qt::Key_F9); // goes on from the breakpoint to the next round
  ASSERT_TRUE(WaitFor([&] { return Run().State() == TState::Paused && Console() == "1\n"; }));
  Select(First(), inner);
  Key(Qt::Key_F5);
  Key(Qt::Key_F9);
  ASSERT_TRUE(Reaches(TState::Finished));
  EXPECT_EQ(Console(), "1\n2\n3\n");
}

TEST_F(RunTest, AnEndlessLoopLeavesTheEditorResponsiveAndCancelEndsIt) {
  StartWith([&](TBlock& p) {
    Statement(*Append(p, TWhile::CreateWithText("true"))->Branch1, "x := (x + 1) mod 7");
  });
  Run().SetDelay(0);
  Trigger("Starten1");
  ASSERT_EQ(Run().State(), TState::Running);
  bool answered = false;
  QTimer::singleShot(10, [&] { answered = true; });
  EXPECT_TRUE(WaitFor([&] { return answered; })); // events are handled while it runs
  EXPECT_GT(Run().Machine()->Steps(), 0u);
  QElapsedTimer clock;
  clock.start();
  Key(Qt::Key_F9, Qt::ShiftModifier);
  EXPECT_EQ(Run().State(), TState::Idle);
  EXPECT_LT(clock.elapsed(), 100);
}

TEST_F(RunTest, PauseAndTheSpeedControl) {
  StartWith([&](TBlock& p) {
    Statement(*Append(p, TWhile::CreateWithText("x < 1000"))->Branch1, "inc(x)");
  });
  Run().SetDelay(20);
  Trigger("Starten1");
  QTest::qWait(150);
  Trigger("Pause1");
  ASSERT_EQ(Run().State(), TState::Paused);
  const uint64_t steps = Run().Machine()->Steps();
  // 20 ms between steps: a handful in 150 ms, far from all 2001 steps.
  EXPECT_GT(steps, 1u);
  EXPECT_LT(steps, 100u);
  QTest::qWait(60);
  EXPECT_EQ(Run().Machine()->Steps(), steps);
}

TEST_F(RunTest, EditingEndsTheRunAndItsMarks) {
  TElement* a = nullptr;
  StartWith([&](TBlock& p) {
    a = Statement(p, "x := 1");
    Statement(p, "x := 2");
  });
  Trigger("Einzelschritt1");
  Trigger("Einzelschritt1");
  ASSERT_EQ(Run().State(), TState::Paused);
  Select(First(), a);
  services.InputAnswers.push_back(QString("y := 3"));
  Trigger("Anweisung"); // inserts after the selection
  EXPECT_EQ(Run().State(), TState::Idle);
  EXPECT_EQ(Run().Machine(), nullptr);
  EXPECT_EQ(Shape(Program().Body), "x := 1 y := 3 x := 2");
}

TEST_F(RunTest, FailuresAreShownAtTheirElement) {
  TElement* bad = nullptr;
  StartWith([&](TBlock& p) {
    Statement(p, "x := 0");
    bad = Statement(p, "y := 5 div x");
  });
  Run().SetDelay(0);
  Trigger("Starten1");
  ASSERT_TRUE(Reaches(TState::Failed));
  EXPECT_EQ(Current(), bad);
  EXPECT_TRUE(form->RunMarks()->Failed);
  EXPECT_EQ(First().Display->CurrentSelection(), bad);
  ASSERT_FALSE(services.Messages.empty());
  EXPECT_EQ(services.Messages.back().text, "Laufzeitfehler in »y := 5 div x«: Division durch 0");
  EXPECT_TRUE(Console().endsWith("Division durch 0\n"));

  // A text that cannot run stops the run before it starts, with its element selected.
  Trigger("Abbrechen1");
  bad->Text = "Tausche(x, y)";
  form->RefreshAll();
  Trigger("Starten1");
  EXPECT_EQ(Run().State(), TState::Idle);
  EXPECT_EQ(First().Display->CurrentSelection(), bad);
  EXPECT_EQ(services.Messages.back().text,
            "Nicht ausführbar: »Tausche(x, y)«: die Prozedur »Tausche« ist unbekannt");
}

TEST_F(RunTest, RunToTheSelectionAndChangeAValueWhilePaused) {
  TElement* target = nullptr;
  StartWith([&](TBlock& p) {
    Statement(p, "x := 1");
    Statement(p, "x := x + 1");
    target = Statement(p, "writeln(x)");
  });
  Select(First(), target);
  Trigger("BiszurAuswahl1");
  ASSERT_TRUE(Reaches(TState::Paused));
  EXPECT_EQ(Current(), target);
  EXPECT_EQ(Value(0), "2");
  QTableWidgetItem* value = form->Variablen1->Table()->item(0, 2);
  ASSERT_TRUE(value->flags() & Qt::ItemIsEditable);
  value->setText("41");
  EXPECT_EQ(Value(0), "41");
  value->setText("keine Zahl");
  EXPECT_EQ(Value(0), "41");
  EXPECT_EQ(services.Messages.back().text, "»keine Zahl« ist kein Wert für x.");
  Trigger("Einzelschritt1");
  EXPECT_EQ(Console(), "41\n");
  // The value changed before the step is taken back with the step before it.
  Trigger("Schrittzurck1");
  Trigger("Schrittzurck1");
  EXPECT_EQ(Value(0), "1");
}

TEST_F(RunTest, TheDeskCheckSavedIsTheTableOfTheCommandLine) {
  StartWith([&](TBlock& p) {
    Statement(p, "s := 'a;b'");
    Statement(*Append(p, TFor::CreateWithText("i := 1 bis 2"))->Branch1, "r := r + i / 2");
  });
  Run().SetDelay(0);
  Trigger("Starten1");
  ASSERT_TRUE(Reaches(TState::Finished));
  TTempDir dir;
  services.FileAnswers.push_back(QString::fromStdString(dir.File("tabelle.csv")));
  form->Schreibtischtest1->SaveCsv();
  const std::string saved = ReadBytes(dir.File("tabelle.csv"));
  EXPECT_EQ(saved, DeskCheckTable(*Run().Machine()));
  EXPECT_EQ(saved.substr(0, saved.find('\r')), "Schritt;Element;s;i;r");
  EXPECT_NE(saved.find("\r\n6;i := 1 bis 2;\"a;b\";2;1.5\r\n"), std::string::npos) << saved;
}

TEST_F(RunTest, ABlockShownInAnotherWindowComesForward) {
  TElement* inside = nullptr;
  TBlock* part = nullptr;
  StartWith([&](TBlock& p) {
    part = Append(p, TBlock::CreateWithText("Teil"));
    inside = Statement(*part, "x := 1");
  });
  Select(First(), part);
  Trigger("BlockinneuemFensteranzeigen1");
  ASSERT_EQ(form->DiagramWindows().size(), 2);
  TForm1* second = form->DiagramWindows()[1];
  First().ChangeMinimize(part); // the first window shows the block collapsed
  form->MdiArea()->setActiveSubWindow(First().SubWindow());
  Trigger("Einzelschritt1");
  EXPECT_EQ(Current(), inside);
  EXPECT_EQ(form->ActiveWindow(), second);
  EXPECT_TRUE(form->RunMarks()->Contains(part)); // the collapsed block stands for it
}

} // namespace

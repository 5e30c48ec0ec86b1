// SPDX-License-Identifier: MIT
// The editor's own work on large programs: opening a file up to the first painted window, and
// the interactive steps (click, arrow key, insert, delete, undo, collapse) each up to the
// repainted window, on a headless platform.
#include "bench/program_generator.h"
#include "model/structogram_file.h"
#include "ui/checks/check_controller.h"
#include "ui/checks/problems_panel.h"
#include "ui/diagram/tform1.h"
#include "ui/diagram/tform3.h"
#include "ui/main/tform2.h"
#include "ui/main/windowing_services.h"
#include "ui/run/run_controller.h"

#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace {

// Every dialog confirmed as it stands; nothing else asked.
class TConfirmingServices : public TWindowingServices {
public:
  bool InputQuery(const QString&, const QString&, QString&) override { return true; }
  void ShowMessage(const QString&, TMessageKind) override {}
  TAnswer Ask(const QString&) override { return TAnswer::No; }
  std::optional<QString> OpenFileName(const QString&) override { return std::nullopt; }
  std::optional<QString> SaveFileName(const QString&, const QString&) override {
    return std::nullopt;
  }
  QPrinter& Printer() override { std::abort(); }
  bool PrintDialog() override { return false; }
  void PrintPreview(const std::function<void(QPrinter&, TPrintLayout)>&) override {}
  std::optional<int> ChooseItem(const QString&, const QString&, const QStringList&) override {
    return std::nullopt;
  }
  void SetClipboardText(const QString&) override {}
  void SetClipboardElement(const QByteArray&, const QString&) override {}
  std::optional<QByteArray> ClipboardElement() override { return std::nullopt; }
};

using TClock = std::chrono::steady_clock;

// A file per program kind, written once.
QString ProgramFile(int kind) {
  static QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("p%1.str").arg(kind));
  if (!QFile::exists(path)) {
    TOwned<TBlock> root = kind == 0   ? OrdinaryProgram(0)
                          : kind == 1 ? StatementChain(100000)
                          : kind == 2 ? OrdinaryProgram(100000)
                          : kind == 3 ? StatementChain(100000, "Anweisung")
                          : kind == 4 ? StatementChain(1000000)
                                      : RunnableProgram(100000, false);
    SaveDocumentFile(*root, path.toStdString());
  }
  return path;
}

// True once the window's drawing area has been painted.
class TPaintWatch : public QObject {
public:
  bool painted = false;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint)
      painted = true;
    return false;
  }
};

// From starting the main window with a file to its first diagram window painted: 0 an empty
// program, 1 a chain of 100 000 statements with texts of their own, 2 an ordinary program of
// 100 000 elements, 3 a chain of 100 000 statements all alike, 4 a chain of a million
// statements with texts of their own.
void BM_OpenToFirstPaint(benchmark::State& state) {
  const QString file = ProgramFile(static_cast<int>(state.range(0)));
  TConfirmingServices services;
  for (auto _ : state) {
    const auto start = TClock::now();
    auto form = std::make_unique<TForm2>(services, file);
    TPaintWatch watch;
    form->show();
    const bool painted = QTest::qWaitFor([&] {
      TForm1* first = form->FirstWindow();
      if (first && !watch.parent()) {
        watch.setParent(first);
        first->viewport()->installEventFilter(&watch);
      }
      return watch.painted;
    });
    if (!painted)
      state.SkipWithError("kein Fenster gezeichnet");
    state.SetIterationTime(std::chrono::duration<double>(TClock::now() - start).count());
    watch.setParent(nullptr);
    form.reset();
  }
}

// One editor on an ordinary program of 100 000 elements, kept for all step benchmarks.
struct TEditor {
  TConfirmingServices services;
  std::unique_ptr<TForm2> form;
  std::unique_ptr<TForm3> dialog;

  explicit TEditor(int kind = 2) {
    form = std::make_unique<TForm2>(services, ProgramFile(kind));
    dialog = std::make_unique<TForm3>();
    form->SetCountingLoopDialog(dialog.get());
    form->show();
    (void)QTest::qWaitForWindowExposed(form.get());
    First().SubWindow()->showMaximized();
    QApplication::processEvents();
  }
  TForm1& First() { return *form->FirstWindow(); }
  // The repaint the step asked for, done now, so it counts.
  void Repaint() {
    for (TForm1* w : form->DiagramWindows())
      w->viewport()->repaint();
  }
  void Select(TElement* e) {
    First().Display->ClearSelection();
    First().Display->AddSelection(e);
  }
};

// Made on first use; goes before the application object does.
// One editor at a time: the diagram windows report to the application's one main window. It is
// made anew when a benchmark wants another program or notation.
std::unique_ptr<TEditor> gEditor;
int gKind = -1;
TNotation gNotation = TNotation::Flow;
TEditor& EditorOf(int kind, TNotation notation) {
  if (!gEditor || gKind != kind || gNotation != notation) {
    gEditor.reset();
    gEditor = std::make_unique<TEditor>(kind);
    gEditor->First().SetNotation(notation);
    QApplication::processEvents();
    gKind = kind;
    gNotation = notation;
  }
  return *gEditor;
}
TEditor& Editor() {
  return EditorOf(2, TNotation::Flow);
}
// The runnable program of 100 000 elements, for stepping through it.
TEditor& RunEditor() {
  return EditorOf(5, TNotation::Flow);
}

// Steps on the flowchart (range 0) or the Nassi-Shneiderman diagram (range 1).
TEditor& EditorFor(const benchmark::State& state) {
  return EditorOf(2, state.range(0) == 1 ? TNotation::Nsd : TNotation::Flow);
}

template <class Step> void Measure(benchmark::State& state, Step step) {
  TEditor& editor = EditorFor(state);
  for (auto _ : state) {
    const auto start = TClock::now();
    step(editor);
    editor.Repaint();
    state.SetIterationTime(std::chrono::duration<double>(TClock::now() - start).count());
  }
}

void BM_Click(benchmark::State& state) {
  int i = 0;
  Measure(state, [&](TEditor& e) {
    TShiftState left;
    left.Left = true;
    e.First().FormMouseDown(nullptr, Qt::LeftButton, left, 60 + (i++ % 3) * 40, 40);
    e.First().FormMouseUp(nullptr, Qt::LeftButton, left, 60, 40);
  });
}

void BM_ArrowDown(benchmark::State& state) {
  Measure(state, [](TEditor& e) {
    int key = 40;
    e.First().FormKeyDown(nullptr, key, {});
  });
}

void BM_InsertStatement(benchmark::State& state) {
  Measure(state, [](TEditor& e) {
    e.Select(e.form->Program->Body);
    e.First().Einfuegen(e.First().Anweisung);
  });
}

void BM_Delete(benchmark::State& state) {
  Measure(state, [](TEditor& e) {
    e.Select(e.form->Program->Body);
    e.First().Loeschen(nullptr);
  });
}

void BM_Undo(benchmark::State& state) {
  TEditor& editor = EditorFor(state);
  for (auto _ : state) {
    state.PauseTiming();
    editor.Select(editor.form->Program->Body);
    editor.First().Loeschen(nullptr); // a change to take back
    editor.Repaint();
    state.ResumeTiming();
    const auto start = TClock::now();
    editor.form->Rckgngig1Click(nullptr);
    editor.Repaint();
    state.SetIterationTime(std::chrono::duration<double>(TClock::now() - start).count());
  }
}

void BM_Collapse(benchmark::State& state) {
  Measure(state, [](TEditor& e) {
    TElement* block = e.form->Program->Body;
    while (block && block->Kind() != TKind::Block)
      block = block->Next;
    e.Select(block);
    e.First().ChangeDisplay();
  });
}

// Inserting a statement into the ordinary program of 100 000 elements while the checks show
// their marks and list (range 1) or not (range 0): the step itself, up to the repainted window,
// and (counters, for range 1) the check that follows each step, run on a thread of its own:
// the milliseconds of the editor's own thread spent on it (taking the program's bytes, taking
// over the findings, repainting with the marks) and those until its findings are shown.
void BM_InsertWithChecks(benchmark::State& state) {
  TEditor& editor = EditorOf(2, TNotation::Flow);
  const bool checks = state.range(0) == 1;
  editor.form->Prfungenanzeigen1->setChecked(checks);
  editor.form->Prfergebnisse1->setVisible(checks);
  TCheckController& controller = editor.form->Checks();
  double own = 0, total = 0;
  (void)QTest::qWaitFor([&] { return !controller.Busy(); }, 60000);
  for (auto _ : state) {
    const auto start = TClock::now();
    editor.Select(editor.form->Program->Body);
    editor.First().Einfuegen(editor.First().Anweisung);
    editor.Repaint();
    state.SetIterationTime(std::chrono::duration<double>(TClock::now() - start).count());
    if (checks) {
      state.PauseTiming();
      if (!QTest::qWaitFor([&] { return !controller.Busy(); }, 60000))
        state.SkipWithError("Prüfung endet nicht");
      const auto repaint = TClock::now();
      editor.Repaint();
      own += controller.LastRound().OwnMs +
             std::chrono::duration<double, std::milli>(TClock::now() - repaint).count();
      total += controller.LastRound().TotalMs;
      state.ResumeTiming();
    }
  }
  if (checks) {
    state.counters["pruefung_eigen_ms"] = own / static_cast<double>(state.iterations());
    state.counters["pruefung_bis_angezeigt_ms"] = total / static_cast<double>(state.iterations());
    state.counters["befunde"] = static_cast<double>(controller.Findings().size());
  }
  editor.form->Prfungenanzeigen1->setChecked(false);
  editor.form->Prfergebnisse1->setVisible(false);
}

// "Einzelschritt" on the running program of 100 000 elements, up to the repainted windows; the
// first step starts the run (compiling the program) and is timed apart, once.
void BM_RunStart(benchmark::State& state) {
  TEditor& editor = RunEditor();
  for (auto _ : state) {
    editor.form->Abbrechen1Click(nullptr);
    const auto start = TClock::now();
    editor.form->Einzelschritt1Click(nullptr);
    editor.Repaint();
    state.SetIterationTime(std::chrono::duration<double>(TClock::now() - start).count());
  }
}

void BM_RunStep(benchmark::State& state) {
  TEditor& editor = RunEditor();
  if (editor.form->Run().State() != TRunController::TState::Paused)
    editor.form->Einzelschritt1Click(nullptr);
  for (auto _ : state) {
    const auto start = TClock::now();
    editor.form->Einzelschritt1Click(nullptr);
    editor.Repaint();
    state.SetIterationTime(std::chrono::duration<double>(TClock::now() - start).count());
  }
}

// Once each, as a freshly started program meets them: run each in a process of its own with
// --benchmark_filter=OpenToFirstPaint/N/ to time what a user waits for.
BENCHMARK(BM_OpenToFirstPaint)
    ->DenseRange(0, 4)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Click)->DenseRange(0, 1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArrowDown)->DenseRange(0, 1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertStatement)->DenseRange(0, 1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Delete)->DenseRange(0, 1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Undo)->DenseRange(0, 1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Collapse)->DenseRange(0, 1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertWithChecks)->DenseRange(0, 1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunStart)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunStep)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir settings; // the recently used files are noted there, not in the user's own
  qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  Editor(); // set up before any step is timed
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  gEditor.reset();
  return 0;
}

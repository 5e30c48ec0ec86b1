// SPDX-License-Identifier: MIT
// Random editing through the real windows: clicks, double clicks, drags (also released outside),
// keys, popup, menu and toolbar commands, undo, new, save, load and closing, with every dialog
// answered at random. After every step no window may show or remember a freed element, the
// tree's invariants must hold, and saving and loading must give the same bytes.
//
// STRUKT_RANDOM_SEED picks the seed (default 1), STRUKT_RANDOM_STEPS the number of steps (5000).
#include "diagram_test_support.h"
#include "ui/checks/check_controller.h"
#include "ui/checks/problems_panel.h"
#include "ui/main/find_dialog.h"
#include "render/run_marks.h"
#include "ui/run/run_controller.h"
#include "model/stream.h"
#include "model/structogram_file.h"
#include "tests/render/test_tree.h"
#include "tests/tree_invariants.h"
#include "ui/main/text_codec.h"

#include <QAction>
#include <QCheckBox>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

#include <cstdlib>
#include <fstream>
#include <random>

namespace {

int EnvInt(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value && *value ? std::atoi(value) : fallback;
}

// Texts a user might type or paste: ordinary, with umlauts, with control characters, huge.
QString OddText(std::mt19937& rng) {
  switch (rng() % 11) {
  case 8:
    return QStringLiteral("x < 3"); // a condition, so that some programs run
  case 9:
    return QStringLiteral("readln(x)");
  case 10:
    return QStringLiteral("i := 1 bis 3");
  case 0:
    return QStringLiteral("x := x + 1");
  case 1:
    return QStringLiteral("Größe ≤ 10 € “zitiert” ÄÖÜß");
  case 2:
    return QStringLiteral("a") + QChar(1) + "b" + QChar(0) + "c\nd\te";
  case 3:
    return QString(10000, QLatin1Char('w')) + QStringLiteral("ä");
  case 4:
    return QString();
  case 5:
    return QStringLiteral("i");
  case 6:
    return QString::fromUcs4(U"\U0001F600 emoji");
  default:
    return QStringLiteral("writeln('Hallo')");
  }
}

// Every dialog answered at random; files from a pool of good, broken and missing ones.
class TRandomServices : public TWindowingServices {
public:
  TRandomServices(std::mt19937& rng, const QTemporaryDir& dir) : rng_(rng), dir_(dir) {}

  bool InputQuery(const QString&, const QString&, QString& text) override {
    if (rng_() % 4 == 0)
      return false;
    if (rng_() % 3 != 0)
      text = OddText(rng_);
    return true;
  }
  void ShowMessage(const QString&, TMessageKind) override { ++messages; }
  TAnswer Ask(const QString&) override {
    const unsigned pick = rng_() % 4;
    return pick == 0 ? TAnswer::Yes : pick == 1 ? TAnswer::Cancel : TAnswer::No;
  }
  std::optional<QString> OpenFileName(const QString&) override {
    static const char* const names[] = {"gespeichert0.str", "gespeichert1.str", "zufall.str",
                                        "kaputt.str",       "fehlt.str",        "gross.str",
                                        "export.pas"};
    if (rng_() % 5 == 0)
      return std::nullopt;
    if (rng_() % 10 == 0)
      return dir_.path(); // a folder
    const QString chosen = dir_.filePath(QLatin1String(names[rng_() % std::size(names)]));
    if (std::getenv("STRUKT_RANDOM_DEBUG"))
      std::printf("laden %s\n", qPrintable(chosen));
    return chosen;
  }
  std::optional<QString> SaveFileName(const QString&, const QString&) override {
    switch (rng_() % 7) {
    case 0:
      return std::nullopt;
    case 1:
      return dir_.filePath(QStringLiteral("kein/Ordner.str"));
    case 2:
      return dir_.filePath(QStringLiteral("export.pas"));
    case 3: // pictures, or sources in another language
      return dir_.filePath(QLatin1String(rng_() % 2 ? "bild.svg" : "programm.py"));
    default:
      return dir_.filePath(QStringLiteral("gespeichert%1.str").arg(rng_() % 2));
    }
  }
  QPrinter& Printer() override {
    if (!printer_) {
      printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
      printer_->setOutputFormat(QPrinter::PdfFormat);
      printer_->setOutputFileName(dir_.filePath(QStringLiteral("druck.pdf")));
    }
    return *printer_;
  }
  bool PrintDialog() override { return rng_() % 4 == 0; }
  // The preview is drawn once, in a layout picked at random, as the dialog would show it.
  void PrintPreview(const std::function<void(QPrinter&, TPrintLayout)>& paint) override {
    paint(Printer(), static_cast<TPrintLayout>(rng_() % 3));
  }
  std::optional<int> ChooseItem(const QString&, const QString&, const QStringList& items) override {
    if (rng_() % 4 == 0)
      return std::nullopt;
    return static_cast<int>(rng_() % static_cast<unsigned>(items.size()));
  }
  void SetClipboardText(const QString& text) override {
    clipboard = text;
    record.reset();
  }
  void SetClipboardElement(const QByteArray& bytes, const QString& text) override {
    clipboard = text;
    record = bytes;
  }
  // Now and then the clipboard holds something else by the time of pasting.
  std::optional<QByteArray> ClipboardElement() override {
    switch (rng_() % 8) {
    case 0:
      return std::nullopt;
    case 1:
      return QByteArray("B:x\x01" "A:", 7); // cut short
    default:
      return record;
    }
  }

  int messages = 0;
  QString clipboard;
  std::optional<QByteArray> record;

private:
  std::mt19937& rng_;
  const QTemporaryDir& dir_;
  std::unique_ptr<QPrinter> printer_;
};

class RandomEditing : public testing::Test {
protected:
  std::mt19937 rng;
  QTemporaryDir dir;
  std::unique_ptr<TRandomServices> services;
  std::unique_ptr<TForm2> form;
  std::unique_ptr<TForm3> dialog;
  QTimer responder; // answers the counting-loop dialog whenever it is shown modally
  int step = 0;
  // How far the walk got, reported at the end so a run that does nothing shows.
  size_t largestTree = 0;
  int mostWindows = 0;
  int restarts = 0;

  unsigned Pick(unsigned n) { return static_cast<unsigned>(rng() % n); }

  void WriteFile(const char* name, const std::string& bytes) {
    std::ofstream(dir.filePath(QLatin1String(name)).toStdString(), std::ios::binary) << bytes;
  }

  void SetUpFiles() {
    TreeGenerator generator(rng());
    TMemoryStream random;
    SaveDocument(*generator.Make(60, 6), random);
    WriteFile("zufall.str", random.Data);
    WriteFile("kaputt.str", random.Data.substr(0, random.Data.size() / 2));
    TMemoryStream big;
    SaveDocument(*generator.Make(1500, 10), big);
    WriteFile("gross.str", big.Data);
  }

  void StartEditor() {
    responder.stop();
    form.reset();
    dialog.reset();
    form = std::make_unique<TForm2>(*services, QString());
    dialog = std::make_unique<TForm3>();
    form->SetCountingLoopDialog(dialog.get());
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    responder.start();
  }

  void AnswerDialog() {
    if (QApplication::activeModalWidget() != dialog.get() || !dialog->isVisible())
      return;
    for (QLineEdit* edit : {dialog->Edit1, dialog->Edit2, dialog->Edit3})
      if (Pick(2))
        edit->setText(OddText(rng).left(40));
    switch (Pick(4)) {
    case 0:
      QTest::mouseClick(dialog->Button1, Qt::LeftButton);
      break;
    case 1:
      QTest::mouseClick(dialog->Button2, Qt::LeftButton);
      break;
    case 2:
      QTest::keyClick(dialog->Edit2, Qt::Key_Escape);
      break;
    default:
      dialog->close();
      break;
    }
  }

  TForm1& SomeWindow() {
    const QList<TForm1*> windows = form->DiagramWindows();
    TForm1* w = windows[static_cast<int>(Pick(static_cast<unsigned>(windows.size())))];
    if (w->SubWindow()->isMinimized())
      w->SubWindow()->showNormal();
    form->MdiArea()->setActiveSubWindow(w->SubWindow());
    return *w;
  }

  // Mostly a point on the window's figure, sometimes anywhere near or beyond its edges.
  QPoint SomePoint(TForm1& w) {
    const QSize visible = w.viewport()->size();
    if (Pick(5) == 0)
      return QPoint(static_cast<int>(Pick(static_cast<unsigned>(visible.width() + 80))) - 40,
                    static_cast<int>(Pick(static_cast<unsigned>(visible.height() + 80))) - 40);
    TImageProbe probe;
    const TSize size = Measure(*w.Root, probe.surface, *w.Display);
    const int x = 30 + static_cast<int>(Pick(static_cast<unsigned>(std::max(1, size.cx))));
    const int y = 15 + static_cast<int>(Pick(static_cast<unsigned>(std::max(1, size.cy))));
    return QPoint(x - w.horizontalScrollBar()->value(), y - w.verticalScrollBar()->value());
  }

  void TriggerSome(const QList<QAction*>& actions) {
    QList<QAction*> usable;
    for (QAction* a : actions)
      if (a->isVisible() && !a->isSeparator() && !a->menu())
        usable.append(a);
    if (!usable.isEmpty())
      usable[static_cast<int>(Pick(static_cast<unsigned>(usable.size())))]->trigger();
  }

  QAction* MainAction(const char* name) {
    return form->findChild<QAction*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
  }

  enum class TStep {
    Click,
    DoubleClick,
    Drag,
    Key,
    Popup,
    Menu,
    Toolbar,
    Undo,
    Redo,
    Load,
    New,
    Save,
    CloseWindow,
    Resize,
    Scroll,
    Quit,
    Zoom,
    View,
    Run,
    Checks
  };

  // Weighted so that programs grow large enough to matter, yet every command comes up.
  TStep PickStep() {
    static const std::pair<TStep, unsigned> weights[] = {
        {TStep::Click, 14},      {TStep::DoubleClick, 4}, {TStep::Drag, 10},    {TStep::Key, 10},
        {TStep::Popup, 14},      {TStep::Menu, 6},        {TStep::Toolbar, 12}, {TStep::Undo, 4},
        {TStep::Redo, 2},        {TStep::Load, 2},        {TStep::New, 1},      {TStep::Save, 2},
        {TStep::CloseWindow, 3}, {TStep::Resize, 2},      {TStep::Scroll, 3},   {TStep::Quit, 1},
        {TStep::Zoom, 3},        {TStep::View, 5},        {TStep::Run, 6},      {TStep::Checks, 5}};
    unsigned total = 0;
    for (const auto& w : weights)
      total += w.second;
    unsigned pick = Pick(total);
    for (const auto& w : weights) {
      if (pick < w.second)
        return w.first;
      pick -= w.second;
    }
    return TStep::Click;
  }

  void Act() {
    TForm1& w = SomeWindow();
    QWidget* view = w.viewport();
    const Qt::MouseButton button = Pick(4) == 0 ? Qt::RightButton : Qt::LeftButton;
    const TStep picked = PickStep();
    if (std::getenv("STRUKT_RANDOM_DEBUG"))
      std::printf("Schritt %d: %d\n", step, static_cast<int>(picked));
    switch (picked) {
    case TStep::Click:
      QTest::mouseClick(view, button, {}, SomePoint(w));
      break;
    case TStep::DoubleClick:
      QTest::mouseDClick(view, Qt::LeftButton, {}, SomePoint(w));
      break;
    case TStep::Drag: {
      const QPoint from = SomePoint(w);
      const QPoint to = SomePoint(w);
      QTest::mousePress(view, button, {}, from);
      QTest::mouseMove(view, (from + to) / 2);
      QTest::mouseMove(view, to);
      QTest::mouseRelease(view, button, {}, to);
      break;
    }
    case TStep::Key: {
      static const Qt::Key keys[] = {Qt::Key_Return, Qt::Key_Insert, Qt::Key_Insert,
                                     Qt::Key_Delete, Qt::Key_Left,   Qt::Key_Right,
                                     Qt::Key_Up,     Qt::Key_Down,   Qt::Key_Down};
      QTest::keyClick(&w, keys[Pick(std::size(keys))]);
      break;
    }
    case TStep::Popup:
      TriggerSome(w.PopupMenu1->actions() + w.Einfgen1->actions() + w.Einfgen1->actions());
      break;
    case TStep::Menu: {
      QList<QAction*> actions = form->findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly);
      // Those with steps of their own come up through them.
      actions.erase(std::remove_if(actions.begin(), actions.end(),
                                   [&](QAction* a) {
                                     const QString name = a->objectName();
                                     return name == "Programmbeenden1" || name == "Neu1" ||
                                            name == "Struktogrammladen1" ||
                                            (name == "Drucken2" && Pick(10) != 0);
                                   }),
                    actions.end());
      TriggerSome(actions);
      break;
    }
    case TStep::Toolbar: {
      const QList<QToolButton*> buttons = form->ToolBar1->findChildren<QToolButton*>();
      QToolButton* b = buttons[static_cast<int>(Pick(static_cast<unsigned>(buttons.size())))];
      if (b->isVisible())
        b->click();
      break;
    }
    case TStep::Undo:
      MainAction("Rckgngig1")->trigger();
      break;
    case TStep::Redo:
      MainAction("Wiederherstellen1")->trigger();
      break;
    case TStep::Load:
      MainAction("Struktogrammladen1")->trigger();
      break;
    case TStep::New:
      MainAction("Neu1")->trigger();
      break;
    case TStep::Save:
      MainAction("Struktogrammspeichern1")->trigger();
      break;
    case TStep::CloseWindow:
      w.SubWindow()->close();
      break;
    case TStep::Resize:
      w.SubWindow()->resize(150 + static_cast<int>(Pick(500)), 100 + static_cast<int>(Pick(400)));
      break;
    case TStep::Scroll:
      w.verticalScrollBar()->setValue(static_cast<int>(Pick(2000)));
      w.horizontalScrollBar()->setValue(static_cast<int>(Pick(800)));
      break;
    case TStep::Quit:
      if (Pick(2))
        form->close();
      else
        MainAction("Programmbeenden1")->trigger();
      break;
    case TStep::Zoom:
      w.SetZoom(TForm1::kZoomSteps[Pick(TForm1::kZoomSteps.size())], SomePoint(w));
      break;
    case TStep::View:
      MainAction(Pick(2) ? "Blockvergrern1" : "BlockinneuemFensteranzeigen1")->trigger();
      break;
    case TStep::Run: {
      static const char* const commands[] = {"Starten1",       "Einzelschritt1", "Einzelschritt1",
                                             "Schrittzurck1",  "Pause1",         "Abbrechen1",
                                             "BiszurAuswahl1", "Haltepunktanaus1"};
      form->Run().SetDelay(Pick(2) ? 0 : 5);
      if (Pick(5) == 0)
        form->Run().EnterInput(QString::number(Pick(20)));
      else
        MainAction(commands[Pick(std::size(commands))])->trigger();
      QTest::qWait(static_cast<int>(Pick(3)));
      break;
    }
    case TStep::Checks: {
      TCheckController& checks = form->Checks();
      switch (Pick(7)) {
      case 0:
        form->Prfungenanzeigen1->trigger();
        break;
      case 6: // the other language, at once
        form->findChild<QAction*>(Pick(2) ? "English1" : "Deutsch1")->trigger();
        break;
      case 1:
        form->Prfergebnisse1->toggleViewAction()->trigger();
        break;
      case 2: // a finding clicked, or double-clicked to edit it
        if (!checks.Findings().empty())
          form->ShowElement(checks.Findings()[Pick(checks.Findings().size())].Element,
                            Pick(4) == 0);
        break;
      case 3:
        (void)QTest::qWaitFor([&] { return !checks.Busy(); }, 2000);
        break;
      default: { // find or replace a letter or two
        TFindDialog* dialog = form->FindDialog();
        dialog->Suchtext->setText(QString(QChar('a' + static_cast<int>(Pick(26)))) +
                                  (Pick(2) ? QString() : QStringLiteral("\u00e4")));
        dialog->Ersatztext->setText(Pick(2) ? QStringLiteral("x") : QString());
        dialog->GanzeWoerter->setChecked(Pick(2));
        dialog->Schreibweise->setChecked(Pick(2));
        const unsigned which = Pick(4);
        if (which == 0)
          form->ReplaceAll();
        else if (which == 1)
          form->ReplaceFound();
        else
          form->FindNext();
        break;
      }
      }
      break;
    }
    }
  }

  // What every step must leave behind.
  void Check() {
    SCOPED_TRACE("step " + std::to_string(step));
    ASSERT_TRUE(DisplaysReferToLiveElements(*form));
    // A run refers only to elements of the document as it stands; breakpoints may also lie in
    // a deleted block a window still shows.
    if (const TRunMarks* marks = form->RunMarks()) {
      std::unordered_set<const TElement*> document{nullptr};
      CollectElements(form->Program.get(), document);
      ASSERT_TRUE(document.count(marks->Current));
      std::unordered_set<const TElement*> live = document;
      for (const TOwned<TElement>& kept : form->Detached())
        CollectElements(kept.get(), live);
      for (const TElement* e : marks->Breakpoints)
        ASSERT_TRUE(live.count(e));
    }
    // Findings name only elements of the document as it stands.
    std::unordered_set<const TElement*> inDocument;
    CollectElements(form->Program.get(), inDocument);
    for (const TCheckController::TShown& f : form->Checks().Findings())
      ASSERT_TRUE(inDocument.count(f.Element));
    if (form->Run().Active()) {
      ASSERT_NE(form->Run().Machine(), nullptr);
    }
    std::vector<const TElement*> roots{form->Program.get()};
    for (const TOwned<TElement>& kept : form->Detached())
      roots.push_back(kept.get());
    const std::string violation = TreeInvariantViolation(roots);
    ASSERT_EQ(violation, "");
    TMemoryStream saved;
    SaveDocument(*form->Program, saved);
    TMemoryStream again(saved.Data);
    TLoadResult loaded = LoadDocument(again);
    ASSERT_FALSE(loaded.Damaged);
    TMemoryStream resaved;
    SaveDocument(*loaded.Root, resaved);
    ASSERT_EQ(resaved.Data, saved.Data);
    std::unordered_set<const TElement*> elements;
    CollectElements(form->Program.get(), elements);
    largestTree = std::max(largestTree, elements.size());
    mostWindows = std::max(mostWindows, static_cast<int>(form->DiagramWindows().size()));
    for (TForm1* w : form->DiagramWindows()) {
      TImageProbe probe;
      const TSize size = Measure(*w->Root, probe.surface, *w->Display);
      ASSERT_EQ(w->HorizontalRange(), size.cx + 50);
      ASSERT_EQ(w->VerticalRange(), size.cy + 50);
      w->viewport()->repaint(); // draws whatever the window shows, now
    }
  }
};

TEST_F(RandomEditing, WindowsAndTreeStaySound) {
  const unsigned seed = static_cast<unsigned>(EnvInt("STRUKT_RANDOM_SEED", 1));
  const int steps = EnvInt("STRUKT_RANDOM_STEPS", 5000);
  rng.seed(seed);
  SCOPED_TRACE("seed " + std::to_string(seed));
  ASSERT_TRUE(dir.isValid());
  services = std::make_unique<TRandomServices>(rng, dir);
  SetUpFiles();
  responder.setInterval(1);
  QObject::connect(&responder, &QTimer::timeout, [this] { AnswerDialog(); });
  StartEditor();
  for (step = 0; step < steps; ++step) {
    Act();
    if (QWidget* popup = QApplication::activePopupWidget())
      popup->close();
    QApplication::processEvents();
    if (!form->isVisible()) {
      ++restarts;
      StartEditor(); // the program was quit: start it again
      continue;
    }
    Check();
    if (HasFatalFailure())
      return;
  }
  responder.stop();
  std::printf("%d Schritte: bis %zu Elemente, bis %d Fenster, %d Neustarts, %d Meldungen\n", steps,
              largestTree, mostWindows, restarts, services->messages);
  EXPECT_GT(largestTree, 20u);
  EXPECT_GT(mostWindows, 2);
}

} // namespace

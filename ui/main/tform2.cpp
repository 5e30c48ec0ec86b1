// SPDX-License-Identifier: MIT
#include "ui/main/tform2.h"

#include "language/language_export.h"
#include "language/pascal_import.h"
#include "model/stream.h"
#include "model/structogram_file.h"
#include "render/display_options.h"
#include "render/picture_export.h"
#include "render/qt_surface.h"
#include "ui/checks/check_controller.h"
#include "ui/checks/problems_panel.h"
#include "ui/diagram/tform1.h"
#include "ui/main/outer_geometry.h"
#include "ui/main/print_layout.h"
#include "ui/main/text_codec.h"
#include "ui/main/toolbar_pictures.h"
#include "ui/main/windowing_services.h"
#include "ui/run/console_panel.h"
#include "ui/run/desk_check_panel.h"
#include "ui/run/run_controller.h"
#include "ui/run/variables_panel.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <unordered_set>
#include <vector>

namespace {

TForm2* gMainForm = nullptr;

const QRect kOuterGeometry(278, 105, 696, 480);

// Drops every reference the display state holds to an element of gone.
void ForgetElements(TDisplayOptions& display, const std::unordered_set<const TElement*>& gone) {
  if (gone.count(display.CurrentSelection()))
    display.ClearSelection();
  if (gone.count(display.DropTarget))
    display.DropTarget = nullptr;
  std::vector<TBlock*> stale;
  for (int32_t i = 0; i < display.CollapsedCount; ++i)
    if (gone.count(display.Collapsed[i]))
      stale.push_back(display.Collapsed[i]);
  for (TBlock* b : stale)
    display.ToggleCollapsed(b);
}

} // namespace

TForm2::TForm2(TWindowingServices& services, const QString& file, QWidget* parent)
    : QMainWindow(parent), services_(services) {
  gMainForm = this;
  setObjectName(QStringLiteral("Form2"));
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(11);
  setFont(font);

  mdiArea_ = new QMdiArea(this);
  mdiArea_->setObjectName(QStringLiteral("MdiArea"));
  setCentralWidget(mdiArea_);

  createActions();
  createMenus();
  createToolBar();
  createRunUi();
  createCheckUi();
  createLanguageMenu();
  // Every text of the menus and toolbars, as a change of language sets them again.
  RetranslateUi();
  // Each window keeps its notation; the menu shows the active one's, one of the two.
  auto* notations = new QActionGroup(this);
  for (const char* name : {"AlsFlussdiagramm1", "AlsNassiShneidermanStruktogramm1"}) {
    QAction* item = findChild<QAction*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    item->setCheckable(true);
    notations->addAction(item);
  }
  connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this] { UpdateNotationChecks(); });
  UpdateNotationChecks();
  SetOuterGeometry(*this, kOuterGeometry);
  FormCreate(file);
}

TForm2::~TForm2() {
  // The panels show the run, which refers to the document and the windows: all go first.
  delete Variablen1;
  delete EinundAusgabe1;
  delete Schreibtischtest1;
  delete Prfergebnisse1;
  run_.reset();
  checks_.reset();
  // The diagram windows borrow blocks of Program: they go before the document does.
  delete mdiArea_;
  mdiArea_ = nullptr;
  first_ = nullptr;
  if (gMainForm == this)
    gMainForm = nullptr;
}

TForm2* TForm2::MainForm() {
  return gMainForm;
}

void TForm2::FormCreate(const QString& file) {
  TOwned<TBlock> program;
  if (!file.isEmpty()) {
    std::unique_ptr<TFileReadStream> stream;
    try {
      stream = std::make_unique<TFileReadStream>(FileNameBytes(file));
    } catch (const TStreamError& failure) {
      services_.ShowMessage(FailureText(failure.what()), TMessageKind::Information);
    }
    if (stream) {
      // A file that opens but cannot be read leaves an empty program and the usual report.
      try {
        TLoadResult loaded = LoadDocument(*stream);
        program = std::move(loaded.Root);
        recent_.Add(file);
        if (loaded.Damaged || loaded.TrailingRecords) {
          damagedFile_ = file;
          damagedPartly_ = loaded.Damaged;
        }
      } catch (const std::exception& failure) {
        services_.ReportFailure(failure);
      }
    }
  }
  if (!program)
    program = NewProgram();
  program->Bracketed = false;
  program->Independent = false;
  Program = std::move(program);
  MarkSaved();
}

void TForm2::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_)
    return;
  shown_ = true;
  // Only now, or a little later, does the window system tell the frame's extent.
  KeepOuterGeometry(*this, kOuterGeometry);
  Guarded(services_, [&] { FormShow(); });
}

void TForm2::FormShow() {
  first_ = TForm1::CreateForBlock(this, Program.get());
  first_->Secondary = false;
  UpdateCaptions();
  if (!damagedFile_.isEmpty()) {
    // Told once the window is on the screen, so the box has something to stand over.
    const QString file = damagedFile_;
    const bool partly = damagedPartly_;
    damagedFile_.clear();
    QTimer::singleShot(0, this, [this, file, partly] { ReportDamaged(file, partly); });
  }
}

void TForm2::ReportDamaged(const QString& file, bool partly) {
  services_.ShowMessage(
      partly ? tr("Die Datei %1 ist beschädigt; sie wurde nur teilweise geladen.").arg(file)
             : tr("Die Datei %1 enthält Daten hinter dem Programm; sie werden beim "
                  "Speichern mitgeschrieben, aber nicht angezeigt.")
                   .arg(file),
      TMessageKind::Information);
}

QList<TForm1*> TForm2::DiagramWindows() const {
  QList<TForm1*> windows;
  if (!mdiArea_)
    return windows;
  for (QMdiSubWindow* sub : mdiArea_->subWindowList(QMdiArea::CreationOrder)) {
    auto* window = qobject_cast<TForm1*>(sub->widget());
    if (window && !window->IsClosing())
      windows.append(window);
  }
  return windows;
}

TForm1* TForm2::ActiveWindow() const {
  if (!mdiArea_)
    return nullptr;
  // The diagram window with the keyboard focus is the one the user types in, also where the
  // frame's idea of its active window lags behind (while the frame itself is not active).
  for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
    auto* window = qobject_cast<TForm1*>(w);
    if (window && !window->IsClosing() && window->window() == this)
      return window;
  }
  QMdiSubWindow* sub = mdiArea_->activeSubWindow();
  if (!sub)
    sub = mdiArea_->currentSubWindow();
  auto* window = sub ? qobject_cast<TForm1*>(sub->widget()) : nullptr;
  if (window && !window->IsClosing())
    return window;
  return first_;
}

void TForm2::PushUndo() {
  // No run may see a tree that changed under it.
  run_->DocumentChanging();
  if (checks_)
    checks_->DocumentChanged();
  if (snapshotsDropped_)
    History.PushPlaceholder();
  else
    History.PushUndo(*Program);
  // The change follows; until the refresh after it, no window keeps what it measures.
  treeChanging_ = true;
  ++layoutGeneration_;
}

void TForm2::DropNewestUndo() {
  History.DropNewestUndo();
}

void TForm2::Rckgngig1Click(QObject*) {
  if (!History.CanStepBack())
    return;
  run_->DocumentReplaced();
  if (checks_)
    checks_->DocumentReplaced();
  // The windows on the old document go before it may be freed.
  CloseSecondaryWindows();
  detached_.clear();
  History.StepBack(Program);
  undoneSinceSaved_ = true;
  if (first_)
    first_->SetRoot(Program.get());
  // The restored root may carry another title than the caption shows.
  UpdateCaptions();
}

void TForm2::Wiederherstellen1Click(QObject*) {
  if (!History.CanStepForward())
    return;
  run_->DocumentReplaced();
  if (checks_)
    checks_->DocumentReplaced();
  CloseSecondaryWindows();
  detached_.clear();
  History.StepForward(Program);
  undoneSinceSaved_ = true;
  if (first_)
    first_->SetRoot(Program.get());
  UpdateCaptions();
}

void TForm2::Ausschneiden1Click(QObject*) {
  if (TForm1* window = ActiveWindow())
    window->Ausschneiden1Click(nullptr);
}

void TForm2::Kopieren1Click(QObject*) {
  if (TForm1* window = ActiveWindow())
    window->Kopieren1Click(nullptr);
}

void TForm2::AusZwischenablageeinfgen1Click(QObject*) {
  if (TForm1* window = ActiveWindow())
    window->AusZwischenablageeinfgen1Click(nullptr);
}

void TForm2::Vergrern1Click(QObject*) {
  if (TForm1* window = ActiveWindow())
    window->ZoomIn(window->ViewCentre());
}

void TForm2::Verkleinern1Click(QObject*) {
  if (TForm1* window = ActiveWindow())
    window->ZoomOut(window->ViewCentre());
}

void TForm2::Originalgre1Click(QObject*) {
  if (TForm1* window = ActiveWindow())
    window->SetZoom(100, window->ViewCentre());
}

void TForm2::AlsFlussdiagramm1Click(QObject*) {
  if (TForm1* window = ActiveWindow())
    window->SetNotation(TNotation::Flow);
  UpdateNotationChecks();
}

void TForm2::AlsNassiShneidermanStruktogramm1Click(QObject*) {
  if (TForm1* window = ActiveWindow())
    window->SetNotation(TNotation::Nsd);
  UpdateNotationChecks();
}

void TForm2::UpdateNotationChecks() {
  const TForm1* window = ActiveWindow();
  const bool nsd = window && window->Notation() == TNotation::Nsd;
  for (const char* name : {"AlsFlussdiagramm1", "AlsNassiShneidermanStruktogramm1"}) {
    QAction* item = findChild<QAction*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    item->setChecked((QLatin1String(name) == QLatin1String("AlsNassiShneidermanStruktogramm1")) ==
                     nsd);
  }
}

void TForm2::ButtonClick(QObject* sender) {
  if (TForm1* window = ActiveWindow())
    window->Einfuegen(sender);
}

void TForm2::Blockvergrern1Click(QObject*) {
  if (TForm1* window = ActiveWindow())
    window->ChangeDisplay();
}

void TForm2::BlockinneuemFensteranzeigen1Click(QObject*) {
  if (TForm1* window = ActiveWindow())
    window->InneuemFensteranzeigen();
}

void TForm2::Programmbeenden1Click(QObject*) {
  close();
}

void TForm2::closeEvent(QCloseEvent* event) {
  bool mayClose = false;
  Guarded(services_, [&] { mayClose = MaybeSave(); });
  if (mayClose)
    event->accept();
  else
    event->ignore();
}

void TForm2::RefreshAll() {
  treeChanging_ = false;
  ++layoutGeneration_;
  if (checks_)
    checks_->DocumentChanged();
  for (TForm1* window : DiagramWindows()) {
    window->viewport()->update();
    window->ScheduleAdjust();
  }
}

void TForm2::UpdateCaptions() {
  for (TForm1* window : DiagramWindows())
    window->SetCaption(FromCp1252(window->GetRootTitle()));
}

void TForm2::ToggleCollapsedEverywhere(TBlock* block) {
  for (TForm1* window : DiagramWindows())
    window->ChangeMinimize(block);
}

void TForm2::KeepDetached(TOwned<TElement> tree) {
  detached_.push_back(std::move(tree));
}

void TForm2::ReleaseUnshownDetached() {
  const QList<TForm1*> windows = DiagramWindows();
  const auto shown = [&](const TOwned<TElement>& tree) {
    return std::any_of(windows.begin(), windows.end(),
                       [&](TForm1* w) { return Contains(*tree, *w->Root); });
  };
  const auto unshown = std::stable_partition(detached_.begin(), detached_.end(), shown);
  for (auto it = unshown; it != detached_.end(); ++it)
    ForgetElementsOf(**it);
  detached_.erase(unshown, detached_.end());
}

void TForm2::ForgetElementsOf(const TElement& tree) {
  std::unordered_set<const TElement*> gone;
  std::vector<const TElement*> stack{&tree};
  while (!stack.empty()) {
    const TElement* e = stack.back();
    stack.pop_back();
    for (; e; e = e->Next) {
      gone.insert(e);
      if (const TBlock* block = As<TBlock>(e)) {
        if (block->Body)
          stack.push_back(block->Body);
      } else if (const TBedingung* cond = As<TBedingung>(e)) {
        if (cond->Branch1)
          stack.push_back(cond->Branch1);
        if (cond->Branch2)
          stack.push_back(cond->Branch2);
      }
    }
  }
  for (TForm1* window : DiagramWindows())
    ForgetElements(*window->Display, gone);
  ElementsFreed(std::vector<const TElement*>(gone.begin(), gone.end()));
}

void TForm2::ElementsFreed(const std::vector<const TElement*>& gone) {
  run_->ForgetElements(gone);
  if (checks_)
    checks_->ForgetElements(gone);
}

void TForm2::CloseSecondaryWindows() {
  for (TForm1* window : DiagramWindows()) {
    if (window != first_)
      window->SubWindow()->close();
  }
}

void TForm2::ReplaceDocument(TOwned<TBlock> block) {
  run_->DocumentReplaced();
  if (checks_)
    checks_->DocumentReplaced();
  // Windows showing blocks of the old tree go before the tree does.
  CloseSecondaryWindows();
  detached_.clear();
  Program = std::move(block);
  History.Clear();
  MarkSaved();
  if (first_)
    first_->SetRoot(Program.get());
  UpdateCaptions();
}

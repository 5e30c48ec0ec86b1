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

using THandler = void (TForm2::*)(QObject*);

struct TMenuHeader {
  const char* name;
  const char* caption;
};

// A caption "-" is a separator line; shortcuts are key sequences separated by ";".
struct TMenuItem {
  const char* menu;
  const char* name;
  const char* caption;
  THandler handler;
  bool visible;
  const char* shortcuts = "";
  bool submenu = false;
};

const TMenuHeader kMenus[] = {
    {"Datei1", QT_TRANSLATE_NOOP("TForm2", "Datei")},
    {"Einfgen1", QT_TRANSLATE_NOOP("TForm2", "Bearbeiten")},
    {"Drucken1", QT_TRANSLATE_NOOP("TForm2", "Ansicht")},
    // Beyond the original program's menus.
    {"Ausfhren1", QT_TRANSLATE_NOOP("TForm2", "Ausführen")},
};

const TMenuItem kMenuItems[] = {
    {"Datei1", "Neu1", QT_TRANSLATE_NOOP("TForm2", "Neu"), &TForm2::Neu1Click, true},
    {"Datei1", "N2", "-", nullptr, true},
    {"Datei1", "Struktogrammladen1", QT_TRANSLATE_NOOP("TForm2", "Struktogramm laden"),
     &TForm2::Struktogrammladen1Click, true},
    {"Datei1", "Struktogrammspeichern1", QT_TRANSLATE_NOOP("TForm2", "Struktogramm speichern"),
     &TForm2::Struktogrammspeichern1Click, true},
    {"Datei1", "N11", "-", nullptr, true},
    {"Datei1", "InZwischenablage1", QT_TRANSLATE_NOOP("TForm2", "In Zwischenablage kopieren"),
     &TForm2::InZwischenablage1Click, true},
    {"Datei1", "Exportieren1", QT_TRANSLATE_NOOP("TForm2", "Exportieren"),
     &TForm2::Exportieren1Click, true},
    {"Datei1", "Drucken2", QT_TRANSLATE_NOOP("TForm2", "Drucken"), &TForm2::Drucken2Click, true},
    {"Datei1", "N1", "-", nullptr, true},
    {"Datei1", "Programmbeenden1", QT_TRANSLATE_NOOP("TForm2", "Programm beenden"),
     &TForm2::Programmbeenden1Click, true},
    // Beyond the original program's items.
    {"Datei1", "N12", "-", nullptr, true},
    {"Datei1", "Zuletztgeffnet1", QT_TRANSLATE_NOOP("TForm2", "Zuletzt geöffnet"), nullptr, true,
     "", true},
    {"Datei1", "N13", "-", nullptr, true},
    {"Datei1", "AlsBildexportieren1", QT_TRANSLATE_NOOP("TForm2", "Als Bild exportieren…"),
     &TForm2::AlsBildexportieren1Click, true},
    {"Datei1", "Seitenansicht1", QT_TRANSLATE_NOOP("TForm2", "Seitenansicht…"),
     &TForm2::Seitenansicht1Click, true},
    {"Datei1", "N14", "-", nullptr, true},
    {"Datei1", "InZwischenablagekopierenals1",
     QT_TRANSLATE_NOOP("TForm2", "In Zwischenablage kopieren als…"),
     &TForm2::InZwischenablagekopierenals1Click, true},
    {"Datei1", "PascalQuelltextimportieren1",
     QT_TRANSLATE_NOOP("TForm2", "Pascal-Quelltext importieren…"),
     &TForm2::PascalQuelltextimportieren1Click, true},
    {"Einfgen1", "Rckgngig1", QT_TRANSLATE_NOOP("TForm2", "Rückgängig"), &TForm2::Rckgngig1Click,
     true, "Ctrl+Z"},
    {"Einfgen1", "N4", "-", nullptr, true},
    {"Einfgen1", "Anweisung", QT_TRANSLATE_NOOP("TForm2", "Anweisung einfügen"),
     &TForm2::ButtonClick, true},
    {"Einfgen1", "IfAnweisung", QT_TRANSLATE_NOOP("TForm2", "Entscheidung einfügen"),
     &TForm2::ButtonClick, true},
    {"Einfgen1", "N3", "-", nullptr, true},
    {"Einfgen1", "WhileSchleife", QT_TRANSLATE_NOOP("TForm2", "Schleife (Test vorher)"),
     &TForm2::ButtonClick, true},
    {"Einfgen1", "RepeatUntilSchleife", QT_TRANSLATE_NOOP("TForm2", "Schleife (Test danach)"),
     &TForm2::ButtonClick, true},
    {"Einfgen1", "DoWhileSchleife", QT_TRANSLATE_NOOP("TForm2", "Schleife (Test danach)"),
     &TForm2::ButtonClick, false},
    {"Einfgen1", "ForSchleife", QT_TRANSLATE_NOOP("TForm2", "Zählschleife einfügen"),
     &TForm2::ButtonClick, true},
    // Beyond the original program's items.
    {"Einfgen1", "N5", "-", nullptr, true},
    {"Einfgen1", "Wiederherstellen1", QT_TRANSLATE_NOOP("TForm2", "Wiederherstellen"),
     &TForm2::Wiederherstellen1Click, true, "Ctrl+Y;Ctrl+Shift+Z"},
    {"Einfgen1", "N6", "-", nullptr, true},
    {"Einfgen1", "Ausschneiden1", QT_TRANSLATE_NOOP("TForm2", "Ausschneiden"),
     &TForm2::Ausschneiden1Click, true, "Ctrl+X"},
    {"Einfgen1", "Kopieren1", QT_TRANSLATE_NOOP("TForm2", "Kopieren"), &TForm2::Kopieren1Click,
     true, "Ctrl+C"},
    {"Einfgen1", "AusZwischenablageeinfgen1",
     QT_TRANSLATE_NOOP("TForm2", "Aus Zwischenablage einfügen"),
     &TForm2::AusZwischenablageeinfgen1Click, true, "Ctrl+V"},
    {"Einfgen1", "N17", "-", nullptr, true},
    {"Einfgen1", "Suchen1", QT_TRANSLATE_NOOP("TForm2", "Suchen…"), &TForm2::Suchen1Click, true,
     "Ctrl+F"},
    {"Einfgen1", "Weitersuchen1", QT_TRANSLATE_NOOP("TForm2", "Weitersuchen"),
     &TForm2::Weitersuchen1Click, true, "F3"},
    {"Einfgen1", "Ersetzen1", QT_TRANSLATE_NOOP("TForm2", "Ersetzen…"), &TForm2::Ersetzen1Click,
     true, "Ctrl+H"},
    {"Drucken1", "Blockvergrern1", QT_TRANSLATE_NOOP("TForm2", "Block vergrößern/verkleinern"),
     &TForm2::Blockvergrern1Click, true},
    {"Drucken1", "BlockinneuemFensteranzeigen1",
     QT_TRANSLATE_NOOP("TForm2", "Block in neuem Fenster anzeigen"),
     &TForm2::BlockinneuemFensteranzeigen1Click, true},
    // Beyond the original program's items.
    {"Drucken1", "N7", "-", nullptr, true},
    {"Drucken1", "Vergrern1", QT_TRANSLATE_NOOP("TForm2", "Vergrößern"), &TForm2::Vergrern1Click,
     true, "Ctrl++;Ctrl+="},
    {"Drucken1", "Verkleinern1", QT_TRANSLATE_NOOP("TForm2", "Verkleinern"),
     &TForm2::Verkleinern1Click, true, "Ctrl+-"},
    {"Drucken1", "Originalgre1", QT_TRANSLATE_NOOP("TForm2", "Originalgröße"),
     &TForm2::Originalgre1Click, true, "Ctrl+0"},
    {"Drucken1", "N15", "-", nullptr, true},
    {"Drucken1", "AlsFlussdiagramm1", QT_TRANSLATE_NOOP("TForm2", "Als Flussdiagramm"),
     &TForm2::AlsFlussdiagramm1Click, true},
    {"Drucken1", "AlsNassiShneidermanStruktogramm1",
     QT_TRANSLATE_NOOP("TForm2", "Als Nassi-Shneiderman-Struktogramm"),
     &TForm2::AlsNassiShneidermanStruktogramm1Click, true},
    {"Ausfhren1", "Starten1", QT_TRANSLATE_NOOP("TForm2", "Starten"), &TForm2::Starten1Click, true,
     "F9"},
    {"Ausfhren1", "Einzelschritt1", QT_TRANSLATE_NOOP("TForm2", "Einzelschritt"),
     &TForm2::Einzelschritt1Click, true, "F8"},
    {"Ausfhren1", "Schrittzurck1", QT_TRANSLATE_NOOP("TForm2", "Schritt zurück"),
     &TForm2::Schrittzurck1Click, true, "Shift+F8"},
    {"Ausfhren1", "Pause1", QT_TRANSLATE_NOOP("TForm2", "Pause"), &TForm2::Pause1Click, true},
    {"Ausfhren1", "Abbrechen1", QT_TRANSLATE_NOOP("TForm2", "Abbrechen"), &TForm2::Abbrechen1Click,
     true, "Shift+F9"},
    {"Ausfhren1", "N8", "-", nullptr, true},
    {"Ausfhren1", "BiszurAuswahl1", QT_TRANSLATE_NOOP("TForm2", "Bis zur Auswahl"),
     &TForm2::BiszurAuswahl1Click, true},
    {"Ausfhren1", "Haltepunktanaus1", QT_TRANSLATE_NOOP("TForm2", "Haltepunkt an/aus"),
     &TForm2::Haltepunktanaus1Click, true, "F5"},
    {"Ausfhren1", "AlleHaltepunkteentfernen1",
     QT_TRANSLATE_NOOP("TForm2", "Alle Haltepunkte entfernen"),
     &TForm2::AlleHaltepunkteentfernen1Click, true},
};

struct TToolButtonEntry {
  const char* name;
  const char* hint;
  int width;
  bool visible;
  TKind picture;
};

const TToolButtonEntry kToolButtons[] = {
    {"BAnweisung", QT_TRANSLATE_NOOP("TForm2", "Anweisung"), 81, true, TKind::Anweisung},
    {"BIfAnweisung", QT_TRANSLATE_NOOP("TForm2", "Entscheidung"), 75, true, TKind::If},
    {"BWhileSchleife", QT_TRANSLATE_NOOP("TForm2", "Schleife (Test vorher)"), 75, true,
     TKind::While},
    {"BForSchleife", QT_TRANSLATE_NOOP("TForm2", "Zählschleife"), 75, true, TKind::For},
    {"BDoWhileSchleife", QT_TRANSLATE_NOOP("TForm2", "Schleife (Test hinterher)"), 75, false,
     TKind::DoWhile},
    {"BRepeatUntilSchleife", QT_TRANSLATE_NOOP("TForm2", "Schleife (Test hinterher)"), 75, true,
     TKind::Repeat},
};

constexpr int kToolBarHeight = 41;
constexpr int kToolButtonHeight = 31;
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
  setWindowTitle(tr("Fluss-Diagramme zeichnen"));
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

void TForm2::createActions() {
  for (const TMenuItem& item : kMenuItems) {
    auto* action = new QAction(this);
    action->setObjectName(QLatin1String(item.name));
    if (QLatin1String(item.caption) == QLatin1String("-")) {
      action->setSeparator(true);
    } else if (item.submenu) {
      action->setText(tr(item.caption));
      auto* menu = new QMenu(this);
      menu->setObjectName(QLatin1String(item.name) + QStringLiteral("Menu"));
      action->setMenu(menu);
    } else {
      action->setText(tr(item.caption));
      const THandler handler = item.handler;
      connect(action, &QAction::triggered, this,
              [this, action, handler] { Guarded(services_, [&] { (this->*handler)(action); }); });
    }
    action->setVisible(item.visible);
    if (QMenu* recent = action->menu(); recent && action->objectName() == "Zuletztgeffnet1") {
      Zuletztgeffnet1 = recent;
      connect(recent, &QMenu::aboutToShow, this, [this] { FillRecentFiles(); });
    }
    QList<QKeySequence> keys;
    for (const QString& key : QString::fromUtf8(item.shortcuts).split(';', Qt::SkipEmptyParts))
      keys << QKeySequence(key);
    action->setShortcuts(keys);
  }
}

void TForm2::createMenus() {
  MainMenu1 = menuBar();
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
  // The template's small font is for the frame's controls; menus keep the desktop's font.
  MainMenu1->setFont(QApplication::font());
  for (const TMenuHeader& header : kMenus) {
    QMenu* menu = MainMenu1->addMenu(tr(header.caption));
    menu->setObjectName(QLatin1String(header.name));
    menu->setFont(QApplication::font());
    for (const TMenuItem& item : kMenuItems) {
      if (QLatin1String(item.menu) != QLatin1String(header.name))
        continue;
      menu->addAction(findChild<QAction*>(QLatin1String(item.name), Qt::FindDirectChildrenOnly));
    }
  }
}

void TForm2::createToolBar() {
  ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
  // The toolbar would otherwise shrink the pictures to its own square icon size.
  ToolBar1->setIconSize(QSize(kToolPictureWidth, kToolPictureHeight));
  ToolBar1->setFixedHeight(kToolBarHeight);
  ToolBar1->layout()->setSpacing(0);
  ToolBar1->setContentsMargins(0, 0, 0, 0);
  for (const TToolButtonEntry& entry : kToolButtons) {
    auto* button = new QToolButton(ToolBar1);
    button->setObjectName(QLatin1String(entry.name));
    button->setToolTip(tr(entry.hint));
    button->setFixedSize(entry.width, kToolButtonHeight);
    button->setIconSize(QSize(kToolPictureWidth, kToolPictureHeight));
    button->setIcon(QIcon(ToolPicture(entry.picture)));
    button->setAutoRaise(false);
    connect(button, &QToolButton::clicked, this,
            [this, button] { Guarded(services_, [&] { ButtonClick(button); }); });
    QAction* holder = ToolBar1->addWidget(button);
    holder->setObjectName(QLatin1String(entry.name) + QStringLiteral("Action"));
    holder->setVisible(entry.visible);
  }
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

// SPDX-License-Identifier: MIT
// The main window's part in running the program: the "Ausführen" menu's commands, the run's
// toolbar with the speed control, and the three panels.
#include "ui/main/tform2.h"

#include "ui/main/windowing_services.h"
#include "ui/run/console_panel.h"
#include "ui/run/desk_check_panel.h"
#include "ui/run/run_controller.h"
#include "ui/run/variables_panel.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSlider>
#include <QToolBar>

#include <algorithm>

namespace {

// The menu items the toolbar repeats, in its order.
const char* const kRunButtons[] = {"Starten1",   "Einzelschritt1", "Schrittzurck1",   "Pause1",
                                   "Abbrechen1", "BiszurAuswahl1", "Haltepunktanaus1"};

} // namespace

void TForm2::createRunUi() {
  run_ = std::make_unique<TRunController>(*this);
  QAction* (*find)(TForm2&, const char*) = [](TForm2& form, const char* name) {
    return form.findChild<QAction*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
  };

  ToolBar2 = new QToolBar(this);
  ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
  ToolBar2->setFont(QApplication::font());
  for (const char* name : kRunButtons)
    ToolBar2->addAction(find(*this, name));
  ToolBar2->addSeparator();
  auto* speed = new QWidget(ToolBar2);
  auto* speedLayout = new QHBoxLayout(speed);
  speedLayout->setContentsMargins(4, 0, 4, 0);
  auto* speedLabel = new QLabel(speed);
  speedLabel->setObjectName(QStringLiteral("Pausenanzeige"));
  auto* slider = new QSlider(Qt::Horizontal, speed);
  slider->setObjectName(QStringLiteral("Geschwindigkeit"));
  slider->setRange(0, 1000);
  slider->setSingleStep(50);
  slider->setPageStep(250);
  slider->setFixedWidth(120);
  slider->setValue(run_->Delay());
  connect(slider, &QSlider::valueChanged, this, [this](int ms) {
    run_->SetDelay(ms);
    RetranslateRunUi();
  });
  speedLayout->addWidget(speedLabel);
  speedLayout->addWidget(slider);
  ToolBar2->addWidget(speed);
  auto* state = new QLabel(ToolBar2);
  state->setObjectName(QStringLiteral("Laufzustand"));
  state->setContentsMargins(8, 0, 4, 0);
  ToolBar2->addWidget(state);
  addToolBarBreak();
  addToolBar(Qt::TopToolBarArea, ToolBar2);
  ToolBar2->hide();

  Variablen1 = new TVariablesPanel(*run_, this);
  EinundAusgabe1 = new TConsolePanel(*run_, this);
  Schreibtischtest1 = new TDeskCheckPanel(*run_, services_, this);
  for (QDockWidget* dock :
       {static_cast<QDockWidget*>(Variablen1), static_cast<QDockWidget*>(EinundAusgabe1),
        static_cast<QDockWidget*>(Schreibtischtest1)})
    dock->setFont(QApplication::font());
  addDockWidget(Qt::RightDockWidgetArea, Variablen1);
  addDockWidget(Qt::BottomDockWidgetArea, EinundAusgabe1);
  addDockWidget(Qt::BottomDockWidgetArea, Schreibtischtest1);
  splitDockWidget(EinundAusgabe1, Schreibtischtest1, Qt::Horizontal);
  Variablen1->hide();
  EinundAusgabe1->hide();
  Schreibtischtest1->hide();

  // The menu's second half: repeatable random numbers and what is shown of a run.
  QMenu* menu = MainMenu1->findChild<QMenu*>(QStringLiteral("Ausfhren1"));
  menu->addSeparator()->setObjectName(QStringLiteral("N9"));
  QAction* seed = menu->addAction(QString());
  seed->setObjectName(QStringLiteral("Zufallszahlenwiederholbar1"));
  seed->setCheckable(true);
  connect(seed, &QAction::toggled, this, [this](bool on) { run_->SetFixedSeed(on); });
  menu->addSeparator()->setObjectName(QStringLiteral("N10"));
  QAction* bar = ToolBar2->toggleViewAction();
  bar->setObjectName(QStringLiteral("WerkzeugleisteAusfhren1"));
  menu->addAction(bar);
  for (QDockWidget* dock :
       {static_cast<QDockWidget*>(Variablen1), static_cast<QDockWidget*>(EinundAusgabe1),
        static_cast<QDockWidget*>(Schreibtischtest1)}) {
    QAction* toggle = dock->toggleViewAction();
    toggle->setObjectName(dock->objectName() + QStringLiteral("1"));
    menu->addAction(toggle);
  }

  connect(run_.get(), &TRunController::StateChanged, this, [this, state] {
    state->setText(run_->StateText());
    UpdateRunActions();
  });
  connect(run_.get(), &TRunController::Advanced, this, [this, state] {
    state->setText(run_->StateText());
    UpdateRunActions();
  });
  // The run's toolbar and panels appear with the first run; what the user closes stays closed.
  connect(run_.get(), &TRunController::RunStarted, this, [this] {
    if (runUiShown_)
      return;
    runUiShown_ = true;
    GrowForPanels();
    ToolBar2->show();
    Variablen1->show();
    EinundAusgabe1->show();
    Schreibtischtest1->show();
    resizeDocks({Variablen1}, {280}, Qt::Horizontal);
    resizeDocks({EinundAusgabe1, Schreibtischtest1}, {220, 220}, Qt::Vertical);
    resizeDocks({EinundAusgabe1, Schreibtischtest1}, {width() * 2 / 5, width() * 3 / 5},
                Qt::Horizontal);
  });
  UpdateRunActions();
}

void TForm2::RetranslateRunUi() {
  ToolBar2->setWindowTitle(tr("Ausführen"));
  ToolBar2->toggleViewAction()->setText(tr("Werkzeugleiste „Ausführen“"));
  if (auto* slider = ToolBar2->findChild<QSlider*>(QStringLiteral("Geschwindigkeit")))
    slider->setToolTip(tr("Pause zwischen zwei Schritten beim Starten"));
  if (auto* label = ToolBar2->findChild<QLabel*>(QStringLiteral("Pausenanzeige")))
    label->setText(run_->Delay() == 0 ? tr("Pause: keine") : tr("Pause: %1 ms").arg(run_->Delay()));
  if (auto* state = ToolBar2->findChild<QLabel*>(QStringLiteral("Laufzustand")))
    state->setText(run_->StateText());
  if (auto* seed = findChild<QAction*>(QStringLiteral("Zufallszahlenwiederholbar1"))) {
    seed->setText(tr("Zufallszahlen wiederholbar"));
    seed->setToolTip(tr("Jeder Lauf zieht dieselben Zufallszahlen, auch nach randomize"));
  }
}

void TForm2::UpdateRunActions() {
  using S = TRunController::TState;
  const S s = run_->State();
  auto enable = [this](const char* name, bool on) {
    if (QAction* a = findChild<QAction*>(QLatin1String(name), Qt::FindDirectChildrenOnly))
      a->setEnabled(on);
  };
  const bool standing = s == S::Paused || s == S::Waiting || s == S::Finished || s == S::Failed;
  enable("Starten1", s != S::Running && s != S::Waiting);
  enable("Einzelschritt1", s != S::Waiting);
  enable("Schrittzurck1", standing && run_->Machine() && run_->Machine()->CanStepBack());
  enable("Pause1", s == S::Running);
  enable("Abbrechen1", s != S::Idle);
  enable("BiszurAuswahl1", s != S::Running && s != S::Waiting);
}

const TRunMarks* TForm2::RunMarks() const {
  return run_ ? run_->Marks() : nullptr;
}

void TForm2::Starten1Click(QObject*) {
  run_->Start();
}
void TForm2::Einzelschritt1Click(QObject*) {
  run_->Step();
}
void TForm2::Schrittzurck1Click(QObject*) {
  run_->StepBack();
}
void TForm2::Pause1Click(QObject*) {
  run_->Pause();
}
void TForm2::Abbrechen1Click(QObject*) {
  run_->Cancel();
}
void TForm2::BiszurAuswahl1Click(QObject*) {
  run_->RunToSelection();
}
void TForm2::Haltepunktanaus1Click(QObject*) {
  run_->ToggleBreakpoint();
}
void TForm2::AlleHaltepunkteentfernen1Click(QObject*) {
  run_->ClearBreakpoints();
}

void TForm2::GrowForPanels() {
  // Panels need room beside the diagram: a small frame grows where the screen allows.
  QScreen* screen = this->screen();
  if (!screen || isMaximized() || isFullScreen())
    return;
  const QRect room = screen->availableGeometry();
  const QSize wanted(std::min(room.width(), std::max(width(), 1100)),
                     std::min(room.height() - 40, std::max(height(), 760)));
  resize(wanted);
  const QRect frame = frameGeometry();
  if (!room.contains(frame))
    move(std::max(room.left(), std::min(frame.left(), room.right() - frame.width())),
         std::max(room.top(), std::min(frame.top(), room.bottom() - frame.height())));
}

// SPDX-License-Identifier: MIT
// The main window's part in checking the program while it is edited: "Ansicht" → "Prüfungen
// anzeigen" and the panel "Prüfergebnisse", and showing an element the user picked from a list.
#include "ui/main/tform2.h"

#include "ui/checks/check_controller.h"
#include "ui/checks/problems_panel.h"
#include "ui/diagram/tform1.h"
#include "ui/main/app_settings.h"
#include "ui/main/text_codec.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

namespace {

const char* const kShowKey = "Pruefungen/Anzeigen";

} // namespace

void TForm2::createCheckUi() {
  checks_ = std::make_unique<TCheckController>(*this);
  Prfergebnisse1 = new TProblemsPanel(*checks_, this);
  Prfergebnisse1->setFont(QApplication::font());
  addDockWidget(Qt::BottomDockWidgetArea, Prfergebnisse1);
  Prfergebnisse1->hide();

  QMenu* menu = MainMenu1->findChild<QMenu*>(QStringLiteral("Drucken1"));
  menu->addSeparator()->setObjectName(QStringLiteral("N16"));
  Prfungenanzeigen1 = menu->addAction(QString());
  Prfungenanzeigen1->setObjectName(QStringLiteral("Prfungenanzeigen1"));
  Prfungenanzeigen1->setCheckable(true);
  Prfungenanzeigen1->setChecked(
      QSettings(QLatin1String(kSettingsName), QLatin1String(kSettingsName))
          .value(QLatin1String(kShowKey), false)
          .toBool());
  connect(Prfungenanzeigen1, &QAction::toggled, this, [this](bool on) {
    QSettings(QLatin1String(kSettingsName), QLatin1String(kSettingsName))
        .setValue(QLatin1String(kShowKey), on);
    UpdateChecksWanted();
    for (TForm1* window : DiagramWindows())
      window->viewport()->update();
  });
  QAction* panel = Prfergebnisse1->toggleViewAction();
  panel->setObjectName(QStringLiteral("Prfergebnisse1"));
  menu->addAction(panel);
  connect(panel, &QAction::toggled, this, [this](bool on) {
    if (on && !checksPanelShown_) {
      checksPanelShown_ = true;
      GrowForPanels();
      resizeDocks({Prfergebnisse1}, {200}, Qt::Vertical);
    }
    UpdateChecksWanted();
  });
  connect(Prfergebnisse1, &QDockWidget::visibilityChanged, this, [this] { UpdateChecksWanted(); });

  connect(checks_.get(), &TCheckController::FindingsChanged, this, [this] {
    if (Prfungenanzeigen1->isChecked())
      for (TForm1* window : DiagramWindows())
        window->viewport()->update();
  });
  connect(Prfergebnisse1, &TProblemsPanel::ElementClicked, this,
          [this](const TElement* e) { ShowElement(e, false); });
  connect(Prfergebnisse1, &TProblemsPanel::ElementDoubleClicked, this,
          [this](const TElement* e) { ShowElement(e, true); });
  UpdateChecksWanted();
}

void TForm2::UpdateChecksWanted() {
  checks_->SetWanted(Prfungenanzeigen1->isChecked() || !Prfergebnisse1->isHidden());
}

const TCheckMarks* TForm2::CheckMarks() const {
  return checks_ && Prfungenanzeigen1 && Prfungenanzeigen1->isChecked() ? &checks_->Marks()
                                                                        : nullptr;
}

QString TForm2::CheckMessages(const TElement* e) const {
  return CheckMarks() ? checks_->MessagesFor(e) : QString();
}

TForm1* TForm2::ShowElement(const TElement* target, bool edit) {
  if (!target || !first_)
    return nullptr;
  // The window that shows it as itself, the active one first; else a window of its own for the
  // innermost named block holding it, as "Block in neuem Fenster anzeigen" opens one.
  QList<TForm1*> windows = DiagramWindows();
  if (TForm1* active = ActiveWindow(); active && windows.removeOne(active))
    windows.prepend(active);
  TForm1* shown = nullptr;
  for (TForm1* window : windows) {
    bool exact = false;
    if (window->ShowRunElement(target, nullptr, false, false, &exact) && exact) {
      shown = window;
      break;
    }
  }
  if (!shown) {
    std::vector<int32_t> enclosing;
    const std::vector<const TElement*> order = ElementsInOrder(*Program, &enclosing);
    std::size_t at = 0;
    while (at < order.size() && order[at] != target)
      ++at;
    if (at == order.size() || enclosing[at] <= 0)
      return nullptr; // not in the document, or hidden by nothing a window could open
    auto* block = const_cast<TBlock*>(static_cast<const TBlock*>(order[enclosing[at]]));
    shown = TForm1::CreateForBlock(this, block);
    shown->SetCaption(FromCp1252(block->Text));
  }
  shown->ShowRunElement(target, nullptr, true, true);
  if (QMdiSubWindow* sub = shown->SubWindow()) {
    if (sub->isMinimized())
      sub->showNormal();
    mdiArea_->setActiveSubWindow(sub);
  }
  shown->setFocus();
  if (edit)
    shown->Textbearbeiten1Click(nullptr);
  return shown;
}

// SPDX-License-Identifier: MIT
// "Ansicht" → "Sprache": German or English for the user interface, kept for the next start.
#include "ui/main/tform2.h"

#include "ui/main/language.h"
#include "ui/main/windowing_services.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>

void TForm2::createLanguageMenu() {
  QMenu* view = MainMenu1->findChild<QMenu*>(QStringLiteral("Drucken1"));
  view->addSeparator()->setObjectName(QStringLiteral("N18"));
  Sprache1 = view->addMenu(QString());
  Sprache1->setObjectName(QStringLiteral("Sprache1"));
  Sprache1->menuAction()->setObjectName(QStringLiteral("Sprache1Action"));
  auto* group = new QActionGroup(Sprache1);
  // Each language under its own name, as a user who cannot read the other finds it.
  const struct {
    const char* name;
    const char* caption;
    TUiLanguage language;
  } languages[] = {{"Deutsch1", "Deutsch", TUiLanguage::German},
                   {"English1", "English", TUiLanguage::English}};
  const TUiLanguage saved = SavedLanguage();
  for (const auto& entry : languages) {
    QAction* item = Sprache1->addAction(QString::fromUtf8(entry.caption));
    item->setObjectName(QLatin1String(entry.name));
    item->setCheckable(true);
    item->setChecked(entry.language == saved);
    group->addAction(item);
    const TUiLanguage language = entry.language;
    connect(item, &QAction::triggered, this, [this, language] {
      SaveLanguage(language);
      if (language == CurrentLanguage())
        return;
      // At once: the translators change, and every window answers the change with its texts.
      if (!InstallLanguage(language))
        services_.ShowMessage(tr("Die Übersetzung fehlt; die Sprache bleibt, wie sie ist."),
                              TMessageKind::Error);
    });
  }
}

void TForm2::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::LanguageChange || !MainMenu1)
    return;
  RetranslateUi();
  // The diagrams' words ("ja", "nein", "solange") have other widths now, and the checks'
  // messages speak the new language once checked again.
  RefreshAll();
  UpdateCaptions();
}

// SPDX-License-Identifier: MIT
// The main window's menu bar and toolbar, built from the tables below so that the tables and
// the code compare line by line; their texts are set anew when the language changes.
#include "ui/main/tform2.h"

#include "ui/main/toolbar_pictures.h"
#include "ui/main/windowing_services.h"

#include <QAction>
#include <QApplication>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace {

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
} // namespace

void TForm2::createActions() {
  for (const TMenuItem& item : kMenuItems) {
    auto* action = new QAction(this);
    action->setObjectName(QLatin1String(item.name));
    if (QLatin1String(item.caption) == QLatin1String("-")) {
      action->setSeparator(true);
    } else if (item.submenu) {
      auto* menu = new QMenu(this);
      menu->setObjectName(QLatin1String(item.name) + QStringLiteral("Menu"));
      action->setMenu(menu);
    } else {
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
    QMenu* menu = MainMenu1->addMenu(QString());
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

void TForm2::RetranslateUi() {
  setWindowTitle(tr("Fluss-Diagramme zeichnen"));
  for (const TMenuHeader& header : kMenus)
    if (QMenu* menu = MainMenu1->findChild<QMenu*>(QLatin1String(header.name)))
      menu->setTitle(tr(header.caption));
  for (const TMenuItem& item : kMenuItems) {
    if (QLatin1String(item.caption) == QLatin1String("-"))
      continue;
    if (QAction* action = findChild<QAction*>(QLatin1String(item.name), Qt::FindDirectChildrenOnly))
      action->setText(tr(item.caption));
  }
  for (const TToolButtonEntry& entry : kToolButtons)
    if (auto* button = ToolBar1->findChild<QToolButton*>(QLatin1String(entry.name)))
      button->setToolTip(tr(entry.hint));
  RetranslateRunUi();
  if (Prfungenanzeigen1)
    Prfungenanzeigen1->setText(tr("Prüfungen anzeigen"));
  if (Sprache1)
    Sprache1->setTitle(tr("Sprache"));
}

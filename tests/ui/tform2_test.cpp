// SPDX-License-Identifier: MIT
#include "main_form_fixture.h"

#include "model/stream.h"
#include "model/structogram_file.h"
#include "render/display_options.h"
#include "ui/main/application.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

#include <stdexcept>

namespace {

class TForm2Test : public MainFormTest {
protected:
  QTemporaryDir dir;

  QString Path(const QString& name) const { return dir.filePath(name); }
  // A structogram file of a program titled title with count statements.
  QString WriteProgram(const QString& name, const TText& title, int count) {
    TOwned<TBlock> root = TBlock::CreateWithText(title);
    AppendStatements(*root, count, "s");
    SaveDocumentFile(*root, Path(name).toStdString());
    return Path(name);
  }
  QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  QAction* Action(const char* name) { return form->findChild<QAction*>(QLatin1String(name)); }
  // The document's file bytes.
  std::string DescribeForTest() const {
    TMemoryStream image;
    SaveDocument(*form->Program, image);
    return image.Data;
  }
  int ChainLength() const {
    int n = 0;
    for (TElement* e = form->Program->Body; e; e = e->Next)
      ++n;
    return n;
  }
};

// --- Start-up -------------------------------------------------------------------------------

TEST_F(TForm2Test, StartsWithAnEmptyProgram) {
  Start();
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Fluss-Diagramme zeichnen"));
  EXPECT_EQ(form->frameGeometry(), QRect(278, 105, 696, 480));
  ASSERT_EQ(form->DiagramWindows().size(), 1);
  EXPECT_FALSE(First().Secondary);
  EXPECT_EQ(First().Caption(), QStringLiteral("gesamtes Programm"));
  EXPECT_EQ(form->Program->Body, nullptr);
  EXPECT_FALSE(form->Program->Independent);
  EXPECT_FALSE(form->Program->Bracketed);
  EXPECT_EQ(form->History.Count(), 0);
  EXPECT_TRUE(services.Messages.empty());
}

TEST_F(TForm2Test, MissingFileIsReportedThenAnEmptyProgram) {
  const QString missing = Path("fehlt.str");
  Start(missing);
  ASSERT_EQ(services.Messages.size(), 1u);
  EXPECT_EQ(services.Messages[0].kind, TMessageKind::Information);
  EXPECT_EQ(services.Messages[0].text,
            QStringLiteral("Datei %1 kann nicht geöffnet werden").arg(missing));
  EXPECT_EQ(First().Caption(), QStringLiteral("gesamtes Programm"));
  EXPECT_EQ(form->Program->Body, nullptr);
}

TEST_F(TForm2Test, ValidFileIsShownUnderItsTitle) {
  Start(WriteProgram("gut.str", "Hauptprogramm", 4));
  EXPECT_TRUE(services.Messages.empty());
  EXPECT_EQ(First().Caption(), QStringLiteral("Hauptprogramm"));
  EXPECT_EQ(ChainLength(), 4);
  EXPECT_FALSE(form->Program->Bracketed);
}

// What follows a program's record decides the information shown, at start-up and on loading.
TEST_F(TForm2Test, DamageIsReportedOnlyWhereSomethingIsLostOrHidden) {
  struct Row {
    const char* name;
    QByteArray appended;
    const char* message; // nullptr: none
  };
  const Row rows[] = {
      {"nothing", "", nullptr},
      {"a clean end mark", QByteArray("\x02\x02", 2), nullptr},
      {"records after the program", "A:zu viel\x01", "enthält Daten hinter dem Programm"},
      {"bytes left unread", QByteArray("\x02\x02xy", 4), "nur teilweise geladen"},
      {"an unknown tag", "Q:", "nur teilweise geladen"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const QString path = WriteProgram("datei.str", "Teilweise", 2);
    {
      QFile file(path);
      ASSERT_TRUE(file.open(QIODevice::Append));
      file.write(row.appended);
    }
    for (bool atStartUp : {true, false}) {
      services.Messages.clear();
      form.reset();
      Start(atStartUp ? path : QString());
      if (!atStartUp) {
        services.FileAnswers.push_back(path);
        form->Struktogrammladen1Click(nullptr);
      }
      if (!row.message) {
        QTest::qWait(20);
        EXPECT_TRUE(services.Messages.empty()) << services.Messages[0].text.toStdString();
      } else {
        ASSERT_TRUE(WaitFor([&] { return !services.Messages.empty(); }));
        EXPECT_EQ(services.Messages[0].kind, TMessageKind::Information);
        EXPECT_TRUE(services.Messages[0].text.contains(path));
        EXPECT_TRUE(services.Messages[0].text.contains(QString::fromUtf8(row.message)))
            << services.Messages[0].text.toStdString();
      }
      EXPECT_EQ(ChainLength(), 2);
    }
  }
}

TEST_F(TForm2Test, UnreadableFileGivesTheFailureReportAndAnEmptyProgram) {
  const QString path = Path("leer.str");
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("B");
  }
  Start(path);
  ASSERT_EQ(services.Messages.size(), 1u);
  EXPECT_EQ(services.Messages[0].kind, TMessageKind::Error);
  EXPECT_FALSE(services.Messages[0].text.isEmpty());
  EXPECT_EQ(First().Caption(), QStringLiteral("gesamtes Programm"));
}

// --- Menu bar and toolbar ---------------------------------------------------------------------

struct TExpectedItem {
  const char* name;
  const char* caption; // "-": separator
  bool visible;
};

struct TExpectedMenu {
  const char* name;
  const char* caption;
  std::vector<TExpectedItem> items;
};

TEST_F(TForm2Test, MenuBarMatchesTheTable) {
  Start();
  const std::vector<TExpectedMenu> expected = {
      {"Datei1",
       "Datei",
       {{"Neu1", "Neu", true},
        {"N2", "-", true},
        {"Struktogrammladen1", "Struktogramm laden", true},
        {"Struktogrammspeichern1", "Struktogramm speichern", true},
        {"N11", "-", true},
        {"InZwischenablage1", "In Zwischenablage kopieren", true},
        {"Exportieren1", "Exportieren", true},
        {"Drucken2", "Drucken", true},
        {"N1", "-", true},
        {"Programmbeenden1", "Programm beenden", true},
        // Beyond the original program's items.
        {"N12", "-", true},
        {"Zuletztgeffnet1", "Zuletzt geöffnet", true},
        {"N13", "-", true},
        {"AlsBildexportieren1", "Als Bild exportieren…", true},
        {"Seitenansicht1", "Seitenansicht…", true},
        {"N14", "-", true},
        {"InZwischenablagekopierenals1", "In Zwischenablage kopieren als…", true},
        {"PascalQuelltextimportieren1", "Pascal-Quelltext importieren…", true}}},
      {"Einfgen1",
       "Bearbeiten",
       {{"Rckgngig1", "Rückgängig", true},
        {"N4", "-", true},
        {"Anweisung", "Anweisung einfügen", true},
        {"IfAnweisung", "Entscheidung einfügen", true},
        {"N3", "-", true},
        {"WhileSchleife", "Schleife (Test vorher)", true},
        {"RepeatUntilSchleife", "Schleife (Test danach)", true},
        {"DoWhileSchleife", "Schleife (Test danach)", false},
        {"ForSchleife", "Zählschleife einfügen", true},
        // Beyond the original program's items.
        {"N5", "-", true},
        {"Wiederherstellen1", "Wiederherstellen", true},
        {"N6", "-", true},
        {"Ausschneiden1", "Ausschneiden", true},
        {"Kopieren1", "Kopieren", true},
        {"AusZwischenablageeinfgen1", "Aus Zwischenablage einfügen", true},
        {"N17", "-", true},
        {"Suchen1", "Suchen…", true},
        {"Weitersuchen1", "Weitersuchen", true},
        {"Ersetzen1", "Ersetzen…", true}}},
      {"Drucken1",
       "Ansicht",
       {{"Blockvergrern1", "Block vergrößern/verkleinern", true},
        {"BlockinneuemFensteranzeigen1", "Block in neuem Fenster anzeigen", true},
        // Beyond the original program's items.
        {"N7", "-", true},
        {"Vergrern1", "Vergrößern", true},
        {"Verkleinern1", "Verkleinern", true},
        {"Originalgre1", "Originalgröße", true},
        {"N15", "-", true},
        {"AlsFlussdiagramm1", "Als Flussdiagramm", true},
        {"AlsNassiShneidermanStruktogramm1", "Als Nassi-Shneiderman-Struktogramm", true},
        {"N16", "-", true},
        {"Prfungenanzeigen1", "Prüfungen anzeigen", true},
        {"Prfergebnisse1", "Prüfergebnisse", true},
        {"N18", "-", true},
        {"Sprache1Action", "Sprache", true}}},
      // Beyond the original program's menus.
      {"Ausfhren1",
       "Ausführen",
       {{"Starten1", "Starten", true},
        {"Einzelschritt1", "Einzelschritt", true},
        {"Schrittzurck1", "Schritt zurück", true},
        {"Pause1", "Pause", true},
        {"Abbrechen1", "Abbrechen", true},
        {"N8", "-", true},
        {"BiszurAuswahl1", "Bis zur Auswahl", true},
        {"Haltepunktanaus1", "Haltepunkt an/aus", true},
        {"AlleHaltepunkteentfernen1", "Alle Haltepunkte entfernen", true},
        {"N9", "-", true},
        {"Zufallszahlenwiederholbar1", "Zufallszahlen wiederholbar", true},
        {"N10", "-", true},
        {"WerkzeugleisteAusfhren1", "Werkzeugleiste „Ausführen“", true},
        {"Variablen1", "Variablen", true},
        {"EinundAusgabe1", "Ein- und Ausgabe", true},
        {"Schreibtischtest1", "Schreibtischtest", true}}},
  };
  const QList<QAction*> menus = form->menuBar()->actions();
  ASSERT_EQ(menus.size(), static_cast<qsizetype>(expected.size()));
  for (std::size_t m = 0; m < expected.size(); ++m) {
    QMenu* menu = menus[m]->menu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), QLatin1String(expected[m].name));
    EXPECT_EQ(menu->title(), QString::fromUtf8(expected[m].caption));
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), static_cast<qsizetype>(expected[m].items.size())) << expected[m].name;
    for (std::size_t i = 0; i < expected[m].items.size(); ++i) {
      const TExpectedItem& e = expected[m].items[i];
      SCOPED_TRACE(e.name);
      EXPECT_EQ(items[i]->objectName(), QLatin1String(e.name));
      const bool separator = QLatin1String(e.caption) == QLatin1String("-");
      EXPECT_EQ(items[i]->isSeparator(), separator);
      if (!separator) {
        EXPECT_EQ(items[i]->text(), QString::fromUtf8(e.caption));
      }
      EXPECT_EQ(items[i]->isVisible(), e.visible);
    }
  }
}

TEST_F(TForm2Test, ToolBarMatchesTheTable) {
  Start();
  struct TExpectedButton {
    const char* name;
    const char* hint;
    int width;
    bool visible;
  };
  const TExpectedButton expected[] = {
      {"BAnweisung", "Anweisung", 81, true},
      {"BIfAnweisung", "Entscheidung", 75, true},
      {"BWhileSchleife", "Schleife (Test vorher)", 75, true},
      {"BForSchleife", "Zählschleife", 75, true},
      {"BDoWhileSchleife", "Schleife (Test hinterher)", 75, false},
      {"BRepeatUntilSchleife", "Schleife (Test hinterher)", 75, true},
  };
  QToolBar* bar = form->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->height(), 41);
  EXPECT_EQ(bar->iconSize(), QSize(50, 25)); // else the pictures are drawn shrunk
  int lastX = -1;
  for (const TExpectedButton& e : expected) {
    SCOPED_TRACE(e.name);
    auto* button = bar->findChild<QToolButton*>(QLatin1String(e.name));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->toolTip(), QString::fromUtf8(e.hint));
    EXPECT_EQ(button->size(), QSize(e.width, 31));
    EXPECT_EQ(button->iconSize(), QSize(50, 25));
    EXPECT_FALSE(button->icon().isNull());
    EXPECT_EQ(button->isVisible(), e.visible);
    if (e.visible) {
      EXPECT_GT(button->x(), lastX); // left to right in table order
      lastX = button->x();
    }
  }
}

// --- Commands -----------------------------------------------------------------------------------

TEST_F(TForm2Test, UndoClosesSecondaryWindowsAndMendsTheCaption) {
  Start();
  form->Rckgngig1Click(nullptr); // empty history: nothing happens
  EXPECT_EQ(form->Program->Text, "gesamtes Programm");

  form->PushUndo();
  form->Program->Text = "umbenannt";
  AppendStatements(*form->Program, 2, "s");
  form->UpdateCaptions();
  TForm1::CreateForBlock(nullptr, form->Program.get());
  ASSERT_EQ(form->DiagramWindows().size(), 2);
  TBlock* before = form->Program.get();
  Action("Rckgngig1")->trigger();
  EXPECT_NE(form->Program.get(), before);
  EXPECT_EQ(form->Program->Text, "gesamtes Programm");
  EXPECT_EQ(form->Program->Body, nullptr);
  EXPECT_EQ(form->DiagramWindows().size(), 1);
  EXPECT_EQ(First().Root, form->Program.get());
  EXPECT_EQ(First().Caption(), QStringLiteral("gesamtes Programm"));
  EXPECT_EQ(form->History.UndoPosition(), 1);
}

// Ctrl+Z steps back, Ctrl+Y and Ctrl+Shift+Z forward again; a change clears the way forward.
TEST_F(TForm2Test, UndoAndRedoByTheirKeys) {
  Start();
  const auto change = [&](const char* title) {
    form->PushUndo();
    form->Program->Text = title;
    form->RefreshAll();
  };
  const auto keys = [&](const QKeySequence& sequence) {
    QTest::keySequence(First().viewport(), sequence);
    return form->Program->Text;
  };
  change("eins");
  change("zwei");
  EXPECT_EQ(keys(QKeySequence("Ctrl+Z")), "eins");
  EXPECT_EQ(keys(QKeySequence("Ctrl+Z")), "gesamtes Programm");
  EXPECT_EQ(keys(QKeySequence("Ctrl+Y")), "eins");
  EXPECT_EQ(keys(QKeySequence("Ctrl+Shift+Z")), "zwei");
  EXPECT_EQ(keys(QKeySequence("Ctrl+Y")), "zwei"); // nothing further forward
  TForm1::CreateForBlock(nullptr, form->Program.get());
  EXPECT_EQ(keys(QKeySequence("Ctrl+Z")), "eins");
  EXPECT_EQ(form->DiagramWindows().size(), 1); // like undo, redo closes the other windows
  EXPECT_EQ(First().Caption(), QStringLiteral("eins"));
  change("drei");
  EXPECT_FALSE(form->History.CanStepForward());
  EXPECT_EQ(keys(QKeySequence("Ctrl+Y")), "drei");
  EXPECT_EQ(keys(QKeySequence("Ctrl+Z")), "eins");
}

TEST_F(TForm2Test, NewLeavesOnlyTheFirstWindowAndAnEmptyHistory) {
  Start(WriteProgram("alt.str", "Alt", 3));
  form->PushUndo();
  TForm1::CreateForBlock(nullptr, form->Program.get());
  TForm1::CreateForBlock(nullptr, form->Program.get());
  ASSERT_EQ(form->DiagramWindows().size(), 3);
  Action("Neu1")->trigger();
  EXPECT_EQ(form->DiagramWindows().size(), 1);
  EXPECT_EQ(form->Program->Body, nullptr);
  EXPECT_EQ(First().Root, form->Program.get());
  EXPECT_EQ(First().Caption(), QStringLiteral("gesamtes Programm"));
  EXPECT_EQ(form->History.Count(), 0);
  TBlock* program = form->Program.get();
  form->Rckgngig1Click(nullptr);
  EXPECT_EQ(form->Program.get(), program);
}

TEST_F(TForm2Test, SaveLoadExportAndClipboard) {
  Start(WriteProgram("quelle.str", "Hauptprogramm", 3));
  const QString saved = Path("kopie.str");
  const QString exported = Path("kopie.pas");
  services.FileAnswers = {saved, exported, std::nullopt, saved};
  Action("Struktogrammspeichern1")->trigger();
  Action("Exportieren1")->trigger();
  Action("Struktogrammladen1")->trigger(); // cancelled: nothing happens
  EXPECT_EQ(services.Filters, QStringList({"Struktogramme (*.str)|*.str|Alle Dateien|*.*",
                                           "Quellcode (*.pas)|*.pas|Python-Quellcode (*.py)|*.py|Java-Quellcode "
                         "(*.java)|*.java|C-Quellcode (*.c)|*.c|Alle Dateien|*.*",
                                           "Struktogramme (*.str)|*.str|Alle Dateien|*.*"}));
  EXPECT_EQ(services.DefaultExtensions, QStringList({"str", "pas", QString()}));
  EXPECT_EQ(ReadAll(saved), ReadAll(Path("quelle.str")));
  const std::string source = ExportProgram(*form->Program);
  EXPECT_EQ(ReadAll(exported).toStdString(), source);

  Action("InZwischenablage1")->trigger();
  ASSERT_TRUE(services.Clipboard.has_value());
  EXPECT_EQ(services.Clipboard->toStdString(), source);

  form->PushUndo();
  TForm1::CreateForBlock(nullptr, form->Program.get());
  TBlock* old = form->Program.get();
  Action("Struktogrammladen1")->trigger();
  EXPECT_NE(form->Program.get(), old);
  EXPECT_EQ(ChainLength(), 3);
  EXPECT_EQ(form->History.Count(), 0);
  EXPECT_EQ(form->DiagramWindows().size(), 1);
  EXPECT_EQ(First().Root, form->Program.get());
  EXPECT_EQ(First().Caption(), QStringLiteral("Hauptprogramm"));
}

// "Zuletzt geöffnet" lists the last eight files loaded or saved, newest first, also in the next
// run; choosing one loads it, and one that is gone is reported and leaves the list.
TEST_F(TForm2Test, RecentFilesAreOfferedForLoading) {
  std::vector<QString> files;
  for (int i = 0; i < 10; ++i)
    files.push_back(WriteProgram(QStringLiteral("f%1.str").arg(i), "P" + std::to_string(i), i));
  Start(files[0]);
  for (int i = 1; i < 9; ++i) {
    services.FileAnswers = {files[i]};
    Action(i % 2 ? "Struktogrammladen1" : "Struktogrammspeichern1")->trigger();
  }
  form.reset();
  Start(); // the next run
  const auto listed = [&] {
    form->FillRecentFiles();
    QStringList texts;
    for (QAction* a : form->Zuletztgeffnet1->actions())
      texts << a->text();
    return texts;
  };
  QStringList expected;
  for (int i = 8; i >= 1; --i)
    expected << QStringLiteral("&%1 %2").arg(9 - i).arg(files[i]);
  EXPECT_EQ(listed(), expected);
  form->Zuletztgeffnet1->actions()[2]->trigger();     // f6
  EXPECT_EQ(First().Caption(), QStringLiteral("P5")); // saved under f6 from P5
  EXPECT_EQ(form->RecentFiles().Files().first(), files[6]);
  QFile::remove(files[7]);
  services.Messages.clear();
  form->FillRecentFiles();
  form->Zuletztgeffnet1->actions()[2]->trigger(); // f7 (after f6 and f8), gone
  ASSERT_EQ(services.Messages.size(), 1u);
  EXPECT_TRUE(services.Messages[0].text.contains(QStringLiteral("gibt es nicht mehr")));
  EXPECT_FALSE(form->RecentFiles().Files().contains(files[7]));
  EXPECT_EQ(First().Caption(), QStringLiteral("P5"));
}

// Saving and exporting write the file a link points to and keep the link and the file's mode.
TEST_F(TForm2Test, SaveAndExportWriteThroughLinks) {
  Start(WriteProgram("quelle.str", "Hauptprogramm", 2));
  for (const char* name : {"ziel.str", "ziel.pas"}) {
    QFile target(Path(name));
    ASSERT_TRUE(target.open(QIODevice::WriteOnly));
    target.write("alt");
    target.close();
    target.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    ASSERT_TRUE(QFile::link(name, Path(QStringLiteral("link-") + name)));
  }
  services.FileAnswers = {Path("link-ziel.str"), Path("link-ziel.pas")};
  Action("Struktogrammspeichern1")->trigger();
  Action("Exportieren1")->trigger();
  EXPECT_TRUE(services.Messages.empty());
  EXPECT_EQ(ReadAll(Path("ziel.str")), ReadAll(Path("quelle.str")));
  EXPECT_EQ(ReadAll(Path("ziel.pas")).toStdString(), ExportProgram(*form->Program));
  for (const char* name : {"ziel.str", "ziel.pas"}) {
    EXPECT_TRUE(QFileInfo(Path(QStringLiteral("link-") + name)).isSymLink());
    EXPECT_EQ(QFile::permissions(Path(name)) & 0x7777, QFile::ReadOwner | QFile::WriteOwner |
                                                           QFile::ReadGroup | QFile::ReadUser |
                                                           QFile::WriteUser);
  }
}

// A file gone since it was chosen, or a folder chosen as a file: the document stays.
TEST_F(TForm2Test, FailedLoadIsReportedAndKeepsTheDocument) {
  Start();
  TBlock* program = form->Program.get();
  for (const QString& chosen : {Path("nirgends.str"), dir.path()}) {
    services.Messages.clear();
    services.FileAnswers = {chosen};
    Action("Struktogrammladen1")->trigger();
    ASSERT_EQ(services.Messages.size(), 1u);
    EXPECT_EQ(services.Messages[0].kind, TMessageKind::Error);
    EXPECT_EQ(services.Messages[0].text,
              QStringLiteral("Datei %1 kann nicht geöffnet werden").arg(chosen));
    EXPECT_EQ(form->Program.get(), program);
    EXPECT_EQ(First().Root, program);
  }
}

TEST_F(TForm2Test, PrintsTheActiveWindowIntoAPdf) {
  Start(WriteProgram("druck.str", "Druckprogramm", 5));
  const QString pdf = Path("druck.pdf");
  services.SetPrintFile(pdf);
  services.PrintAnswer = false;
  Action("Drucken2")->trigger();
  EXPECT_EQ(services.PrintDialogs, 1);
  EXPECT_FALSE(QFile::exists(pdf));

  services.PrintAnswer = true;
  First().Display->Spacing = 9;
  Action("Drucken2")->trigger();
  EXPECT_TRUE(services.Messages.empty());
  const QByteArray bytes = ReadAll(pdf);
  EXPECT_TRUE(bytes.startsWith("%PDF"));
  EXPECT_GT(bytes.size(), 1000);
  EXPECT_EQ(services.Printer().docName(), QStringLiteral("Druckprogramm"));
  EXPECT_EQ(services.Printer().resolution(), 300);
  EXPECT_EQ(First().Display->Spacing, 6);
  EXPECT_FALSE(First().Display->PrintMode);
  EXPECT_TRUE(First().Display->UseColor);
}

TEST_F(TForm2Test, ViewCommandsForwardToTheActiveWindow) {
  Start(WriteProgram("ansicht.str", "Ansicht", 2));
  TBlock* part = TBlock::CreateWithText("Teil").release();
  form->Program->Body->Insert(part);
  form->RefreshAll();
  form->MdiArea()->setActiveSubWindow(First().SubWindow());
  First().Display->AddSelection(part);
  Action("Blockvergrern1")->trigger();
  EXPECT_TRUE(First().Display->IsCollapsed(part));
  Action("BlockinneuemFensteranzeigen1")->trigger();
  ASSERT_EQ(form->DiagramWindows().size(), 2);
  TForm1* opened = form->DiagramWindows().at(1);
  EXPECT_EQ(opened->Root, part);
  EXPECT_TRUE(opened->Secondary);
  EXPECT_EQ(opened->Caption(), QStringLiteral("Teil"));
  form->ToggleCollapsedEverywhere(part);
  EXPECT_FALSE(First().Display->IsCollapsed(part));
  EXPECT_TRUE(opened->Display->IsCollapsed(part));
}

TEST_F(TForm2Test, ProgrammBeendenClosesTheMainWindow) {
  Start();
  Action("Programmbeenden1")->trigger();
  EXPECT_TRUE(WaitFor([&] { return !form->isVisible(); }));
  EXPECT_TRUE(services.Messages.empty());
  EXPECT_TRUE(services.Questions.isEmpty());
}

// Quitting, closing, "Neu" and loading offer unsaved changes for saving first; an unchanged
// document is never asked about.
TEST_F(TForm2Test, UnsavedChangesAreOfferedForSaving) {
  const QString other = WriteProgram("anderes.str", "Anderes", 5);
  enum class TCommand { Quit, CloseBox, New, Load };
  enum class TChange { None, Statements, CancelledEdit, UndoneAfterSave };
  struct Row {
    TCommand command;
    TChange change;
    std::vector<TAnswer> answers;
    std::vector<std::optional<QString>> files; // save dialog (and then load dialog) answers
    bool asked;
    bool proceeds; // the command went on
    bool saved;    // the changed program is in saved.str
  };
  const QString saved = Path("gespeichert.str");
  const QString nowhere = Path("kein/Ordner.str");
  using C = TCommand;
  using X = TChange;
  const Row rows[] = {
      {C::Quit, X::None, {}, {}, false, true, false},
      {C::New, X::None, {}, {}, false, true, false},
      {C::Load, X::CancelledEdit, {}, {other}, false, true, false},
      {C::Quit, X::Statements, {TAnswer::No}, {}, true, true, false},
      {C::CloseBox, X::Statements, {TAnswer::Cancel}, {}, true, false, false},
      {C::Quit, X::Statements, {TAnswer::Yes}, {saved}, true, true, true},
      {C::Quit, X::Statements, {TAnswer::Yes}, {std::nullopt}, true, false, false},
      {C::CloseBox, X::Statements, {TAnswer::Yes}, {nowhere}, true, false, false},
      {C::New, X::Statements, {TAnswer::Cancel}, {}, true, false, false},
      {C::New, X::Statements, {TAnswer::Yes}, {saved}, true, true, true},
      {C::Load, X::Statements, {TAnswer::No}, {other}, true, true, false},
      {C::Load, X::Statements, {TAnswer::Cancel}, {other}, true, false, false},
      {C::Load, X::Statements, {TAnswer::Yes}, {saved, other}, true, true, true},
      {C::New, X::UndoneAfterSave, {TAnswer::No}, {}, true, true, false},
  };
  int i = 0;
  for (const Row& row : rows) {
    SCOPED_TRACE(i++);
    QFile::remove(saved);
    form.reset();
    services.Questions.clear();
    services.Messages.clear();
    Start();
    TForm1& first = First();
    if (row.change == X::Statements) {
      AppendStatements(*form->Program, 2, "neu");
    } else if (row.change == X::CancelledEdit) {
      first.Display->AddSelection(form->Program.get());
      first.Textbearbeiten(); // cancelled by the empty script, yet a snapshot is taken
    } else if (row.change == X::UndoneAfterSave) {
      form->PushUndo();
      AppendStatements(*form->Program, 1, "a");
      services.FileAnswers = {Path("zwischen.str")};
      form->Struktogrammspeichern1Click(nullptr);
      form->PushUndo();
      AppendStatements(*form->Program, 1, "b");
      form->Rckgngig1Click(nullptr); // back to what is saved; still counts as a change
    }
    const std::string before = DescribeForTest();
    // "Neu" and loading close every window but the first: this one tells whether they ran.
    TForm1::CreateForBlock(nullptr, form->Program.get());
    services.Answers = {row.answers.begin(), row.answers.end()};
    services.FileAnswers = {row.files.begin(), row.files.end()};
    switch (row.command) {
    case C::Quit:
      Action("Programmbeenden1")->trigger();
      break;
    case C::CloseBox:
      form->close();
      break;
    case C::New:
      Action("Neu1")->trigger();
      break;
    case C::Load:
      Action("Struktogrammladen1")->trigger();
      break;
    }
    EXPECT_EQ(services.Questions.size(), row.asked ? 1 : 0);
    if (row.asked) {
      EXPECT_EQ(services.Questions.value(0), QStringLiteral("Änderungen speichern?"));
    }
    EXPECT_EQ(QFile::exists(saved), row.saved);
    if (row.saved) {
      EXPECT_EQ(ReadAll(saved).toStdString(), before);
    }
    const bool closed = !form->isVisible();
    if (row.command == C::Quit || row.command == C::CloseBox) {
      EXPECT_EQ(closed, row.proceeds);
    } else {
      EXPECT_FALSE(closed);
      EXPECT_EQ(form->DiagramWindows().size() == 1, row.proceeds);
      if (!row.proceeds) {
        EXPECT_EQ(DescribeForTest(), before);
      }
    }
    // A cancelled command asks for no file to load.
    if (!row.proceeds && row.command == C::Load) {
      EXPECT_EQ(services.FileAnswers.size(), 1u);
    }
    // A failed save is reported.
    EXPECT_EQ(services.Messages.size(),
              row.files == std::vector<std::optional<QString>>{nowhere} ? 1u : 0u);
  }
}

// A handler that throws: the application reports the failure and goes on.
class TThrowingObject : public QObject {
public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User)
      throw std::runtime_error("Stream-Schreibfehler");
    return QObject::event(e);
  }
};

TEST_F(TForm2Test, EscapedFailuresAreReportedAndTheLoopGoesOn) {
  auto* app = qobject_cast<TApplication*>(QCoreApplication::instance());
  ASSERT_NE(app, nullptr);
  app->SetFailureReport(&services);
  TThrowingObject target;
  QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
  EXPECT_TRUE(WaitFor([&] { return !services.Messages.empty(); }));
  app->SetFailureReport(nullptr);
  ASSERT_EQ(services.Messages.size(), 1u);
  EXPECT_EQ(services.Messages[0].kind, TMessageKind::Error);
  EXPECT_EQ(services.Messages[0].text, QStringLiteral("Stream-Schreibfehler"));
}

} // namespace

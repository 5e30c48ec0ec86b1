// SPDX-License-Identifier: MIT
// The user interface in English: chosen in the menu and kept, or for one run on the command line.
#include "main_form_fixture.h"

#include "model/texts.h"
#include "ui/checks/problems_panel.h"
#include "ui/main/language.h"

#include <QAction>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>

namespace {

class LanguageTest : public MainFormTest {
protected:
  void TearDown() override {
    form.reset();
    InstallLanguage(TUiLanguage::German);
    SaveLanguage(TUiLanguage::German);
  }
  QStringList MenuTitles() {
    QStringList titles;
    for (QAction* a : form->menuBar()->actions())
      titles << a->text();
    return titles;
  }
};

TEST_F(LanguageTest, EnglishReplacesEveryMenuAndTheLibrariesTexts) {
  Start();
  EXPECT_EQ(MenuTitles(), QStringList({"Datei", "Bearbeiten", "Ansicht", "Ausführen"}));
  ASSERT_TRUE(InstallLanguage(TUiLanguage::English));
  EXPECT_EQ(Tr("Befehlszeile", "Aufruf: struktogramme --check DATEI"),
            "Usage: struktogramme --check FILE");
  Start();
  EXPECT_EQ(MenuTitles(), QStringList({"File", "Edit", "View", "Run"}));
  EXPECT_EQ(form->windowTitle(), "Draw flowcharts");
  EXPECT_EQ(form->findChild<QAction*>("Rckgngig1")->text(), "Undo");
  // A new program and a new statement are named in the user's language.
  EXPECT_EQ(form->Program->Text, "whole program");
  InstallLanguage(TUiLanguage::German);
  EXPECT_EQ(Tr("Befehlszeile", "Aufruf: struktogramme --check DATEI"),
            "Aufruf: struktogramme --check DATEI");
}

TEST_F(LanguageTest, TheMenuSwitchesAtOnceAndKeepsTheChoice) {
  Start();
  EXPECT_EQ(SavedLanguage(), TUiLanguage::German);
  form->findChild<QAction*>("English1")->trigger();
  EXPECT_EQ(SavedLanguage(), TUiLanguage::English);
  ASSERT_TRUE(WaitFor([&] { return MenuTitles().first() == "File"; }));
  EXPECT_EQ(MenuTitles(), QStringList({"File", "Edit", "View", "Run"}));
  // Every window and panel, and the words the figures draw.
  EXPECT_EQ(First().Lschen1->text(), "Delete");
  EXPECT_EQ(form->Prfergebnisse1->windowTitle(), "Check Results");
  EXPECT_EQ(form->findChild<QAction*>("Zufallszahlenwiederholbar1")->text(),
            "Repeatable random numbers");
  EXPECT_EQ(Tr("Diagramm", "nein"), "no");
  EXPECT_EQ(form->Program->Text, "gesamtes Programm"); // the document's own text stays
  form->findChild<QAction*>("Deutsch1")->trigger();
  EXPECT_EQ(SavedLanguage(), TUiLanguage::German);
  ASSERT_TRUE(WaitFor([&] { return MenuTitles().first() == "Datei"; }));
  EXPECT_EQ(First().Lschen1->text(), "Löschen");
  EXPECT_TRUE(services.Messages.empty());
}

TEST(LanguageCommandLine, GermanUnlessAskedWhateverTheLocale) {
  QTemporaryDir dir;
  QFile program(dir.filePath("p.str"));
  ASSERT_TRUE(program.open(QIODevice::WriteOnly));
  static const char bytes[] = "B:gesamtes Programm\x01"
                              "A:x := 1\x01"
                              "A:writeln(x)\x01\x02\x02";
  program.write(bytes, sizeof bytes - 1);
  program.close();
  const auto run = [&](const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LANG", "en_US.UTF-8");
    env.insert("LC_ALL", "en_US.UTF-8");
    process.setProcessEnvironment(env);
    process.start(STRUKT_EXECUTABLE, arguments);
    process.waitForFinished(60000);
    return std::make_pair(process.exitCode(), process.readAllStandardError().toStdString());
  };
  const QString file = dir.filePath("p.str");
  EXPECT_EQ(run({"--run", file, "--max-steps", "1"}),
            std::make_pair(
                3, std::string("Der Lauf wurde nach 1 Schritten abgebrochen (--max-steps).\n")));
  EXPECT_EQ(run({"--lang", "en", "--run", file, "--max-steps", "1"}),
            std::make_pair(3, std::string("The run was stopped after 1 steps (--max-steps).\n")));
  EXPECT_EQ(run({"--lang=en", "--export", dir.filePath("x.unbekannt"), file}).second,
            "Usage: struktogramme --export OUTPUT INPUT (OUTPUT ends in .str, .pas, .py, .java, "
            ".c, .png, .svg or .pdf; INPUT is a structogram or Pascal source .pas)\n");
  EXPECT_EQ(run({"--lang", "fr", "--run", file}).first, 2);
}

} // namespace

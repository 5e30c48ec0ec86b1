// SPDX-License-Identifier: MIT
#include "ui/main/application.h"
#include "ui/main/converter.h"
#include "ui/main/language.h"
#include "ui/main/run_command.h"
#include "ui/main/startup.h"

#include "strukt_version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <optional>

namespace {

bool HasArgument(int argc, char** argv, std::initializer_list<const char*> names) {
  for (int i = 1; i < argc; ++i)
    for (const char* name : names)
      if (std::strcmp(argv[i], name) == 0 || (std::strncmp(argv[i], name, std::strlen(name)) == 0 &&
                                              argv[i][std::strlen(name)] == '='))
        return true;
  return false;
}

// The converter promises one line on stderr per failure; Qt's own notices (runtime
// directory, fonts) would drown it, so only fatal messages get through.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg)
    fprintf(stderr, "%s\n", qPrintable(message));
}

// Every option, with its help text in the language installed.
void DescribeOptions(QCommandLineParser& parser) {
  parser.setApplicationDescription(QCoreApplication::translate(
      "Befehlszeile",
      "Struktogramme: Programme als Fluss-Diagramme entwerfen.\n\n"
      "Ohne --export startet der Editor und öffnet die angegebene Datei.\n"
      "Mit --export AUSGABE wird EINGABE ohne Fenster umgewandelt; das Format folgt der\n"
      "Endung von AUSGABE: .str (Struktogramm), .pas (Pascal), .py (Python 3), .java (Java),\n"
      ".c (C), .png, .svg, .pdf (Bild). EINGABE ist ein Struktogramm (.str) oder\n"
      "Pascal-Quelltext (.pas), aus dem ein Struktogramm erzeugt wird.\n\n"
      "Mit --run DATEI läuft das Programm ohne Fenster, mit Ein- und Ausgabe auf der\n"
      "Konsole; --max-steps N bricht nach N Schritten ab, --trace TABELLE.csv schreibt den\n"
      "Schreibtischtest (jeder Schritt mit den Werten aller Variablen), --seed N startet die\n"
      "Zufallszahlen immer gleich."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addOption(QCommandLineOption(
      "export",
      QCoreApplication::translate("Befehlszeile", "Wandelt DATEI ohne Fenster in AUSGABE um."),
      QCoreApplication::translate("Befehlszeile", "AUSGABE")));
  parser.addOption(QCommandLineOption(
      "notation",
      QCoreApplication::translate(
          "Befehlszeile", "Bilder mit --export als Flussdiagramm (flow, so ohne Angabe) oder als "
                          "Nassi-Shneiderman-Struktogramm (nsd)."),
      QCoreApplication::translate("Befehlszeile", "ART"), "flow"));
  // Handled before Qt starts (see above); listed here for the help text.
  parser.addOption(QCommandLineOption(
      "run", QCoreApplication::translate("Befehlszeile", "Führt DATEI ohne Fenster aus."),
      QCoreApplication::translate("Befehlszeile", "DATEI")));
  parser.addOption(QCommandLineOption(
      "max-steps",
      QCoreApplication::translate("Befehlszeile", "Bricht den Lauf nach N Schritten ab."), "N"));
  parser.addOption(QCommandLineOption(
      "trace",
      QCoreApplication::translate("Befehlszeile", "Schreibt den Schreibtischtest als CSV."),
      QCoreApplication::translate("Befehlszeile", "TABELLE")));
  parser.addOption(QCommandLineOption(
      "seed", QCoreApplication::translate("Befehlszeile", "Startwert der Zufallszahlen."), "N"));
  parser.addOption(QCommandLineOption(
      "check",
      QCoreApplication::translate("Befehlszeile",
                                  "Prüft DATEI und nennt, was nach einem Fehler aussieht."),
      QCoreApplication::translate("Befehlszeile", "DATEI")));
  parser.addOption(QCommandLineOption(
      "lang",
      QCoreApplication::translate(
          "Befehlszeile",
          "Sprache für diesen Start: de (Deutsch, so ohne Angabe) oder en (Englisch)."),
      QCoreApplication::translate("Befehlszeile", "SPRACHE")));
  parser.addPositionalArgument(
      QCoreApplication::translate("Befehlszeile", "DATEI"),
      QCoreApplication::translate(
          "Befehlszeile", "Struktogramm-Datei (*.str); mit --export auch Pascal-Quelltext (*.pas)"),
      QCoreApplication::translate("Befehlszeile", "[DATEI]"));
}

} // namespace

int main(int argc, char** argv) {
  // The command line speaks German unless --lang says otherwise; the editor also keeps the
  // language chosen in its menu.
  const std::optional<TUiLanguage> language = LanguageArgument(argc, argv);
  if (HasLanguageArgument(argc, argv) && !language) {
    fprintf(stderr, "Aufruf: --lang de oder --lang en\n");
    return 2;
  }
  // The help text and the version need neither a display nor a run.
  const bool helping =
      HasArgument(argc, argv, {"--help", "-h", "-?", "--help-all", "--version", "-v"});
  // A run needs neither a display nor Qt: it starts as fast as the compiled program would.
  if (IsRunCommand(argc, argv) && !helping) {
    if (language)
      InstallLanguage(*language);
    return RunCommand(argc, argv);
  }
  // A wrong call is told without needing a display, with status 2 as for the other wrong calls.
  QStringList arguments;
  for (int i = 0; i < argc; ++i)
    arguments << QString::fromLocal8Bit(argv[i]);
  QCommandLineParser check;
  DescribeOptions(check);
  if (!check.parse(arguments)) {
    QCoreApplication telling(argc, argv);
    InstallLanguage(language.value_or(TUiLanguage::German));
    QCommandLineParser told;
    DescribeOptions(told);
    told.parse(arguments);
    fprintf(stderr, "%s\n", qPrintable(told.errorText()));
    return 2;
  }
  // The converter needs no display either; pictures are still drawn with real fonts.
  const bool exporting = HasArgument(argc, argv, {"--export"});
  if (exporting || helping) {
    if (!std::getenv("QT_QPA_PLATFORM"))
      setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(QuietMessages);
  }

  std::unique_ptr<QCoreApplication> app;
  if (helping)
    app = std::make_unique<QCoreApplication>(argc, argv);
  else if (exporting)
    app = std::make_unique<QGuiApplication>(argc, argv);
  else
    app = std::make_unique<TApplication>(argc, argv);
  QCoreApplication::setApplicationName("struktogramme");
  QCoreApplication::setApplicationVersion(STRUKT_VERSION);
  const bool editing = !exporting && !helping;
  InstallLanguage(language ? *language : editing ? SavedLanguage() : TUiLanguage::German);

  QCommandLineParser parser;
  DescribeOptions(parser);
  parser.process(*app);

  const QStringList files = parser.positionalArguments();
  if (parser.isSet(QStringLiteral("export"))) {
    if (files.size() != 1) {
      fprintf(stderr, "%s\n",
              qPrintable(QCoreApplication::translate(
                  "Befehlszeile", "Aufruf: struktogramme --export AUSGABE EINGABE")));
      return 2;
    }
    const QString notation = parser.value(QStringLiteral("notation"));
    if (notation != "flow" && notation != "nsd") {
      fprintf(stderr, "%s\n",
              qPrintable(QCoreApplication::translate(
                  "Befehlszeile", "Aufruf: --notation flow oder --notation nsd")));
      return 2;
    }
    return RunConverter(parser.value(QStringLiteral("export")).toStdString(),
                        files.first().toStdString(),
                        notation == "nsd" ? TNotation::Nsd : TNotation::Flow);
  }
  return RunEditor(static_cast<QApplication&>(*app), files.isEmpty() ? QString() : files.first());
}

// SPDX-License-Identifier: MIT
#include "ui/main/application.h"
#include "ui/main/converter.h"
#include "ui/main/run_command.h"
#include "ui/main/startup.h"

#include "strukt_version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>

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

} // namespace

int main(int argc, char** argv) {
  // The help text and the version need neither a display nor a run.
  const bool helping =
      HasArgument(argc, argv, {"--help", "-h", "-?", "--help-all", "--version", "-v"});
  // A run needs neither a display nor Qt: it starts as fast as the compiled program would.
  if (IsRunCommand(argc, argv) && !helping)
    return RunCommand(argc, argv);
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
  // Qt's own texts (help, file and print dialogs) speak German like the rest of the program.
  QTranslator translator;
  if (translator.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&translator);

  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Struktogramme: Programme als Fluss-Diagramme entwerfen.\n\n"
      "Ohne --export startet der Editor und öffnet die angegebene Datei.\n"
      "Mit --export AUSGABE wird EINGABE ohne Fenster umgewandelt; das Format folgt der\n"
      "Endung von AUSGABE: .str (Struktogramm), .pas (Pascal), .py (Python 3), .java (Java),\n"
      ".c (C), .png, .svg, .pdf (Bild). EINGABE ist ein Struktogramm (.str) oder\n"
      "Pascal-Quelltext (.pas), aus dem ein Struktogramm erzeugt wird.\n\n"
      "Mit --run DATEI läuft das Programm ohne Fenster, mit Ein- und Ausgabe auf der\n"
      "Konsole; --max-steps N bricht nach N Schritten ab, --trace TABELLE.csv schreibt den\n"
      "Schreibtischtest (jeder Schritt mit den Werten aller Variablen), --seed N startet die\n"
      "Zufallszahlen immer gleich.");
  parser.addHelpOption();
  parser.addVersionOption();
  QCommandLineOption exportOption("export", "Wandelt DATEI ohne Fenster in AUSGABE um.", "AUSGABE");
  parser.addOption(exportOption);
  QCommandLineOption notationOption(
      "notation",
      "Bilder mit --export als Flussdiagramm (flow, so ohne Angabe) oder als "
      "Nassi-Shneiderman-Struktogramm (nsd).",
      "ART", "flow");
  parser.addOption(notationOption);
  // Handled before Qt starts (see above); listed here for the help text.
  parser.addOption(QCommandLineOption("run", "Führt DATEI ohne Fenster aus.", "DATEI"));
  parser.addOption(QCommandLineOption("max-steps", "Bricht den Lauf nach N Schritten ab.", "N"));
  parser.addOption(QCommandLineOption("trace", "Schreibt den Schreibtischtest als CSV.", "TABELLE"));
  parser.addOption(QCommandLineOption("seed", "Startwert der Zufallszahlen.", "N"));
  parser.addOption(QCommandLineOption(
      "check", "Prüft DATEI und nennt, was nach einem Fehler aussieht.", "DATEI"));
  parser.addPositionalArgument(
      "DATEI", "Struktogramm-Datei (*.str); mit --export auch Pascal-Quelltext (*.pas)", "[DATEI]");
  parser.process(*app);

  const QStringList files = parser.positionalArguments();
  if (parser.isSet(exportOption)) {
    if (files.size() != 1) {
      fprintf(stderr, "Aufruf: struktogramme --export AUSGABE EINGABE\n");
      return 2;
    }
    const QString notation = parser.value(notationOption);
    if (notation != "flow" && notation != "nsd") {
      fprintf(stderr, "Aufruf: --notation flow oder --notation nsd\n");
      return 2;
    }
    return RunConverter(parser.value(exportOption).toStdString(), files.first().toStdString(),
                        notation == "nsd" ? TNotation::Nsd : TNotation::Flow);
  }
  return RunEditor(static_cast<QApplication&>(*app), files.isEmpty() ? QString() : files.first());
}

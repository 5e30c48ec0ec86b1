// SPDX-License-Identifier: MIT
#include "ui/main/language.h"

#include "model/texts.h"
#include "ui/main/app_settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const char* const kKey = "Sprache";

// The checks' thread translates its messages while the user may switch the language: a
// translation once loaded is never changed nor freed, only another one put in its place.
std::vector<std::unique_ptr<QTranslator>>& Loaded() {
  static std::vector<std::unique_ptr<QTranslator>> translators;
  return translators;
}
std::atomic<const QTranslator*> gProgram{nullptr};
QTranslator* gInstalledProgram = nullptr;
QTranslator* gInstalledQt = nullptr;

TUiLanguage gCurrent = TUiLanguage::German;

std::string Translated(const char* context, const char* german) {
  const QTranslator* translator = gProgram.load();
  return translator ? translator->translate(context, german).toStdString() : std::string();
}

// A translation loaded anew, kept for the rest of the run; nullptr where none is found.
QTranslator* Load(const QString& name, const QStringList& folders) {
  auto translator = std::make_unique<QTranslator>();
  for (const QString& folder : folders)
    if (translator->load(name, folder)) {
      Loaded().push_back(std::move(translator));
      return Loaded().back().get();
    }
  return nullptr;
}

std::optional<TUiLanguage> Parse(const char* value) {
  if (std::strcmp(value, "de") == 0)
    return TUiLanguage::German;
  if (std::strcmp(value, "en") == 0)
    return TUiLanguage::English;
  return std::nullopt;
}

// Where the translations lie: beside the program in the build, under share/ when installed.
QStringList TranslationFolders() {
  const QString own = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
  QStringList folders{own + QStringLiteral("/translations"),
                      own + QStringLiteral("/../share/struktogramme/translations"),
                      own + QStringLiteral("/../../share/struktogramme/translations")};
  // The tests' programs lie in folders of their own; they name the build's translations.
  if (const QString named = qEnvironmentVariable("STRUKT_TRANSLATIONS"); !named.isEmpty())
    folders.prepend(named);
  return folders;
}

} // namespace

std::optional<TUiLanguage> LanguageArgument(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--lang") == 0 && i + 1 < argc)
      return Parse(argv[i + 1]);
    if (std::strncmp(argv[i], "--lang=", 7) == 0)
      return Parse(argv[i] + 7);
  }
  return std::nullopt;
}

TUiLanguage SavedLanguage() {
  const QSettings settings{QLatin1String(kSettingsName), QLatin1String(kSettingsName)};
  return settings.value(QLatin1String(kKey)).toString() == QLatin1String("en")
             ? TUiLanguage::English
             : TUiLanguage::German;
}

void SaveLanguage(TUiLanguage language) {
  QSettings settings{QLatin1String(kSettingsName), QLatin1String(kSettingsName)};
  settings.setValue(QLatin1String(kKey), language == TUiLanguage::English ? "en" : "de");
}

bool InstallLanguage(TUiLanguage language) {
  QCoreApplication* app = QCoreApplication::instance();
  for (QTranslator** installed : {&gInstalledProgram, &gInstalledQt}) {
    if (app && *installed)
      QCoreApplication::removeTranslator(*installed);
    *installed = nullptr;
  }
  SetTranslator(nullptr);
  gProgram.store(nullptr);
  gCurrent = TUiLanguage::German;
  if (language == TUiLanguage::English) {
    // Qt's own texts are English as they are.
    QTranslator* program = Load(QStringLiteral("struktogramme_en"), TranslationFolders());
    if (!program)
      return false;
    gCurrent = TUiLanguage::English;
    gProgram.store(program);
    SetTranslator(&Translated);
    if (app && QCoreApplication::installTranslator(program))
      gInstalledProgram = program;
    return true;
  }
  // Qt's own texts (help, file and print dialogs) speak German like the rest of the program.
  auto qt = std::make_unique<QTranslator>();
  if (qt->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
               QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
      app && QCoreApplication::installTranslator(qt.get())) {
    gInstalledQt = qt.get();
    Loaded().push_back(std::move(qt));
  }
  return true;
}

TUiLanguage CurrentLanguage() {
  return gCurrent;
}

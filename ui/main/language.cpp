// SPDX-License-Identifier: MIT
#include "ui/main/language.h"

#include "model/texts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

#include <cstring>
#include <string>

namespace {

const char* const kSettingsName = "Struktogramme";
const char* const kKey = "Sprache";

QTranslator& ProgramTranslator() {
  static QTranslator translator;
  return translator;
}

QTranslator& QtTranslator() {
  static QTranslator translator;
  return translator;
}

TUiLanguage gCurrent = TUiLanguage::German;

std::string Translated(const char* context, const char* german) {
  return ProgramTranslator().translate(context, german).toStdString();
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

bool HasLanguageArgument(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--lang") == 0 || std::strncmp(argv[i], "--lang=", 7) == 0)
      return true;
  return false;
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
  if (app) {
    QCoreApplication::removeTranslator(&ProgramTranslator());
    QCoreApplication::removeTranslator(&QtTranslator());
  }
  SetTranslator(nullptr);
  gCurrent = TUiLanguage::German;
  bool found = true;
  if (language == TUiLanguage::English) {
    found = false;
    for (const QString& folder : TranslationFolders())
      if (ProgramTranslator().load(QStringLiteral("struktogramme_en"), folder)) {
        found = true;
        break;
      }
    if (found) {
      gCurrent = TUiLanguage::English;
      SetTranslator(&Translated);
      if (app)
        QCoreApplication::installTranslator(&ProgramTranslator());
    }
    // Qt's own texts are English as they are.
    return found;
  }
  // Qt's own texts (help, file and print dialogs) speak German like the rest of the program.
  if (QtTranslator().load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
      app)
    QCoreApplication::installTranslator(&QtTranslator());
  return found;
}

TUiLanguage CurrentLanguage() {
  return gCurrent;
}

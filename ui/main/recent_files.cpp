// SPDX-License-Identifier: MIT
#include "ui/main/recent_files.h"

#include "ui/main/app_settings.h"

#include <QFileInfo>
#include <QSettings>

namespace {

const char* const kKey = "ZuletztGeoeffnet";

} // namespace

TRecentFiles::TRecentFiles() {
  const QSettings settings{QString::fromLatin1(kSettingsName), QString::fromLatin1(kSettingsName)};
  files_ = settings.value(QLatin1String(kKey)).toStringList();
  files_.removeAll(QString());
  while (files_.size() > kSize)
    files_.removeLast();
}

void TRecentFiles::Add(const QString& path) {
  // One entry per file, however it was named.
  const QString absolute = QFileInfo(path).absoluteFilePath();
  files_.removeAll(absolute);
  files_.prepend(absolute);
  while (files_.size() > kSize)
    files_.removeLast();
  Store();
}

void TRecentFiles::Remove(const QString& path) {
  files_.removeAll(path);
  Store();
}

void TRecentFiles::Store() const {
  QSettings settings{QString::fromLatin1(kSettingsName), QString::fromLatin1(kSettingsName)};
  settings.setValue(QLatin1String(kKey), files_);
}

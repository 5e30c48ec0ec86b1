// SPDX-License-Identifier: MIT
// The files last loaded or saved, newest first, kept in the user's settings between runs.
#pragma once

#include <QString>
#include <QStringList>

class TRecentFiles {
public:
  static constexpr int kSize = 8;

  // Reads the list as the last run left it.
  TRecentFiles();
  const QStringList& Files() const { return files_; }
  // Puts path first (once), dropping the oldest beyond eight, and stores the list.
  void Add(const QString& path);
  void Remove(const QString& path);

private:
  void Store() const;
  QStringList files_;
};

// SPDX-License-Identifier: MIT
// Runs the user-interface tests inside the editor's own application object.
#include "ui/main/application.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// The headless platform notes every window-system call it cannot carry out; those notes say
// nothing about the program and would bury a failure's output.
void QuietPlatformNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (message.startsWith(QLatin1String("This plugin does not support"))) return;
  std::fprintf(stderr, "%s\n", qPrintable(message));
  if (type == QtFatalMsg) std::abort();
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Settings the program keeps (recently used files) go to a folder of the test run's own.
  QTemporaryDir settings;
  qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
  qInstallMessageHandler(QuietPlatformNotes);
  TApplication app(argc, argv);
  return RUN_ALL_TESTS();
}

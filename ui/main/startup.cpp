// SPDX-License-Identifier: MIT
#include "ui/main/startup.h"

#include <QApplication>
#include <QMainWindow>

int RunEditor(QApplication& app, const QString&) {
  QApplication::setApplicationDisplayName("Struktogramme");
  QMainWindow window;
  window.setWindowTitle("Fluss-Diagramme zeichnen");
  window.show();
  return app.exec();
}

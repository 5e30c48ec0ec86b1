// SPDX-License-Identifier: MIT
#include "ui/main/startup.h"

#include "ui/diagram/tform3.h"
#include "ui/main/application.h"
#include "ui/main/qt_windowing_services.h"
#include "ui/main/tform2.h"

#include <QApplication>
#include <QIcon>

int RunEditor(QApplication& app, const QString& file) {
  // The application's title; it is not made the display name, which would append itself to
  // every window caption.
  QApplication::setApplicationName(QStringLiteral("Struktogramme"));
  QGuiApplication::setDesktopFileName(QStringLiteral("struktogramme"));
  QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/struktogramme.svg")));
  TQtWindowingServices services;
  // Failures that escape a handler are reported here when the application object can catch them.
  auto* reporting = qobject_cast<TApplication*>(&app);
  if (reporting) reporting->SetFailureReport(&services);

  TForm2 mainForm(services, file);
  services.SetDialogParent(&mainForm);
  TForm3 countingLoop(&mainForm);
  mainForm.SetCountingLoopDialog(&countingLoop);
  mainForm.show();
  const int status = app.exec();
  if (reporting) reporting->SetFailureReport(nullptr);
  return status;
}

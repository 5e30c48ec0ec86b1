// SPDX-License-Identifier: MIT
#include "ui/main/startup.h"

#include "ui/diagram/tform3.h"
#include "ui/main/application.h"
#include "ui/main/qt_windowing_services.h"
#include "ui/main/tform2.h"

#include <QApplication>

int RunEditor(QApplication& app, const QString& file) {
  QApplication::setApplicationDisplayName(QStringLiteral("Struktogramme"));
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

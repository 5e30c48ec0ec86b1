// SPDX-License-Identifier: MIT
#include "ui/main/application.h"

#include "ui/main/text_codec.h"
#include "ui/main/windowing_services.h"

#include <cstdio>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& failure) {
    if (services_)
      services_->ReportFailure(failure);
    else
      std::fprintf(stderr, "%s\n", failure.what());
  } catch (...) {
    if (services_)
      services_->ReportFailure(tr("Unbekannter Fehler"));
    else
      std::fprintf(stderr, "%s\n", qPrintable(tr("Unbekannter Fehler")));
  }
  return false;
}

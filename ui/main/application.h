// SPDX-License-Identifier: MIT
// The editor's application object: it reports failures that escape an event handler.
#pragma once

#include <QApplication>

class TWindowingServices;

class TApplication : public QApplication {
  Q_OBJECT
public:
  TApplication(int& argc, char** argv);

  // Where escaped failures are reported; without one they are written to stderr.
  void SetFailureReport(TWindowingServices* services) { services_ = services; }

  // Catches what a handler throws at the one place every event passes, shows the default
  // failure report and lets the event loop go on.
  bool notify(QObject* receiver, QEvent* event) override;

private:
  TWindowingServices* services_ = nullptr;
};

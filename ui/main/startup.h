// SPDX-License-Identifier: MIT
// Starts the editor: application title, main window, counting-loop dialog, event loop.
#pragma once

#include <QString>

class QApplication;

// file: the structogram named on the command line, or empty.
int RunEditor(QApplication& app, const QString& file);

// SPDX-License-Identifier: MIT
// The one drawing surface backed by Qt: a QPainter on a window, an image, an SVG or a printer.
#pragma once

#include "render/surface.h"

#include <QFont>
#include <QPainter>

class QtSurface : public TSurface {
public:
  // font: the starting font (DiagramFont() on screen); the painter's device decides resolution.
  QtSurface(QPainter& painter, const QFont& font);
  // (all TSurface operations)
};

// The diagram font: "MS Sans Serif" where present, else a face and pixel size whose text
// extent is 13 pixels high, as the figures assume.
QFont DiagramFont();
// The print font, "Times New Roman" 12 pt (or its metric twin), for a device of the given dpi.
QFont PrintFont(int dpi);

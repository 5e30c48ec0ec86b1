// SPDX-License-Identifier: MIT
// The printout of a diagram window in the layouts the print preview offers: as "Drucken" prints
// it, scaled to fit one page, or spread over as many pages as it needs at full size.
#pragma once

#include "ui/main/windowing_services.h"

#include <QSize>

class QPrinter;
class TForm1;

// Pages a printout takes at full size: so many columns and rows of pages, each showing a
// content height of the page less the header band.
struct TTiling {
  int columns = 1;
  int rows = 1;
  int Pages() const { return columns * rows; }
};
TTiling TileCount(QSize printout, QSize page, int header);

// The scale that fits the printout onto one page, never enlarging it.
double FitScale(QSize printout, QSize page);

// Prints the window's block on printer in the layout; with Tiled every page carries the caption
// and "Seite n von m" above its part of the printout.
void PrintWindow(QPrinter& printer, TForm1& window, TPrintLayout layout);

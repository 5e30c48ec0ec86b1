// SPDX-License-Identifier: MIT
#include "ui/main/print_layout.h"

#include "render/diagram_paint.h"
#include "render/qt_surface.h"
#include "ui/diagram/tform1.h"
#include "ui/main/text_codec.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <stdexcept>

TTiling TileCount(QSize printout, QSize page, int header) {
  const int width = std::max(1, page.width());
  const int height = std::max(1, page.height() - header);
  return {std::max(1, (printout.width() + width - 1) / width),
          std::max(1, (printout.height() + height - 1) / height)};
}

double FitScale(QSize printout, QSize page) {
  if (printout.width() <= 0 || printout.height() <= 0)
    return 1.0;
  return std::min(
      {1.0, double(page.width()) / printout.width(), double(page.height()) / printout.height()});
}

void PrintWindow(QPrinter& printer, TForm1& window, TPrintLayout layout) {
  QPainter painter;
  if (!painter.begin(&printer))
    throw std::runtime_error(
        QCoreApplication::translate("TForm2", "Der Drucker kann nicht verwendet werden.")
            .toStdString());
  const int dpi = printer.resolution();
  if (layout == TPrintLayout::AsPrinted) {
    QtSurface surface(painter, PrintFont(dpi));
    window.PrintStruktogramm(surface);
    return;
  }
  const QSize page = printer.pageLayout().paintRectPixels(dpi).size();
  const std::string caption = ToCp1252(window.Caption());
  QSize printout;
  {
    QtSurface surface(painter, PrintFont(dpi));
    const TSize size = PrintoutSize(surface, caption, *window.Root, *window.Display);
    printout = QSize(size.cx, size.cy);
  }
  if (layout == TPrintLayout::FitPage) {
    const double scale = FitScale(printout, page);
    painter.scale(scale, scale);
    QtSurface surface(painter, PrintFont(dpi));
    window.PrintStruktogramm(surface);
    return;
  }
  // Tiled: each page shows the caption and its number above its part of the printout, which is
  // drawn without a caption of its own.
  const int header = QFontMetrics(PrintFont(dpi), &printer).height() * 2;
  const TTiling tiling = TileCount(printout, page, header);
  const int content = page.height() - header;
  int number = 0;
  for (int row = 0; row < tiling.rows; ++row) {
    for (int column = 0; column < tiling.columns; ++column) {
      if (number++ > 0)
        printer.newPage();
      painter.resetTransform();
      painter.setClipping(false);
      {
        QtSurface surface(painter, PrintFont(dpi));
        surface.SetFontSize(12);
        surface.SetFontName("Times New Roman");
        surface.SetBrushColor(kWhite);
        surface.TextOut(0, 0, caption);
        const std::string count = ToCp1252(QCoreApplication::translate("Drucken", "Seite %1 von %2")
                                               .arg(number)
                                               .arg(tiling.Pages()));
        surface.TextOut(page.width() - surface.TextExtent(count).cx, 0, count);
      }
      painter.setClipRect(0, header, page.width(), content);
      painter.translate(-column * page.width(), header - row * content);
      // Only the figures on this page: drawing the whole program on each of hundreds of pages
      // would take minutes and fill the PDF with what its clip hides.
      const TRect part{column * page.width(), row * content, (column + 1) * page.width(),
                       (row + 1) * content};
      QtSurface surface(painter, PrintFont(dpi));
      PrintStruktogramm(surface, std::string(), *window.Root, *window.Display, &part);
    }
  }
}

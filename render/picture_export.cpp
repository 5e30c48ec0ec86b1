// SPDX-License-Identifier: MIT
#include "render/picture_export.h"

#include "render/diagram_paint.h"
#include "render/qt_surface.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <stdexcept>

namespace {

constexpr int kPdfDpi = 300;
constexpr TColor kBackground = 0xF5F5F5;

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

[[noreturn]] void Fail(const QString& message) {
  throw std::runtime_error(message.toStdString());
}

// The scroll ranges of the first window: the root figure's size plus 50 each way.
QSize ScreenPictureSize(TBlock& root) {
  QImage probe(1, 1, QImage::Format_RGB32);
  QPainter painter(&probe);
  QtSurface surface(painter, DiagramFont());
  TDisplayOptions display;
  const TSize size = Measure(root, surface, display);
  return QSize(size.cx + 50, size.cy + 50);
}

void PaintScreen(QPainter& painter, TBlock& root, QSize size) {
  painter.fillRect(QRect(QPoint(0, 0), size), ToQColor(kBackground));
  QtSurface surface(painter, DiagramFont());
  TDisplayOptions display;
  PaintStruktogramm(surface, root, display, {0, 0});
}

void ExportPng(TBlock& root, const QString& path) {
  const QSize size = ScreenPictureSize(root);
  const long long bytes = 4LL * size.width() * size.height();
  if (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide ||
      bytes > kMaxPictureBytes)
    Fail(QStringLiteral("Das Bild wäre mit %1 × %2 Pixeln zu groß; bitte als SVG exportieren.")
             .arg(size.width())
             .arg(size.height()));
  QImage image(size, QImage::Format_RGB32);
  if (image.isNull()) Fail(QStringLiteral("Für das Bild ist nicht genug Speicher frei."));
  {
    QPainter painter(&image);
    PaintScreen(painter, root, size);
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    Fail(QStringLiteral("Datei %1 kann nicht erstellt werden").arg(path));
  QImageWriter writer(&file, "png");
  // Flat diagrams compress well at a low level; the highest levels cost seconds on big images.
  writer.setQuality(70);
  if (!writer.write(image) || !file.commit())
    Fail(QStringLiteral("Datei %1 kann nicht geschrieben werden").arg(path));
}

void ExportSvg(TBlock& root, const QString& path) {
  const QSize size = ScreenPictureSize(root);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    Fail(QStringLiteral("Datei %1 kann nicht erstellt werden").arg(path));
  QSvgGenerator svg;
  svg.setOutputDevice(&file);
  svg.setResolution(96);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setTitle(FromWindows1252(root.Text));
  {
    QPainter painter(&svg);
    PaintScreen(painter, root, size);
  }
  if (!file.commit()) Fail(QStringLiteral("Datei %1 kann nicht geschrieben werden").arg(path));
}

// The printout's extent in device dots: caption and figure with the same 30-dot margin on the
// right as on the left and below.
QSize PrintExtent(QPainter& painter, TBlock& root) {
  QtSurface surface(painter, PrintFont(kPdfDpi));
  surface.SetFontSize(12);
  surface.SetFontName("Times New Roman");
  TDisplayOptions display;
  display.UseColor = false;
  display.Spacing = surface.TextExtent("ja").cy / 2;
  display.PrintMode = true;
  const TSize size = Measure(root, surface, display);
  const TSize caption = surface.TextExtent(root.Text);
  return QSize(std::max(size.cx + 60, caption.cx + 20), size.cy + 80 + 30);
}

void ExportPdf(TBlock& root, const QString& path) {
  QSize extent;
  {
    // Text metrics of the PDF device are taken from a writer of the same kind.
    QBuffer probeBuffer;
    probeBuffer.open(QIODevice::WriteOnly);
    QPdfWriter probe(&probeBuffer);
    probe.setResolution(kPdfDpi);
    QPainter painter(&probe);
    extent = PrintExtent(painter, root);
  }
  const QSizeF a4 = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
  const double mmPerDot = 25.4 / kPdfDpi;
  const QSizeF page(std::max(a4.width(), extent.width() * mmPerDot + 1),
                    std::max(a4.height(), extent.height() * mmPerDot + 1));

  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    Fail(QStringLiteral("Datei %1 kann nicht erstellt werden").arg(path));
  {
    QPdfWriter pdf(&file);
    pdf.setResolution(kPdfDpi);
    pdf.setTitle(FromWindows1252(root.Text));
    pdf.setPageSize(page == a4 ? QPageSize(QPageSize::A4)
                               : QPageSize(page, QPageSize::Millimeter, QString(),
                                           QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&pdf);
    QtSurface surface(painter, PrintFont(kPdfDpi));
    TDisplayOptions display;
    PrintStruktogramm(surface, root.Text, root, display);
  }
  if (!file.commit()) Fail(QStringLiteral("Datei %1 kann nicht geschrieben werden").arg(path));
}

}  // namespace

void ExportPicture(TBlock& root, const std::string& path) {
  const std::string lower = Lower(path);
  const QString qpath = QString::fromLocal8Bit(path.c_str());
  if (EndsWith(lower, ".png"))
    ExportPng(root, qpath);
  else if (EndsWith(lower, ".svg"))
    ExportSvg(root, qpath);
  else if (EndsWith(lower, ".pdf"))
    ExportPdf(root, qpath);
  else
    Fail(QStringLiteral("Unbekanntes Bildformat: %1").arg(qpath));
}

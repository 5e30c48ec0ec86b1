// SPDX-License-Identifier: MIT
// Pictures painted by Qt in one piece, to compare exported pictures with.
#pragma once

#include "render/diagram_paint.h"
#include "render/qt_surface.h"

#include <QImage>
#include <QPainter>
#include <QString>

#include <string>

// Measuring as a window does.
struct ScreenProbe {
  QImage image{1, 1, QImage::Format_RGB32};
  QPainter painter{&image};
  QtSurface surface{painter, DiagramFont()};
  TDisplayOptions display;
  TSize Measure(const TElement& e) { return ::Measure(e, surface, display); }
};

// The program as a window paints it unscrolled, in one paint of the whole picture.
inline QImage ReferencePicture(TBlock& root) {
  const TSize size = ScreenProbe().Measure(root);
  QImage image(size.cx + 50, size.cy + 50, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.fillRect(image.rect(), QColor(245, 245, 245));
  QtSurface surface(painter, DiagramFont());
  TDisplayOptions display;
  PaintStruktogramm(surface, root, display, {0, 0});
  return image;
}

// Empty when equal, else where and how the first difference shows.
inline std::string Difference(const QImage& expected, const QImage& loaded) {
  if (loaded.isNull())
    return "the file does not load";
  if (loaded.size() != expected.size())
    return "size " + std::to_string(loaded.width()) + "x" + std::to_string(loaded.height());
  const QImage actual = loaded.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < expected.height(); ++y) {
    const auto* e = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
    const auto* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
    for (int x = 0; x < expected.width(); ++x)
      if ((e[x] | 0xFF000000u) != (a[x] | 0xFF000000u))
        return "pixel (" + std::to_string(x) + ", " + std::to_string(y) +
               "): " + QString::number(a[x] & 0xFFFFFF, 16).toStdString() + " instead of " +
               QString::number(e[x] & 0xFFFFFF, 16).toStdString();
  }
  return {};
}

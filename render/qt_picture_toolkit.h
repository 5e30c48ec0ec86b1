// SPDX-License-Identifier: MIT
// The picture toolkit backed by Qt: the diagram window's fonts and metrics, text and ellipses
// rendered as QtSurface renders them on screen.
#pragma once

#include "render/picture_toolkit.h"
#include "render/qt_surface.h"

#include <QImage>
#include <QPainter>

#include <memory>
#include <string>
#include <unordered_map>

class QtPictureToolkit : public TPictureToolkit {
public:
  // Metrics of a 96-dpi raster, as on screen; the font starts as DiagramFont().
  QtPictureToolkit();
  ~QtPictureToolkit() override;
  QtPictureToolkit(const QtPictureToolkit&) = delete;
  QtPictureToolkit& operator=(const QtPictureToolkit&) = delete;

  void SetFontSize(int points) override;
  void SetFontName(const std::string& face) override;
  TSize TextExtent(const std::string& text) override;
  TFontFace Face() override;
  const TPixelMask& TextPixels(const std::string& text) override;
  const TPixelMask& EllipsePixels(int32_t width, int32_t height) override;

private:
  void Forget();

  QImage probe_;
  QPainter painter_;
  QtSurface metrics_;
  // Texts come back strip after strip, and a few ("ja", "nein") very often.
  std::unordered_map<std::string, TPixelMask> texts_;
  size_t textBytes_ = 0;
  TPixelMask ellipse_;
};

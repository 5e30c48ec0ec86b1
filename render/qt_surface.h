// SPDX-License-Identifier: MIT
// The one drawing surface backed by Qt: a QPainter on a window, an image, a PDF or a printer.
#pragma once

#include "render/surface.h"
#include "render/text_extent_cache.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include <string>
#include <unordered_map>

class QtSurface : public TSurface {
public:
  // font: the starting font (DiagramFont() on screen); the painter's device decides the
  // resolution that point sizes are scaled with. Geometry is drawn without anti-aliasing.
  QtSurface(QPainter& painter, const QFont& font);
  QtSurface(const QtSurface&) = delete;
  QtSurface& operator=(const QtSurface&) = delete;

  void SetPenColor(TColor color) override;
  TColor GetPenColor() const override { return pen_; }
  void SetPenWidth(int width) override;
  void SetPenStyle(TPenStyle style) override;
  void SetBrushColor(TColor color) override { brush_ = color; }
  TColor GetBrushColor() const override { return brush_; }
  void SetFontColor(TColor color) override { fontColor_ = color; }
  void SetFontSize(int points) override;
  void SetFontName(const std::string& face) override;

  void MoveTo(int32_t x, int32_t y) override;
  void LineTo(int32_t x, int32_t y) override;
  void Polygon(const TPoint* points, int count) override;
  void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
  void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
  void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
  void TextOut(int32_t x, int32_t y, const std::string& text) override;
  TSize TextExtent(const std::string& text) override;

  const QFont& Font() const { return font_; }
  // From the top of a text's extent to its baseline.
  int Ascent() const { return metrics_.ascent(); }

private:
  void UseFont(const QFont& font);
  void ThinLine(QPoint from, QPoint to);
  void ApplyPen();
  void ApplyBrush();

  QPainter& painter_;
  QFont font_;
  QFontMetrics metrics_;
  int dpi_;
  // Extents of the current font; shared by all surfaces on devices of the same resolution.
  TTextExtentCache* extents_ = nullptr;

  TColor pen_ = kBlack, brush_ = kWhite, fontColor_ = kBlack;
  int penWidth_ = 1;
  TPenStyle penStyle_ = TPenStyle::Solid;
  bool penDirty_ = true, brushDirty_ = true;
  TColor appliedBrush_ = kWhite;
  QPoint pos_;
};

// Texts are Windows-1252 bytes; this is how they are shown.
QString FromWindows1252(const std::string& bytes);
// A colour value 0x00BBGGRR as Qt sees it; the high byte (a palette hint) is ignored.
QColor ToQColor(TColor color);

// The diagram font: "MS Sans Serif" where present, else DejaVu Sans at the pixel size whose
// text extent is 13 pixels high, as the figures assume.
QFont DiagramFont();
// The print font, "Times New Roman" 12 pt (or its metric twin Liberation Serif), as a pixel
// size for a device of the given dpi.
QFont PrintFont(int dpi);

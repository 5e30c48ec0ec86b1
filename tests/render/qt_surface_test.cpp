// SPDX-License-Identifier: MIT
// The Qt adapter on real images: pixels where the figures expect them, fonts and text bytes.
#include "render/qt_surface.h"

#include "render/diagram_paint.h"
#include "test_tree.h"

#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

class QtEnvironment : public ::testing::Environment {
public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "qt_surface_test";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QGuiApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

private:
  std::unique_ptr<QGuiApplication> app_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

QRgb Rgb(int r, int g, int b) {
  return qRgb(r, g, b);
}
const QRgb kWhitePx = qRgb(255, 255, 255);
const QRgb kBlackPx = qRgb(0, 0, 0);

struct Canvas {
  QImage image{60, 40, QImage::Format_RGB32};
  std::unique_ptr<QPainter> painter;
  std::unique_ptr<QtSurface> surface;
  Canvas() {
    image.fill(Qt::white);
    painter = std::make_unique<QPainter>(&image);
    surface = std::make_unique<QtSurface>(*painter, DiagramFont());
  }
  QImage Done() {
    surface.reset();
    painter.reset();
    return image;
  }
};

TEST(QtSurfaceTest, DiagramFontIsThirteenPixelsHigh) {
  Canvas c;
  EXPECT_EQ(c.surface->TextExtent("Anweisung").cy, 13);
  EXPECT_GT(c.surface->TextExtent("Anweisung").cx, c.surface->TextExtent("ja").cx);
}

// Lines in every direction start on their start point and stop before their end point, also with
// the print pen three units wide.
TEST(QtSurfaceTest, LineToPaintsTheStartPointAndNotTheEndPoint) {
  const struct {
    QPoint from, to;
    int width;
  } cases[] = {
      {{10, 20}, {40, 20}, 1}, {{40, 20}, {10, 20}, 1}, {{30, 5}, {30, 35}, 1},
      {{30, 35}, {30, 5}, 1},  {{10, 10}, {40, 22}, 1}, {{40, 22}, {10, 10}, 1},
      {{20, 5}, {28, 35}, 1},  {{28, 35}, {20, 5}, 1},  {{10, 20}, {40, 20}, 3},
      {{40, 20}, {10, 20}, 3}, {{30, 5}, {30, 35}, 3},  {{30, 35}, {30, 5}, 3},
  };
  for (const auto& c : cases) {
    Canvas canvas;
    canvas.surface->SetPenWidth(c.width);
    canvas.surface->MoveTo(c.from.x(), c.from.y());
    canvas.surface->LineTo(c.to.x(), c.to.y());
    const QImage img = canvas.Done();
    const QPoint d = c.to - c.from;
    const bool across = std::abs(d.x()) >= std::abs(d.y());
    const QPoint step = across ? QPoint(d.x() > 0 ? 1 : -1, 0) : QPoint(0, d.y() > 0 ? 1 : -1);
    SCOPED_TRACE(std::to_string(c.from.x()) + "," + std::to_string(c.from.y()) + " to " +
                 std::to_string(c.to.x()) + "," + std::to_string(c.to.y()) + " width " +
                 std::to_string(c.width));
    EXPECT_EQ(img.pixel(c.from), kBlackPx);
    EXPECT_EQ(img.pixel(c.from - step), kWhitePx);
    EXPECT_EQ(img.pixel(c.to), kWhitePx);
    if (d.x() == 0 || d.y() == 0) {
      EXPECT_EQ(img.pixel(c.to - step), kBlackPx);
    }
    if (c.width == 1) {
      int painted = 0;
      for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
          painted += img.pixel(x, y) == kBlackPx;
      EXPECT_EQ(painted, std::max(std::abs(d.x()), std::abs(d.y()))); // one per step
    }
  }
}

TEST(QtSurfaceTest, RectanglesExcludeRightAndBottom) {
  Canvas c;
  c.surface->SetBrushColor(0x00FF00); // green fill
  c.surface->Rectangle(2, 2, 8, 6);
  c.surface->FillRect(20, 2, 24, 5);
  const QImage img = c.Done();
  for (int x = 2; x < 8; ++x) {
    EXPECT_EQ(img.pixel(x, 2), kBlackPx) << x;
    EXPECT_EQ(img.pixel(x, 5), kBlackPx) << x;
    EXPECT_EQ(img.pixel(x, 6), kWhitePx) << x;
  }
  for (int y = 2; y < 6; ++y) {
    EXPECT_EQ(img.pixel(2, y), kBlackPx) << y;
    EXPECT_EQ(img.pixel(7, y), kBlackPx) << y;
    EXPECT_EQ(img.pixel(8, y), kWhitePx) << y;
  }
  EXPECT_EQ(img.pixel(4, 3), Rgb(0, 255, 0));
  for (int x = 20; x < 24; ++x)
    for (int y = 2; y < 5; ++y)
      EXPECT_EQ(img.pixel(x, y), Rgb(0, 255, 0)) << x << "," << y;
  EXPECT_EQ(img.pixel(24, 3), kWhitePx);
  EXPECT_EQ(img.pixel(22, 5), kWhitePx);
}

TEST(QtSurfaceTest, TextHasAnOpaqueBackgroundOfItsExtent) {
  Canvas c;
  c.surface->SetBrushColor(0x0000FF);
  const TSize e = c.surface->TextExtent("ja");
  c.surface->TextOut(10, 10, "ja");
  const QImage img = c.Done();
  EXPECT_EQ(img.pixel(10, 10), Rgb(255, 0, 0));
  EXPECT_EQ(img.pixel(10 + e.cx - 1, 10 + e.cy - 1), Rgb(255, 0, 0));
  EXPECT_EQ(img.pixel(10 + e.cx, 10), kWhitePx);
  EXPECT_EQ(img.pixel(10, 10 + e.cy), kWhitePx);
  int glyph = 0;
  for (int x = 10; x < 10 + e.cx; ++x)
    for (int y = 10; y < 10 + e.cy; ++y)
      glyph += img.pixel(x, y) == kBlackPx;
  EXPECT_GT(glyph, 5);
}

TEST(QtSurfaceTest, ColoursAreReadBackAsSet) {
  Canvas c;
  c.surface->SetBrushColor(kScreenBackground - 1542);
  EXPECT_EQ(c.surface->GetBrushColor(), kScreenBackground - 1542);
  c.surface->SetBrushColor(c.surface->GetBrushColor() + 1542);
  EXPECT_EQ(c.surface->GetBrushColor(), kScreenBackground);
  c.surface->SetPenColor(kRed);
  EXPECT_EQ(c.surface->GetPenColor(), kRed);
  EXPECT_EQ(ToQColor(kScreenBackground), QColor(245, 245, 245));
  EXPECT_EQ(ToQColor(0x00123456), QColor(0x56, 0x34, 0x12));
}

TEST(QtSurfaceTest, Windows1252Texts) {
  EXPECT_EQ(FromWindows1252("\x80 \x84\x93\x94 \xe4\xf6\xfc\xdf \x9f"),
            QString::fromUtf8("€ „“” äöüß Ÿ"));
  EXPECT_EQ(FromWindows1252("a\r\nb"), QString("a  b"));
}

TEST(QtSurfaceTest, PrintFontScalesWithResolution) {
  QImage img(10, 10, QImage::Format_RGB32);
  img.setDotsPerMeterX(11811); // 300 dpi
  img.setDotsPerMeterY(11811);
  QPainter painter(&img);
  QtSurface surface(painter, DiagramFont());
  surface.SetFontSize(12);
  surface.SetFontName("Times New Roman");
  const int h = surface.TextExtent("ja").cy;
  EXPECT_GE(h, 45); // 12 pt at 300 dpi is 50 pixels of em
  EXPECT_LE(h, 70);
}

// A window's paint of a root holding a block with a selected statement and a plain statement.
TEST(QtSurfaceTest, DiagramPixels) {
  auto root = MakeRoot();
  TBlock* inner = Append(*root, TBlock::CreateWithText("Teil"));
  TElement* selected = Append(*inner, TAnweisung::CreateWithText("rot"));
  TElement* plain = Append(*root, TAnweisung::CreateWithText("schwarz"));
  QImage probe(1, 1, QImage::Format_RGB32);
  QPainter probePainter(&probe);
  QtSurface probeSurface(probePainter, DiagramFont());
  TDisplayOptions d;
  d.AddSelection(selected);
  const TSize rootSize = Measure(*root, probeSurface, d);
  const TSize innerSize = Measure(*inner, probeSurface, d);
  const TSize selSize = Measure(*selected, probeSurface, d);
  const TSize plainSize = Measure(*plain, probeSurface, d);
  probePainter.end();

  QImage img(rootSize.cx + 50, rootSize.cy + 50, QImage::Format_RGB32);
  img.fill(QColor(245, 245, 245));
  {
    QPainter painter(&img);
    QtSurface surface(painter, DiagramFont());
    PaintStruktogramm(surface, *root, d, {0, 0});
  }
  const int x = rootSize.cx / 2 + 30;
  // start mark: circle x-2..x+2 on rows 6..10, stem rows 11..14
  EXPECT_EQ(img.pixel(x, 6), kBlackPx);
  EXPECT_EQ(img.pixel(x, 5), Rgb(245, 245, 245));
  for (int y = 11; y <= 14; ++y)
    EXPECT_EQ(img.pixel(x, y), kBlackPx) << y;
  // grey dotted frame of the root on row 15, background 239,239,245 inside
  const int left = x - rootSize.cx / 2;
  int grey = 0, gaps = 0;
  for (int px = left + 1; px < left + 20; ++px) {
    grey += img.pixel(px, 15) == Rgb(128, 128, 128);
    gaps += img.pixel(px, 15) == Rgb(239, 239, 245);
  }
  EXPECT_GT(grey, 5);
  EXPECT_GT(gaps, 5);
  EXPECT_EQ(img.pixel(left + 2, 20), Rgb(239, 239, 245));
  // the inner block one shade darker: 233,233,245, its frame's left edge at x - hw
  const int innerTop = 22;
  EXPECT_EQ(img.pixel(x - innerSize.cx / 2 + 2, innerTop + 3), Rgb(233, 233, 245));
  // the selected statement's box is red, at the inner block's body anchor (x, 29)
  const int selLeft = x - selSize.cx / 2;
  EXPECT_EQ(img.pixel(selLeft, 29 + 3), Rgb(255, 0, 0));
  EXPECT_EQ(img.pixel(selLeft + 2, 29), Rgb(255, 0, 0));
  EXPECT_EQ(img.pixel(selLeft + 2, 29 + 2), Rgb(255, 255, 255));
  // the plain statement's arrow head: filled black, tip on the row above its successor's anchor
  const int plainTop = innerTop + innerSize.cy;
  const int tip = plainTop + plainSize.cy - 1;
  EXPECT_EQ(img.pixel(x - plainSize.cx / 2, plainTop + 3), kBlackPx);
  EXPECT_EQ(img.pixel(x, tip - 1), kBlackPx);
  EXPECT_EQ(img.pixel(x - 1, tip - 2), kBlackPx);
  EXPECT_EQ(img.pixel(x + 1, tip - 2), kBlackPx);
  EXPECT_EQ(img.pixel(x - 3, tip - 2), Rgb(239, 239, 245));
}

} // namespace

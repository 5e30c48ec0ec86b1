// SPDX-License-Identifier: MIT
// SVG export: the PNG's picture written as SVG elements, well-formed, with exact integer
// coordinates however tall the picture.
#include "render/svg_export.h"

#include "picture_test_util.h"
#include "render/png_export.h"
#include "render/qt_picture_toolkit.h"
#include "test_tree.h"

#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

struct Element {
  QString name;
  QXmlStreamAttributes attributes;
  QString text;
  int Int(const char* attribute) const { return attributes.value(attribute).toInt(); }
};

// The document's elements in order; fails the test when it is not well-formed XML.
std::vector<Element> Parse(const QByteArray& svg) {
  std::vector<Element> elements;
  QXmlStreamReader reader(svg);
  while (!reader.atEnd()) {
    if (reader.readNext() != QXmlStreamReader::StartElement)
      continue;
    elements.push_back({reader.name().toString(), reader.attributes(), {}});
    if (reader.name() == QLatin1String("text"))
      elements.back().text = reader.readElementText();
  }
  EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
  return elements;
}

// Numbers are written as integers or decimals, never with an exponent.
bool PlainNumbers(const std::vector<Element>& elements) {
  const QRegularExpression exponent("\\d[eE][+-]?\\d");
  for (const Element& e : elements)
    for (const QXmlStreamAttribute& a : e.attributes)
      if (a.name() != QLatin1String("fill") && a.name() != QLatin1String("stroke") &&
          a.value().toString().contains(exponent))
        return false;
  return true;
}

struct SvgExportTest : ::testing::Test {
  QTemporaryDir dir;
  QtPictureToolkit toolkit;
  std::string Path(const char* name) { return dir.filePath(name).toStdString(); }
  QByteArray Export(TBlock& root, const char* name) {
    ExportSvg(root, toolkit, Path(name));
    QFile f(dir.filePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
};

TEST_F(SvgExportTest, ThePngsPictureApartFromTheGlyphs) {
  TOwned<TBlock> root = TreeGenerator(7).Make(150, 4);
  Append(*root, TAnweisung::CreateWithText("a < b & \"c\" \xe4 \x80"));
  const QByteArray svg = Export(*root, "bild.svg");
  ExportPng(*root, toolkit, Path("bild.png"));
  const QImage png = QImage(dir.filePath("bild.png")).convertToFormat(QImage::Format_RGB32);
  const std::vector<Element> elements = Parse(svg);
  ASSERT_FALSE(elements.empty());

  const Element& top = elements.front();
  EXPECT_EQ(top.Int("width"), png.width());
  EXPECT_EQ(top.Int("height"), png.height());
  EXPECT_EQ(top.attributes.value("viewBox").toString(),
            QString("0 0 %1 %2").arg(png.width()).arg(png.height()));
  EXPECT_EQ(top.attributes.value("shape-rendering").toString(), "crispEdges");
  const TFontFace face = toolkit.Face();
  EXPECT_EQ(top.attributes.value("font-family").toString(),
            QString::fromStdString("'" + face.family + "', sans-serif"));
  EXPECT_EQ(top.Int("font-size"), face.pixelSize);
  EXPECT_TRUE(PlainNumbers(elements));

  // The same colours as the PNG's pixels. Where Qt smooths edges (text, polygons, the ellipse)
  // the rendering is not compared; everything else is to be the PNG's, pixel for pixel.
  std::set<QString> colours;
  QImage skip(png.size(), QImage::Format_Grayscale8);
  skip.fill(0);
  QPainter skipping(&skip);
  bool special = false;
  for (const Element& e : elements) {
    for (const char* paint : {"fill", "stroke"}) {
      const QString value = e.attributes.value(paint).toString();
      if (value.startsWith('#'))
        colours.insert(value);
    }
    QRect smoothed;
    if (e.name == "text") {
      smoothed = QRect(e.Int("x"), e.Int("y") - face.ascent, e.Int("textLength"),
                       toolkit.TextExtent("ja").cy);
      special = special || e.text == QString::fromUtf8("a < b & \"c\" ä €");
    } else if (e.name == "polygon") {
      QPolygon corners;
      for (const QString& point : e.attributes.value("points").toString().split(' '))
        corners << QPoint(point.section(',', 0, 0).toInt(), point.section(',', 1, 1).toInt());
      smoothed = corners.boundingRect();
    } else if (e.name == "ellipse") {
      smoothed = QRect(e.Int("cx") - e.Int("rx"), e.Int("cy") - e.Int("ry"), 2 * e.Int("rx") + 1,
                       2 * e.Int("ry") + 1);
    }
    if (!smoothed.isNull())
      skipping.fillRect(smoothed.adjusted(-2, -2, 2, 2), Qt::white);
  }
  skipping.end();
  EXPECT_TRUE(special);
  std::set<QString> pixels;
  for (int y = 0; y < png.height(); ++y)
    for (int x = 0; x < png.width(); ++x)
      pixels.insert(QColor(png.pixel(x, y)).name());
  EXPECT_EQ(colours, pixels);

  QImage rendered(png.size(), QImage::Format_RGB32);
  rendered.fill(Qt::black);
  {
    QPainter painter(&rendered);
    QSvgRenderer(svg).render(&painter);
  }
  int compared = 0;
  for (int y = 0; y < png.height(); ++y) {
    const auto* expected = reinterpret_cast<const QRgb*>(png.constScanLine(y));
    const auto* actual = reinterpret_cast<const QRgb*>(rendered.constScanLine(y));
    const uchar* skipped = skip.constScanLine(y);
    for (int x = 0; x < png.width(); ++x) {
      if (skipped[x])
        continue;
      ++compared;
      if (actual[x] != expected[x]) {
        ADD_FAILURE() << "pixel " << x << "," << y;
        return;
      }
    }
  }
  EXPECT_GT(compared, png.width() * png.height() / 2);
}

// A picture over two million pixels tall: the last figures' coordinates are exact integers.
TEST_F(SvgExportTest, ExactCoordinatesAtTheBottomOfAVeryTallPicture) {
  TOwned<TBlock> root = MakeRoot();
  const std::string condition(600, 'x');
  for (int i = 0; i < 1600; ++i)
    Append(*root, TWhile::CreateWithText(condition));
  TAnweisung* last = Append(*root, TAnweisung::CreateWithText("Ende"));
  ScreenProbe probe;
  const TSize size = probe.Measure(*root);
  ASSERT_GT(size.cy + 50, 2'000'000);
  const TSize box = probe.Measure(*last);
  const int x = size.cx / 2 + 30;
  const int top = 22 + 1600 * probe.Measure(*root->Body).cy;
  const int left = x - box.cx / 2, bottom = top + box.cy - 6;

  const QByteArray svg = Export(*root, "hoch.svg");
  const std::vector<Element> elements = Parse(svg);
  ASSERT_FALSE(elements.empty());
  EXPECT_TRUE(PlainNumbers(elements));
  EXPECT_EQ(elements.front().Int("height"), size.cy + 50);
  auto has = [&](const QString& name, std::vector<std::pair<const char*, QString>> values) {
    for (const Element& e : elements) {
      if (e.name != name)
        continue;
      bool all = true;
      for (const auto& [attribute, value] : values)
        all = all && e.attributes.value(attribute).toString() == value;
      if (all)
        return true;
    }
    return false;
  };
  auto num = [](int v) { return QString::number(v); };
  // The box, its text and the arrow head below it.
  EXPECT_TRUE(has(
      "rect",
      {{"x", num(left)}, {"y", num(top)}, {"width", num(box.cx)}, {"height", num(bottom - top)}}));
  EXPECT_TRUE(has("text", {{"x", num(left + 5)}, {"y", num(top + 5 + toolkit.Face().ascent)}}));
  const int tip = top + box.cy - 1;
  EXPECT_TRUE(
      has("polygon",
          {{"points",
            QString("%1,%2 %3,%2 %4,%5").arg(x - 2).arg(tip - 2).arg(x + 2).arg(x).arg(tip)}}));
}

} // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

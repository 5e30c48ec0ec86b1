// SPDX-License-Identifier: MIT
// PNG export painted in strips: the same pixels as one paint of the whole picture, in every
// colour mode and strip height, and no file left behind when it fails.
#include "render/diagram_paint.h"
#include "render/picture_export.h"
#include "render/qt_surface.h"
#include "test_tree.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

namespace {

// The whole picture painted at once, as a window shows it unscrolled.
QImage ReferencePicture(TBlock& root) {
  TSize size;
  {
    QImage probe(1, 1, QImage::Format_RGB32);
    QPainter painter(&probe);
    QtSurface surface(painter, DiagramFont());
    TDisplayOptions display;
    size = Measure(root, surface, display);
  }
  QImage image(size.cx + 50, size.cy + 50, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.fillRect(image.rect(), QColor(245, 245, 245));
  QtSurface surface(painter, DiagramFont());
  TDisplayOptions display;
  PaintStruktogramm(surface, root, display, {0, 0});
  return image;
}

// Empty when equal, else where and how the first difference shows.
std::string Difference(const QImage& expected, const QImage& loaded) {
  if (loaded.isNull()) return "the file does not load";
  if (loaded.size() != expected.size())
    return "size " + std::to_string(loaded.width()) + "x" + std::to_string(loaded.height());
  const QImage actual = loaded.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < expected.height(); ++y) {
    const auto* e = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
    const auto* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
    for (int x = 0; x < expected.width(); ++x)
      if ((e[x] | 0xFF000000u) != (a[x] | 0xFF000000u))
        return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + "): " +
               QString::number(a[x] & 0xFFFFFF, 16).toStdString() + " instead of " +
               QString::number(e[x] & 0xFFFFFF, 16).toStdString();
  }
  return {};
}

std::set<TKind> Kinds(TElement* root) {
  std::vector<TElement*> all;
  TreeGenerator::Collect(root, all);
  std::set<TKind> kinds;
  for (TElement* e : all) kinds.insert(e->Kind());
  return kinds;
}

struct PictureExportTest : ::testing::Test {
  QTemporaryDir dir;
  std::string Path(const std::string& name) { return dir.filePath(QString::fromStdString(name)).toStdString(); }
  QImage Export(TBlock& root, int rows, PngColours colours, const std::string& name) {
    ExportPngInStrips(root, Path(name), rows, colours);
    return QImage(QString::fromStdString(Path(name)));
  }
};

TEST_F(PictureExportTest, StripsCutThroughEveryKindOfFigureWithoutSeams) {
  TOwned<TBlock> root = TreeGenerator(11).Make(400, 5);
  ASSERT_EQ(Kinds(root.get()).size(), 7u);  // every element kind
  const QImage expected = ReferencePicture(*root);
  ASSERT_GT(expected.height(), 700);

  for (int rows : {7, 64, 512}) {
    SCOPED_TRACE("strip rows " + std::to_string(rows));
    const QImage indexed = Export(*root, rows, PngColours::Palette, "p.png");
    EXPECT_EQ(Difference(expected, indexed), "");
    EXPECT_EQ(indexed.format(), QImage::Format_Indexed8);  // a palette file, as loaded by Qt
    const QImage rgb = Export(*root, rows, PngColours::TrueColour, "t.png");
    EXPECT_EQ(Difference(expected, rgb), "");
    EXPECT_NE(rgb.format(), QImage::Format_Indexed8);
  }
}

TEST_F(PictureExportTest, ExportPictureWritesTheSamePixels) {
  TOwned<TBlock> root = TreeGenerator(5).Make(150, 4);
  const QImage expected = ReferencePicture(*root);
  ExportPicture(*root, Path("Bild.PNG"));
  EXPECT_EQ(Difference(expected, QImage(QString::fromStdString(Path("Bild.PNG")))), "");
}

TEST_F(PictureExportTest, AColourMissingFromThePaletteFallsBackToTrueColour) {
  TOwned<TBlock> root = TreeGenerator(3).Make(60, 3);
  const QImage expected = ReferencePicture(*root);
  const QImage image = Export(*root, 7, PngColours::PaletteWithoutBackground, "f.png");
  EXPECT_EQ(Difference(expected, image), "");
  EXPECT_NE(image.format(), QImage::Format_Indexed8);
  // Only the finished picture is left in the folder, no half-written attempt.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"f.png"});
}

TEST_F(PictureExportTest, PalettesOfEverySizeKeepThePixels) {
  // An empty program has the fewest colours; framed blocks nested deep darken the background
  // one step per level, more than sixteen colours in all.
  TOwned<TBlock> empty = MakeRoot();
  TOwned<TBlock> deep = MakeRoot();
  TBlock* inner = deep.get();
  for (int i = 0; i < 24; ++i) {
    Append(*inner, TAnweisung::CreateWithText("x := " + std::to_string(i)));
    inner = Append(*inner, TBlock::CreateWithText("Teil " + std::to_string(i)));
  }
  Append(*inner, TAnweisung::CreateWithText("innen"));
  for (TBlock* root : {empty.get(), deep.get()}) {
    const QImage expected = ReferencePicture(*root);
    const QImage image = Export(*root, 7, PngColours::Palette, "n.png");
    EXPECT_EQ(Difference(expected, image), "");
    EXPECT_EQ(image.format(), QImage::Format_Indexed8);
  }
  std::set<QRgb> colours;
  const QImage picture = ReferencePicture(*deep);
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) colours.insert(picture.pixel(x, y));
  EXPECT_GT(colours.size(), 16u);  // so the palette needs eight bits per pixel
}

TEST_F(PictureExportTest, FailuresLeaveNoFile) {
  TOwned<TBlock> big = MakeRoot();
  for (int i = 0; i < 1500; ++i) Append(*big, TAnweisung::CreateWithText("x := x + 1"));
  try {
    ExportPicture(*big, Path("gross.png"));
    ADD_FAILURE() << "no error for a picture too large";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("zu groß"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("gross.png"))));

  TOwned<TBlock> small = MakeRoot();
  Append(*small, TAnweisung::CreateWithText("a"));
  const std::string missing = Path("fehlt/bild.png");
  try {
    ExportPicture(*small, missing);
    ADD_FAILURE() << "no error for a folder that does not exist";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("kann nicht erstellt werden"), std::string::npos)
        << e.what();
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{});
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

// SPDX-License-Identifier: MIT
// PNG export painted in strips: the pixels of one paint of the whole picture in every strip
// height and colour mode, pictures taller than the painting engine could take, and no file
// changed when export fails.
#include "render/png_export.h"

#include "model/stream.h"
#include "model/structogram_file.h"
#include "picture_test_util.h"
#include "render/picture_export.h"
#include "render/qt_picture_toolkit.h"
#include "test_tree.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

namespace {

std::set<TKind> Kinds(TElement* root) {
  std::vector<TElement*> all;
  TreeGenerator::Collect(root, all);
  std::set<TKind> kinds;
  for (TElement* e : all)
    kinds.insert(e->Kind());
  return kinds;
}

std::string ReadAll(const std::string& path) {
  QFile f(QString::fromStdString(path));
  return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

struct PngExportTest : ::testing::Test {
  QTemporaryDir dir;
  QtPictureToolkit toolkit;
  std::string Path(const std::string& name) {
    return dir.filePath(QString::fromStdString(name)).toStdString();
  }
  QImage Export(TBlock& root, int rows, PngColours colours, const std::string& name) {
    ExportPng(root, toolkit, Path(name), rows, colours);
    return QImage(QString::fromStdString(Path(name)));
  }
};

TEST_F(PngExportTest, StripsCutThroughEveryKindOfFigureWithoutSeams) {
  // Strips of 7 rows cut through every diamond, arrow head and fork line, and every dotted
  // frame crosses many of them.
  TOwned<TBlock> root = TreeGenerator(11).Make(400, 5);
  ASSERT_EQ(Kinds(root.get()).size(), 7u);
  const QImage expected = ReferencePicture(*root);
  ASSERT_GT(expected.height(), 700);
  for (int rows : {7, 64, 0}) {
    SCOPED_TRACE("strip rows " + std::to_string(rows));
    const QImage indexed = Export(*root, rows, PngColours::Palette, "p.png");
    EXPECT_EQ(Difference(expected, indexed), "");
    EXPECT_EQ(indexed.format(), QImage::Format_Indexed8);
    const QImage rgb = Export(*root, rows, PngColours::TrueColour, "t.png");
    EXPECT_EQ(Difference(expected, rgb), "");
    EXPECT_NE(rgb.format(), QImage::Format_Indexed8);
  }
}

TEST_F(PngExportTest, ColourModes) {
  // An empty program has the fewest colours; blocks nested deep darken the background one step
  // per level, more than 256 colours at 260 levels.
  TOwned<TBlock> empty = MakeRoot();
  TOwned<TBlock> deep = MakeRoot();
  TBlock* inner = deep.get();
  for (int i = 0; i < 260; ++i)
    inner = Append(*inner, TBlock::CreateWithText("Teil"));
  Append(*inner, TAnweisung::CreateWithText("innen"));
  const struct {
    TBlock* root;
    PngColours colours;
    bool indexed;
  } cases[] = {
      {empty.get(), PngColours::Palette, true},
      {deep.get(), PngColours::Palette, false},
      {empty.get(), PngColours::PaletteWithoutBackground, false},
  };
  for (const auto& c : cases) {
    const QImage expected = ReferencePicture(*c.root);
    const QImage image = Export(*c.root, 7, c.colours, "n.png");
    EXPECT_EQ(Difference(expected, image), "");
    EXPECT_EQ(image.format() == QImage::Format_Indexed8, c.indexed);
  }
  std::set<QRgb> colours;
  const QImage picture = ReferencePicture(*deep);
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      colours.insert(picture.pixel(x, y));
  EXPECT_GT(colours.size(), 256u);
  // A fallback leaves only the finished picture in the folder.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"n.png"});
}

// A loop's paths turn left under the body and back to the centre at its exit, a decision's
// joining line runs leftwards when the yes-branch is the longer: the corners are closed and no
// line paints its end point.
TEST_F(PngExportTest, CornersOfLinesDrawnLeftwardsAndUpwards) {
  TMemoryStream file(std::string("B:gesamtes Programm\x01W:zahl > 0\x01"
                                 "B:While-Block\x01\x02\x02\x02\x02\x02\x02"));
  TLoadResult loop = LoadDocument(file);
  ExportPicture(*loop.Root, Path("loop.png"));
  const QImage image(QString::fromStdString(Path("loop.png")));
  EXPECT_EQ(image.pixel(101, 109), qRgb(0, 0, 0)); // under the body, turning left
  EXPECT_EQ(image.pixel(153, 119), qRgb(0, 0, 0)); // back to the centre at the exit

  TOwned<TBlock> root = MakeRoot();
  TIf* decision = Append(*root, TIf::CreateWithText("x > 0"));
  Append(*decision->Branch1, TAnweisung::CreateWithText("positiv"));
  const QImage picture = Export(*root, 0, PngColours::Palette, "if.png");
  ScreenProbe probe;
  const TPoint anchor{probe.Measure(*root).cx / 2 + 30, 15 + 6 + 1};
  const TPoint yes = BranchAnchor(*decision, probe.surface, anchor, probe.display, 1);
  const TPoint no = BranchAnchor(*decision, probe.surface, anchor, probe.display, 2);
  const int e1 = yes.y + probe.Measure(*decision->Branch1).cy;
  ASSERT_GT(e1, no.y + probe.Measure(*decision->Branch2).cy);
  EXPECT_EQ(picture.pixel(no.x, e1), qRgb(0, 0, 0));      // the corner
  EXPECT_EQ(picture.pixel(yes.x + 1, e1), qRgb(0, 0, 0)); // the line's last pixel
  EXPECT_NE(picture.pixel(yes.x, e1), qRgb(0, 0, 0));     // its end point
}

TEST_F(PngExportTest, TallerThanThePaintingEngineTakes) {
  TOwned<TBlock> root = MakeRoot();
  for (int i = 0; i < 1200; ++i)
    Append(*root, TAnweisung::CreateWithText("x := x + 1"));
  const QImage image = Export(*root, 0, PngColours::Palette, "hoch.png");
  ScreenProbe probe;
  const TSize size = probe.Measure(*root);
  ASSERT_GT(size.cy + 50, 32767);
  ASSERT_EQ(image.size(), QSize(size.cx + 50, size.cy + 50));
  // The last statement's box, its arrow, and the root's frame below it.
  const int x = size.cx / 2 + 30, hw = size.cx / 2;
  const TSize box = probe.Measure(*root->Body);
  const int top = 15 + 6 + 1 + 1199 * box.cy;
  const int left = x - (box.cx / 2), right = x + box.cx / 2 - 1, bottom = top + box.cy - 6 - 1;
  for (QPoint p : {QPoint(left, top), QPoint(right, top), QPoint(left, bottom),
                   QPoint(right, bottom), QPoint(x, top + box.cy - 1)})
    EXPECT_EQ(image.pixel(p), qRgb(0, 0, 0)) << p.x() << "," << p.y();
  EXPECT_EQ(image.pixel(left + 2, top + 2), qRgb(255, 255, 255));
  // The frame's dots keep the phase of its top-left corner down to the bottom.
  const int frameBottom = 15 + size.cy - 6 - 1;
  for (int y : {16, 17, frameBottom - 1, frameBottom})
    EXPECT_EQ(image.pixel(x - hw, y) == qRgb(128, 128, 128), (y - 15) % 2 == 1) << y;
}

TEST_F(PngExportTest, FailuresLeaveTheFileAsItWas) {
  // One loop whose condition makes a picture of more than twenty billion pixels.
  TOwned<TBlock> huge = MakeRoot();
  Append(*huge, TWhile::CreateWithText(std::string(50000, 'x')));
  const TSize size = ScreenProbe().Measure(*huge);
  ASSERT_GT(int64_t{size.cx + 50} * (size.cy + 50), kMaxPicturePixels);
  const std::string old = Path("alt.png");
  {
    QFile f(QString::fromStdString(old));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("alt");
  }
  try {
    ExportPicture(*huge, old);
    ADD_FAILURE() << "no error for a picture too large";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("zu groß"), std::string::npos) << e.what();
  }
  EXPECT_EQ(ReadAll(old), "alt");

  TOwned<TBlock> small = MakeRoot();
  ASSERT_TRUE(QDir(dir.path()).mkdir("ordner.png"));
  for (const char* name : {"fehlt/bild.png", "ordner.png"}) {
    try {
      ExportPicture(*small, Path(name));
      ADD_FAILURE() << "no error for " << name;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find("kann nicht erstellt werden"), std::string::npos)
          << e.what();
    }
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            (QStringList{"alt.png", "ordner.png"}));
}

} // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

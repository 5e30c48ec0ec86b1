// SPDX-License-Identifier: MIT
// Pictures through the built program: `struktogramme --export OUT IN.str`.
#include "model/structogram_file.h"
#include "render/figures.h"
#include "render/qt_surface.h"
#include "test_tree.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

int RunConverterProcess(const std::string& out, const std::string& in, const std::string& errFile) {
  const std::string cmd = std::string("\"") + STRUKT_EXECUTABLE + "\" --export \"" + out + "\" \"" +
                          in + "\" 2> \"" + errFile + "\"";
  const int status = std::system(cmd.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

struct ExportCliTest : ::testing::Test {
  QTemporaryDir dir;
  std::string Path(const char* name) { return dir.filePath(name).toStdString(); }
};

TEST_F(ExportCliTest, PngSvgAndPdfOfEveryKind) {
  auto root = MakeRoot();
  Append(*root, TAnweisung::CreateWithText("Wert lesen"));
  TIf* dec = Append(*root, TIf::CreateWithText("x > 0"));
  Append(*dec->Branch1, TAnweisung::CreateWithText("positiv"));
  TWhile* w = Append(*root, TWhile::CreateWithText("i < n"));
  Append(*w->Branch1, TAnweisung::CreateWithText("i := i + 1"));
  Append(*root, TFor::CreateWithText("i := 1 bis 10"));
  Append(*root, TDoWhile::CreateWithText("weiter"));
  Append(*root, TRepeat::CreateWithText("fertig"));
  Append(*root, TBlock::CreateWithText("Teil"));
  SaveDocumentFile(*root, Path("in.str"));

  ASSERT_EQ(RunConverterProcess(Path("out.png"), Path("in.str"), Path("err.txt")), 0)
      << ReadAll(Path("err.txt"));
  QImage img(QString::fromStdString(Path("out.png")));
  ASSERT_FALSE(img.isNull());
  TSize size;
  {
    QImage probe(1, 1, QImage::Format_RGB32);
    QPainter painter(&probe);
    QtSurface surface(painter, DiagramFont());
    TDisplayOptions d;
    size = Measure(*root, surface, d);
  }
  EXPECT_EQ(img.size(), QSize(size.cx + 50, size.cy + 50));
  const int x = size.cx / 2 + 30;
  EXPECT_EQ(img.pixel(0, 0), qRgb(245, 245, 245));
  EXPECT_EQ(img.pixel(x, 13), qRgb(0, 0, 0));                         // stem of the start mark
  EXPECT_EQ(img.pixel(x - size.cx / 2 + 2, 20), qRgb(239, 239, 245)); // inside the root
  EXPECT_EQ(img.pixel(x, 22), qRgb(0, 0, 0)); // top edge of the first statement's box

  ASSERT_EQ(RunConverterProcess(Path("out.svg"), Path("in.str"), Path("err.txt")), 0)
      << ReadAll(Path("err.txt"));
  QSvgRenderer svg(QString::fromStdString(Path("out.svg")));
  EXPECT_TRUE(svg.isValid());
  EXPECT_EQ(svg.viewBox().size(), img.size());

  ASSERT_EQ(RunConverterProcess(Path("out.pdf"), Path("in.str"), Path("err.txt")), 0)
      << ReadAll(Path("err.txt"));
  EXPECT_EQ(ReadAll(Path("out.pdf")).rfind("%PDF", 0), 0u);
}

TEST_F(ExportCliTest, TooLargeForAnImage) {
  // One loop whose condition makes a picture of more than twenty billion pixels.
  auto root = MakeRoot();
  Append(*root, TWhile::CreateWithText(std::string(50000, 'x')));
  SaveDocumentFile(*root, Path("big.str"));
  EXPECT_EQ(RunConverterProcess(Path("big.png"), Path("big.str"), Path("err.txt")), 1);
  const std::string err = ReadAll(Path("err.txt"));
  EXPECT_NE(err.find("zu groß"), std::string::npos) << err;
  EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("big.png"))));
  EXPECT_EQ(RunConverterProcess(Path("big.svg"), Path("big.str"), Path("err.txt")), 0);
}

} // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

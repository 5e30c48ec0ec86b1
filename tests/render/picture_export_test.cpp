// SPDX-License-Identifier: MIT
// The one export entry: the format by the file's extension, and the printout as PDF.
#include "render/picture_export.h"

#include "test_tree.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

struct PictureExportTest : ::testing::Test {
  QTemporaryDir dir;
  std::string Path(const char* name) { return dir.filePath(name).toStdString(); }
  QByteArray Read(const char* name) {
    QFile f(dir.filePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  // The PDF's page size in points.
  QSizeF Page(const char* name) {
    const auto m = QRegularExpression("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]")
                       .match(QString::fromLatin1(Read(name)));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
  }
};

TEST_F(PictureExportTest, FormatByExtension) {
  auto root = MakeRoot();
  Append(*root, TAnweisung::CreateWithText("Wert lesen"));
  const struct {
    const char* name;
    const char* start;
  } cases[] = {{"a.png", "\x89PNG"}, {"b.PNG", "\x89PNG"}, {"c.svg", "<?xml"}, {"d.Pdf", "%PDF"}};
  for (const auto& c : cases) {
    ExportPicture(*root, Path(c.name));
    EXPECT_TRUE(Read(c.name).startsWith(c.start)) << c.name;
  }
  EXPECT_THROW(ExportPicture(*root, Path("e.bmp")), std::runtime_error);
  EXPECT_FALSE(QFile::exists(dir.filePath("e.bmp")));
}

TEST_F(PictureExportTest, PdfIsOnePageEnlargedWhenThePrintoutDoesNotFit) {
  auto small = MakeRoot();
  Append(*small, TAnweisung::CreateWithText("a"));
  auto large = MakeRoot();
  for (int i = 0; i < 2000; ++i)
    Append(*large, TAnweisung::CreateWithText("x := x + 1"));
  ExportPicture(*small, Path("klein.pdf"));
  ExportPicture(*large, Path("gross.pdf"));
  const QByteArray pdf = Read("klein.pdf");
  EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page "), 1);
  EXPECT_NEAR(Page("klein.pdf").width(), 595, 1); // A4
  EXPECT_NEAR(Page("klein.pdf").height(), 842, 1);
  EXPECT_GT(Page("gross.pdf").height(), 842 * 10);
}

} // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

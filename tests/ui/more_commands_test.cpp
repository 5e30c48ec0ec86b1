// SPDX-License-Identifier: MIT
// The "Datei" commands beyond the original program: pictures of the active window, the print
// preview's layouts, the program in another language, on the clipboard or in a file, and Pascal
// source read as a diagram.
#include "diagram_test_support.h"

#include "language/language_export.h"
#include "model/structogram_file.h"
#include "ui/main/print_layout.h"
#include "ui/main/text_codec.h"

#include <QAction>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include <map>

namespace {

class MoreCommandsTest : public DiagramTest {
protected:
  QTemporaryDir dir;
  QString Path(const char* name) const { return dir.filePath(QLatin1String(name)); }
  static QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  QAction* Action(const char* name) {
    return form->findChild<QAction*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
  }
  void StartWithProgram(int statements) {
    StartWith([&](TBlock& p) {
      TBlock* part = Append(p, TBlock::CreateWithText("Teil"));
      AppendStatements(*part, 5, "t");
      AppendStatements(p, statements, "x := x + ");
      TIf* d = Append(p, TIf::CreateWithText("x < 10"));
      Statement(*d->Branch1, "writeln(x)");
    });
  }
};

// The menu's picture is the command line's, byte for byte; collapsed blocks show collapsed.
TEST_F(MoreCommandsTest, PicturesFromTheMenuAreTheCommandLinesPictures) {
  StartWithProgram(6);
  const QString source = Path("p.str");
  SaveDocumentFile(Program(), FileNameBytes(source));
  for (const char* name : {"menu.png", "menu.svg", "menu.pdf"}) {
    SCOPED_TRACE(name);
    services.FileAnswers = {Path(name)};
    Action("AlsBildexportieren1")->trigger();
    const QString converted = Path(name).replace(QLatin1String("menu"), QLatin1String("cli"));
    QProcess converter;
    converter.start(STRUKT_EXECUTABLE, {"--export", converted, source});
    ASSERT_TRUE(converter.waitForFinished(60000));
    ASSERT_EQ(converter.exitCode(), 0);
    const QByteArray menu = Read(Path(name));
    ASSERT_FALSE(menu.isEmpty());
    if (QByteArray(name).endsWith(".pdf"))
      EXPECT_TRUE(menu.startsWith("%PDF"));  // a PDF carries its creation time
    else
      EXPECT_EQ(menu, Read(converted));
  }
  EXPECT_EQ(services.DefaultExtensions.last(), QStringLiteral("png"));
  EXPECT_TRUE(services.Filters.last().startsWith(QStringLiteral("PNG-Bild (*.png)|*.png")));
  First().Display->ToggleCollapsed(As<TBlock>(Program().Body));
  First().Display->AddSelection(Program().Body);
  services.FileAnswers = {Path("zu.svg")};
  Action("AlsBildexportieren1")->trigger();
  const QByteArray collapsed = Read(Path("zu.svg"));
  EXPECT_LT(collapsed.size(), Read(Path("menu.svg")).size());
  EXPECT_FALSE(collapsed.contains("#ff0000"));  // nothing selected in a picture
  // A failed export is told, and leaves no file behind.
  services.FileAnswers = {Path("kein/Ordner/bild.png")};
  Action("AlsBildexportieren1")->trigger();
  ASSERT_EQ(services.Messages.size(), 1u);
  EXPECT_TRUE(services.Messages[0].text.contains(QStringLiteral("kann nicht erstellt werden")));
}

int PdfPages(const QByteArray& pdf) {
  return static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") +
                          pdf.count("/Type /Page ") + pdf.count("/Type /Page>"));
}

// The preview's three layouts: one page cut at its edge, one page scaled, or tiles enough to
// hold the printout at full size.
TEST_F(MoreCommandsTest, PrintPreviewFitsOrTiles) {
  StartWithProgram(120);  // far taller than a page at 300 dots per inch
  Action("Seitenansicht1")->trigger();
  ASSERT_TRUE(services.Preview);
  std::map<TPrintLayout, int> pages;
  std::map<TPrintLayout, qsizetype> bytes;
  for (TPrintLayout layout : {TPrintLayout::AsPrinted, TPrintLayout::FitPage, TPrintLayout::Tiled}) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(300);
    const QString file = dir.filePath(QStringLiteral("vorschau%1.pdf").arg(int(layout)));
    printer.setOutputFileName(file);
    services.Preview(printer, layout);
    pages[layout] = PdfPages(Read(file));
    bytes[layout] = Read(file).size();
  }
  // Each tile holds only its own figures, not the whole program clipped away.
  EXPECT_LT(bytes[TPrintLayout::Tiled], 2 * bytes[TPrintLayout::AsPrinted]);
  EXPECT_EQ(pages[TPrintLayout::AsPrinted], 1);
  EXPECT_EQ(pages[TPrintLayout::FitPage], 1);
  EXPECT_GE(pages[TPrintLayout::Tiled], 3);
  EXPECT_TRUE(services.Messages.empty());
  // The page arithmetic itself.
  struct Row {
    QSize printout, page;
    int header, columns, rows;
    double scale;
  };
  const Row rows[] = {
      {{100, 100}, {200, 300}, 20, 1, 1, 1.0},   {{200, 280}, {200, 300}, 20, 1, 1, 1.0},
      {{201, 281}, {200, 300}, 20, 2, 2, 200.0 / 201}, {{1000, 5000}, {200, 300}, 50, 5, 20, 0.06},
  };
  for (const Row& row : rows) {
    const TTiling tiling = TileCount(row.printout, row.page, row.header);
    EXPECT_EQ(tiling.columns, row.columns);
    EXPECT_EQ(tiling.rows, row.rows);
    EXPECT_DOUBLE_EQ(FitScale(row.printout, row.page), row.scale);
  }
}

// Exporting picks the language by the file's extension; the clipboard takes the one chosen.
TEST_F(MoreCommandsTest, OtherLanguagesToFilesAndTheClipboard) {
  StartWithProgram(2);
  for (const char* name : {"a.py", "B.java", "c.c", "d.pas", "e.txt"}) {
    SCOPED_TRACE(name);
    services.FileAnswers = {Path(name)};
    Action("Exportieren1")->trigger();
    const std::string path = FileNameBytes(Path(name));
    const TSourceLanguage language = LanguageForPath(path).value_or(TSourceLanguage::Pascal);
    EXPECT_EQ(Read(Path(name)).toStdString(),
              ExportProgramAs(Program(), language, ProgramNameForPath(path)));
  }
  services.Choices = {1, std::nullopt};
  Action("InZwischenablagekopierenals1")->trigger();
  EXPECT_EQ(services.ChoiceItems, QStringList({"Pascal", "Python 3", "Java", "C"}));
  ASSERT_TRUE(services.Clipboard.has_value());
  EXPECT_EQ(services.Clipboard->toStdString(),
            ExportProgramAs(Program(), TSourceLanguage::Python, "Programm"));
  services.Clipboard.reset();
  Action("InZwischenablagekopierenals1")->trigger();  // cancelled
  EXPECT_FALSE(services.Clipboard.has_value());
}

// Pascal source becomes the document; a broken source is told with line and column and
// changes nothing; what was imported is not yet saved anywhere.
TEST_F(MoreCommandsTest, PascalSourceIsImported) {
  StartWithProgram(1);
  const QString good = Path("gut.pas");
  const QString bad = Path("schlecht.pas");
  {
    QFile file(good);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("program P;\nvar x: integer;\nbegin\n  x := 1;\n  while x < 3 do\n"
               "    x := x + 1;\n  writeln(x)\nend.\n");
  }
  {
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("begin\n  x := 1\n  y := 2;\nend.\n");
  }
  const std::string before = Shape(&Program());
  services.FileAnswers = {bad};
  Action("PascalQuelltextimportieren1")->trigger();
  ASSERT_EQ(services.Messages.size(), 1u);
  EXPECT_EQ(services.Messages[0].text, QStringLiteral("Zeile 3, Spalte 3: ';' erwartet"));
  EXPECT_EQ(Shape(&Program()), before);
  services.Answers = {TAnswer::No};
  services.FileAnswers = {good};
  Action("PascalQuelltextimportieren1")->trigger();
  EXPECT_NE(Shape(&Program()).find("x := 1"), std::string::npos);
  EXPECT_NE(Shape(&Program()).find("x < 3"), std::string::npos);
  EXPECT_EQ(form->DiagramWindows().size(), 1);
  EXPECT_TRUE(form->IsModified());
}

}  // namespace

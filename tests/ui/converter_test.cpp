// SPDX-License-Identifier: MIT
// The command-line converter, run as the built program.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <random>
#include <string>
#include <utility>

#include <sys/resource.h>

namespace {

using namespace std::string_literals;

const std::string kExample = "B:gesamtes Programm\x01"
                             "A:Anweisung\x01I:???\x01"
                             "B:Ja-Block\x01"
                             "A:Anweisung\x01"
                             "\x02\x02\x02\x02"
                             "B:Nein-Block\x01\x02\x02\x02\x02\x02\x02"s;

const std::string kExamplePascal = "  Anweisung;\r\n"
                                   "  if ??? then\r\n"
                                   "  begin\r\n"
                                   "    Anweisung;\r\n"
                                   "  end;\r\n";

struct TRun {
  int exitCode;
  std::string err;
};

class Converter : public ::testing::Test {
protected:
  std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }

  void Write(const std::string& path, const std::string& bytes) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }

  static std::string Read(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
      return "(missing)";
    return file.readAll().toStdString();
  }

  TRun Run(const std::string& out, const std::string& in, const QStringList& more = {}) {
    QProcess process;
    // Without a runtime folder Qt prints a note of its own on stderr.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime_.path());
    process.setProcessEnvironment(env);
    process.start(STRUKT_EXECUTABLE, QStringList{"--export", QString::fromStdString(out),
                                                 QString::fromStdString(in)} +
                                         more);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardError().toStdString()};
  }

  QTemporaryDir dir_;
  QTemporaryDir runtime_;
};

TEST_F(Converter, WritesStructogramsAndPascalByExtension) {
  const std::string in = Path("in.str");
  Write(in, kExample);
  struct Row {
    const char* name;
    const std::string* expected;
  };
  const Row rows[] = {{"out.str", &kExample},
                      {"OUT.Str", &kExample},
                      {"out.pas", &kExamplePascal},
                      {"Out.PAS", &kExamplePascal}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const TRun run = Run(Path(row.name), in);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Read(Path(row.name)), *row.expected);
  }
}

TEST_F(Converter, ExportsLanguagesAndImportsPascalByExtension) {
  const std::string program = "B:gesamtes Programm\x01"
                              "A:x := 1\x01"
                              "A:writeln(x)\x01\x02\x02"s;
  const std::string in = Path("in.str");
  Write(in, program);
  const std::string source = Path("quelle.pas");
  Write(source, "program P;\nvar x: integer;\nbegin\n  x := 1;\n  writeln(x)\nend.\n");
  struct Row {
    std::string in;
    const char* out;
    std::string expected;
  };
  const Row rows[] = {
      {in, "out.py", "x = 0\r\n\r\nx = 1\r\nprint(x)\r\n"},
      {in, "Out.java", "public class Out {\r\n    public static void main(String[] args) {\r\n"},
      {in, "out.C", "#include <stdio.h>\r\n\r\nint main(void) {\r\n    int x = 0;\r\n"},
      {source, "out.str", program},
      {source, "nach.py", "x = 0\r\n\r\nx = 1\r\nprint(x)\r\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.out);
    const TRun run = Run(Path(row.out), row.in);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Read(Path(row.out)).substr(0, row.expected.size()), row.expected);
  }
}

// A source that is not Pascal loads nothing: one line with the place, no output file.
TEST_F(Converter, PascalErrorsNameTheirPlace) {
  const std::string source = Path("kaputt.pas");
  Write(source, "begin\n  x := 1\n  y := 2\nend.\n");
  const TRun run = Run(Path("out.str"), source);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Zeile 3, Spalte 3: ';' erwartet\n");
  EXPECT_EQ(Read(Path("out.str")), "(missing)");
}

TEST_F(Converter, FailuresPrintOneLineWithTheSystemsText) {
  const std::string truncated = Path("cut.str");
  Write(truncated, kExample.substr(0, 27)); // inside the first statement's text
  const std::string good = Path("good.str");
  Write(good, kExample);
  struct Row {
    const char* name;
    std::string out, in;
    int exitCode;
    std::string err;
  };
  const Row rows[] = {
      {"missing input", Path("a.str"), Path("fehlt.str"), 1,
       "Datei " + Path("fehlt.str") + " kann nicht geöffnet werden\n"},
      {"truncated input", Path("b.pas"), truncated, 1, "Stream-Lesefehler\n"},
      {"output in a missing folder", Path("nicht/da.str"), good, 1,
       "Datei " + Path("nicht/da.str") + " kann nicht erstellt werden\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const TRun run = Run(row.out, row.in);
    EXPECT_EQ(run.exitCode, row.exitCode);
    EXPECT_EQ(run.err, row.err);
    EXPECT_EQ(Read(row.out), "(missing)");
  }
}

TEST_F(Converter, UnknownExtensionIsAUsageError) {
  const std::string in = Path("in.str");
  Write(in, kExample);
  for (const char* name : {"out.txt", "out", "ordner.str/ohne", "out.cpp"}) {
    SCOPED_TRACE(name);
    const TRun run = Run(Path(name), in);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err.rfind("Aufruf: struktogramme --export", 0), 0u) << run.err;
    EXPECT_EQ(Read(Path(name)), "(missing)");
  }
}

TEST_F(Converter, DamagedFilesAreConvertedWithAWarning) {
  struct Row {
    const char* name;
    std::string bytes;
    std::string saved;
    const char* warning; // after "Warnung: Die Datei <name> "
  };
  const Row rows[] = {
      {"last chain ends missing", kExample.substr(0, 80), kExample,
       "ist beschädigt und wurde nur teilweise gelesen.\n"},
      {"clean end mark after the program", kExample + "\x02\x02"s, kExample, nullptr},
      {"records after the program", kExample + "A:x\x01"s, kExample + "A:x\x01"s,
       "enthält Daten hinter dem Programm; sie werden mitgeschrieben, aber nicht gezeigt.\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string in = Path("kaputt.str");
    Write(in, row.bytes);
    const TRun run = Run(Path("out.str"), in);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, row.warning ? "Warnung: Die Datei " + in + " " + row.warning : "");
    EXPECT_EQ(Read(Path("out.str")), row.saved);
  }
}

// Loops whose body block is followed by the next loop nest one level each: the reader's limit
// must refuse the file instead of running out of stack.
TEST_F(Converter, DeeplyNestedFileIsRefusedNotCrashed) {
  std::string bytes = "B:gesamtes Programm\x01"s;
  for (int i = 0; i < 100000; ++i)
    bytes += "W:\x01xx\x01\x02\x02"s;
  const std::string in = Path("tief.str");
  Write(in, bytes);
  const TRun run = Run(Path("out.pas"), in);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Die Datei ist zu tief verschachtelt (mehr als 2000 Ebenen).\n");
  EXPECT_EQ(Read(Path("out.pas")), "(missing)");
}

// Big files that are no structograms are refused or read as the reading rules say, with one
// line of explanation, and without the memory growing far beyond the file.
TEST_F(Converter, LargeFilesThatAreNoStructogramsStayWithinMemory) {
  const size_t size = 50u << 20;
  std::string random(size, '\0');
  std::mt19937 rng(5);
  for (char& c : random) c = static_cast<char>(rng());
  std::string text;
  while (text.size() < size) text += "Eine Zeile Text ohne Steuerzeichen, wie ein Brief.\n";
  std::string image = "P6\n4096 4096\n255\n";
  while (image.size() < size) image += static_cast<char>(image.size() * 7 % 256);
  const std::pair<const char*, const std::string*> files[] = {
      {"zufall.str", &random}, {"text.str", &text}, {"bild.str", &image}};
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    Write(Path(name), *bytes);
    const TRun run = Run(Path("out.str"), Path(name));
    EXPECT_TRUE(run.exitCode == 0 || run.exitCode == 1) << run.exitCode;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), run.err.empty() ? 0 : 1)
        << run.err;
    if (run.exitCode == 1) {
      EXPECT_EQ(Read(Path("out.str")), "(missing)");
    }
    QFile::remove(QString::fromStdString(Path("out.str")));
  }
  rusage children{};
  getrusage(RUSAGE_CHILDREN, &children);
  EXPECT_LT(children.ru_maxrss, 600 * 1024) << "KiB";
}

TEST_F(Converter, PicturesAreHandedToThePictureExport) {
  const std::string in = Path("in.str");
  Write(in, kExample);
  const TRun run = Run(Path("bild.svg"), in);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(Read(Path("bild.svg")).find("<svg"), std::string::npos);
  // In the other notation: the diagram's title above, no start mark; texts the same.
  EXPECT_EQ(Run(Path("nsd.svg"), in, {"--notation", "nsd"}).exitCode, 0);
  const std::string nsd = Read(Path("nsd.svg"));
  EXPECT_NE(nsd.find(">gesamtes Programm<"), std::string::npos);
  EXPECT_NE(nsd.find(">Anweisung<"), std::string::npos);
  EXPECT_EQ(nsd.find("<ellipse"), std::string::npos);
  EXPECT_NE(Read(Path("bild.svg")).find("<ellipse"), std::string::npos);
  for (const char* format : {"nsd.png", "nsd.pdf"})
    EXPECT_EQ(Run(Path(format), in, {"--notation", "nsd"}).exitCode, 0) << format;
  EXPECT_EQ(Run(Path("x.svg"), in, {"--notation", "quer"}).exitCode, 2);
}

// A user's shell without any display: neither the help text nor a conversion may need one.
TEST_F(Converter, HelpAndConversionNeedNoDisplay) {
  const std::string in = Path("in.str");
  Write(in, kExample);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"})
    env.remove(name);
  struct Row {
    QStringList args;
    const char* expectedOut;
    int status = 0;
    const char* expectedErr = "";
  };
  const Row rows[] = {
      {{"--help"}, "--export"},
      {{"--export", QString::fromStdString(Path("x.pas")), QString::fromStdString(in)}, ""},
      {{"--export", QString::fromStdString(Path("x.png")), QString::fromStdString(in)}, ""},
      // A wrong call is told as such, also where the editor would have needed a display.
      {{"--unbekannt"}, "", 2, "Unbekannte Option 'unbekannt'.\n"},
      {{"--export", QString::fromStdString(Path("y.pas")), QString::fromStdString(in), "--falsch"},
       "", 2, "Unbekannte Option 'falsch'.\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.args.join(' ').toStdString());
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(STRUKT_EXECUTABLE, row.args);
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), row.status);
    EXPECT_EQ(process.readAllStandardError().toStdString(), row.expectedErr);
    EXPECT_NE(process.readAllStandardOutput().toStdString().find(row.expectedOut),
              std::string::npos);
  }
  EXPECT_EQ(Read(Path("x.pas")), kExamplePascal);
  EXPECT_NE(Read(Path("x.png")), "(missing)");
}

} // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

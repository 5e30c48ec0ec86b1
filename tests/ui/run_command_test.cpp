// SPDX-License-Identifier: MIT
// `struktogramme --run`, run as the built program.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <string>

namespace {

struct TOutcome {
  int Status;
  std::string Out;
  std::string Err;
};

class RunCommand : public ::testing::Test {
protected:
  std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }

  void Write(const char* name, const std::string& bytes) {
    QFile file(QString::fromStdString(Path(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }

  std::string Read(const char* name) const {
    QFile file(QString::fromStdString(Path(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "(fehlt)";
  }

  TOutcome Run(const QStringList& arguments, const std::string& input = std::string()) {
    QProcess process;
    process.setWorkingDirectory(dir_.path());
    process.start(STRUKT_EXECUTABLE, arguments);
    process.write(input.data(), static_cast<qint64>(input.size()));
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
  }

  QTemporaryDir dir_;
};

TEST_F(RunCommand, RunsPascalAndStructogramsWithTheirExitStatus) {
  struct Row {
    const char* source;
    const char* input;
    const char* out;
    const char* err;
    int status;
  };
  const Row rows[] = {
      {"begin\n readln(n);\n for i := 1 to n do write(i * i, ' ');\n writeln\nend.\n", "4\n",
       "1 4 9 16 \n", "", 0},
      {"x := 0;\nwriteln('vor');\ny := 5 div x\n", "", "vor\n",
       "Laufzeitfehler in »y := 5 div x«: Division durch 0\n", 1},
      {"writeln('a');\nhalt(4)\n", "", "a\n", "", 4},
      {"Tausche(x, y)\n", "", "",
       "Nicht ausführbar: »Tausche(x, y)«: die Prozedur »Tausche« ist unbekannt\n", 1},
      {"readln(x)\n", "drei\n", "",
       "Laufzeitfehler in »readln(x)«: in der Eingabe steht »drei«, keine ganze Zahl\n", 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.source);
    Write("p.pas", row.source);
    const TOutcome pas = Run({"--run", "p.pas"}, row.input);
    EXPECT_EQ(pas.Out, row.out);
    EXPECT_EQ(pas.Err, row.err);
    EXPECT_EQ(pas.Status, row.status);
    // The same program as a structogram runs the same.
    ASSERT_EQ(Run({"--export", "p.str", "p.pas"}).Status, 0);
    const TOutcome str = Run({"--run=p.str"}, row.input);
    EXPECT_EQ(str.Out, pas.Out);
    EXPECT_EQ(str.Status, pas.Status);
  }
}

TEST_F(RunCommand, MaxStepsTraceAndSeed) {
  Write("loop.pas", "while true do x := (x + 1) mod 10\n");
  const TOutcome stopped = Run({"--run", "loop.pas", "--max-steps", "1000"});
  EXPECT_EQ(stopped.Status, 3);
  EXPECT_EQ(stopped.Err, "Der Lauf wurde nach 1000 Schritten abgebrochen (--max-steps).\n");

  Write("t.pas", "s := 'a;b';\nfor i := 1 to 2 do n := n + i;\nwriteln(n)\n");
  const TOutcome traced = Run({"--run", "t.pas", "--trace", "t.csv"});
  EXPECT_EQ(traced.Status, 0);
  EXPECT_EQ(traced.Out, "3\n");
  EXPECT_EQ(Read("t.csv"), "Schritt;Element;s;i;n\r\n"
                           "1;\"s := 'a;b'\";\"a;b\";0;0\r\n"
                           "2;i := 1 bis 2;\"a;b\";1;0\r\n"
                           "3;n := n + i;\"a;b\";1;1\r\n"
                           "4;i := 1 bis 2;\"a;b\";2;1\r\n"
                           "5;n := n + i;\"a;b\";2;3\r\n"
                           "6;i := 1 bis 2;\"a;b\";2;3\r\n"
                           "7;writeln(n);\"a;b\";2;3\r\n");
  // A trace is written up to the step that stopped the run.
  EXPECT_EQ(Run({"--run", "loop.pas", "--max-steps", "3", "--trace", "l.csv"}).Status, 3);
  EXPECT_EQ(Read("l.csv"), "Schritt;Element;x\r\n1;true;0\r\n2;x := (x + 1) mod 10;1\r\n"
                           "3;true;1\r\n");

  Write("r.pas", "randomize;\nwriteln(random(1000), ' ', random(1000))\n");
  const TOutcome a = Run({"--run", "r.pas", "--seed", "7"});
  EXPECT_EQ(a.Status, 0);
  EXPECT_EQ(Run({"--run", "r.pas", "--seed", "7"}).Out, a.Out);

  for (const QStringList& wrong : {QStringList{"--run"}, QStringList{"--run", "t.pas", "--max-steps", "x"},
                                   QStringList{"--run", "t.pas", "--unbekannt"}})
    EXPECT_EQ(Run(wrong).Status, 2);
  EXPECT_EQ(Run({"--run", "fehlt.str"}).Status, 1);
}

TEST_F(RunCommand, CheckPrintsAFindingPerLine) {
  Write("c.str", std::string("B:gesamtes Programm\x01" "A:x = 5\x01" "B:Teil\x01" "A:writeln(y)\x01"
                             "\x02\x02\x02\x02"));
  const TOutcome found = Run({"--check", "c.str"});
  EXPECT_EQ(found.Status, 1);
  EXPECT_EQ(found.Out, "gesamtes Programm › »x = 5«: vergleicht nur. Meinten Sie »x := 5«?\n"
                       "gesamtes Programm › Teil › »writeln(y)«: »y« wird gelesen, bevor es einen "
                       "Wert bekommt\n");
  Write("ok.pas", "x := 1;\nwriteln(x)\n");
  const TOutcome clean = Run({"--check", "ok.pas"});
  EXPECT_EQ(clean.Status, 0);
  EXPECT_EQ(clean.Out, "");
  EXPECT_EQ(Run({"--check", "fehlt.str"}).Status, 2);
}

} // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

// SPDX-License-Identifier: MIT
#include "language/desk_check.h"
#include "language/machine.h"
#include "language/pascal_import.h"
#include "tests/language/external_tools.h"
#include "tests/language/program_generator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TStringOutput : public TOutputSink {
public:
  std::string Text;
  void Write(const char* data, std::size_t size) override { Text.append(data, size); }
  uint64_t Length() const override { return Text.size(); }
  void Truncate(uint64_t length) override { Text.resize(length); }
};

struct TOutcome {
  std::string Output;
  std::string Error; // the runtime or compile error, empty when none
  int ExitCode = 0;
};

TOutcome RunProgram(const TBlock& root, const std::string& input = std::string()) {
  TOutcome outcome;
  try {
    const auto program = CompileProgram(root);
    TStringOutput output;
    TStringInput in(input);
    TMachine machine(*program, output, in);
    machine.Run(UINT64_MAX);
    outcome.Output = output.Text;
    outcome.Error = machine.Error();
    outcome.ExitCode = machine.ExitCode();
  } catch (const TCompileError& e) {
    outcome.Error = e.what();
  }
  return outcome;
}

TOutcome RunPascal(const std::string& source, const std::string& input = std::string()) {
  return RunProgram(*ImportPascal(source), input);
}

// What fpc's build of the program prints for the input; empty when fpc is missing.
std::string FpcOutput(const TBlock& root, const std::string& input, int* status = nullptr) {
  if (!HasTool("fpc"))
    return std::string();
  TTempDir dir;
  WriteBytes(dir.File("p.pas"), CompletePascalProgram(root, "p"));
  std::string output;
  if (!RunTool(dir, "fpc -v0 p.pas", &output))
    return "fpc: " + output;
  WriteBytes(dir.File("stdin.txt"), input);
  const int code = std::system(("cd '" + dir.Path() + "' && timeout 60 ./p < stdin.txt > out.txt 2>/dev/null").c_str());
  if (status)
    *status = WEXITSTATUS(code);
  return ReadBytes(dir.File("out.txt"));
}

// Small programs at the edges of Pascal's meaning, each run here and, where fpc is at hand,
// compared with what the compiled program prints.
TEST(Interpreter, PrintsWhatFreePascalPrints) {
  struct Row {
    const char* source;
    const char* input;
    const char* expected;
  };
  const Row rows[] = {
      {"a := -7;\nwriteln(a div 2, ' ', a mod 2, ' ', 7 mod -3, ' ', -7 div -2)", "", "-3 -1 1 3\n"},
      {"a := 5;\nwriteln(a:4, '|', a:1, '|', -a:3, '|', true:6, '|', 'ab':4, '|', 'abc':2)", "",
       "   5|5| -5|  TRUE|  ab|abc\n"},
      {"r := 2.5;\nwriteln(round(r), round(-r), round(3.5), trunc(-2.7), trunc(r))", "", "2-24-22\n"},
      {"r := 1/3;\nwriteln(r);\nwriteln(r:0:4, ' ', r:10:2, ' ', r:8, ' ', -r:12:5)", "",
       " 3.3333333333333331E-001\n0.3333       0.33  3.3E-001     -0.33333\n"},
      {"s := 'Gr' + #246 + #223 + 'e';\nwriteln(length(s), ' ', s[3], ' ', ord(s[4]), pos('e', s), "
       "copy(s, 2, 3), '|', copy(s, 0, 2), '|', copy(s, 9, 1), '|')",
       "", "5 \xF6 2235r\xF6\xDF|Gr||\n"},
      {"a := 6;\nwriteln(a and 3, ' ', a or 1, ' ', a xor 5, ' ', not a, ' ', a shl 2, ' ', a shr 1)",
       "", "2 7 3 -7 24 3\n"},
      {"f := true;\ng := not f;\nwriteln(f and g, ' ', f or g, ' ', f xor g, ' ', ord(f), ' ', f > g)",
       "", "FALSE TRUE TRUE 1 TRUE\n"},
      {"for i := 3 to 1 do writeln('nie');\nwriteln(i);\nfor i := 1 to 3 do n := n + i;\nwriteln(i, ' ', n)",
       "", "0\n3 6\n"},
      {"n := 3;\nfor i := 1 to n do n := n + 1;\nwriteln(i, ' ', n)", "", "3 6\n"},
      {"for i := 1 to 10 do if i = 4 then break;\nwriteln(i)", "", "4\n"},
      {"while true do begin inc(k); if k > 4 then break end;\nrepeat dec(k, 2) until k < 0;\nwriteln(k)",
       "", "-1\n"},
      {"s := 'x';\nfor i := 1 to 300 do s := s + 'y';\nwriteln(length(s), ' ', s[255])", "", "255 y\n"},
      {"writeln(random(100), ' ', random(100), ' ', random(1000000000), ' ', random(-7), ' ', random(1))",
       "", "54 59 715189364 -6 0\n"},
      {"s := '';\nt := s;\nr := 0.5;\nreadln(a);\nreadln(s);\nread(r, b);\nreadln;\nreadln(t);\n"
       "writeln(a, '|', s, '|', r:0:2, '|', b, '|', t, '|')",
       "  12 Rest\nZeile zwei\n2.5 7 x\nletzte\n", "12|Zeile zwei|2.50|7|letzte|\n"},
      {"read(a);\nread(b);\nread(c);\nwriteln(a, ' ', b, ' ', c)", "$1F\t&17\r\n%101", "31 15 5\n"},
      {"s := '';\nt := '';\nreadln(s);\nreadln(t);\nwriteln('[', s, '][', t, ']')", "ab\rcd\r\n",
       "[ab][cd]\n"},
      {"read(a, b);\nwriteln(a + b)", "5", "5\n"},
      {"r := 1.5;\nread(r);\nwriteln(r)", "  ", " 0.0000000000000000E+000\n"},
      {"writeln('a');\nhalt(3);\nwriteln('b')", "", "a\n"},
      {"x := 1;\ny := x / 2 + 1.5;\nwriteln(y:0:1, ' ', sqrt(16):0:1, ' ', sqr(-3), ' ', abs(-2.5):0:1)",
       "", "2.0 4.0 9 2.5\n"},
      {"s := 'abc';\nif s < 'abd' then writeln(s = 'abc', ' ', s <> 'ab', ' ', 'b' > s)", "",
       "TRUE TRUE TRUE\n"},
      {"a := 2147483647;\nwriteln(a - 1 + 1, ' ', -a - 1)", "", "2147483647 -2147483648\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.source);
    const TOwned<TBlock> root = ImportPascal(row.source);
    const TOutcome got = RunProgram(*root, row.input);
    EXPECT_EQ(got.Error, "");
    EXPECT_EQ(got.Output, row.expected);
    if (HasTool("fpc")) {
      EXPECT_EQ(got.Output, FpcOutput(*root, row.input));
    }
  }
}

// Numbers for the generated programs that read.
std::string NumbersInput() {
  std::string input;
  for (int i = 0; i < 120; ++i)
    input += std::to_string(i * 7 % 23) + (i % 5 == 0 ? " " + std::to_string(i) : "") + "\n";
  return input;
}

TEST(Interpreter, GeneratedProgramsPrintWhatFpcPrints) {
  if (!HasTool("fpc"))
    GTEST_SKIP() << "fpc fehlt";
  for (int i = 0; i < kProgramCount; ++i) {
    SCOPED_TRACE("Programm " + std::to_string(i));
    const TOwned<TBlock> root = TProgramGenerator(500 + i, {true, i % 2 == 0}).Generate();
    const TOutcome got = RunProgram(*root, NumbersInput());
    EXPECT_EQ(got.Error, "");
    EXPECT_EQ(got.Output, FpcOutput(*root, NumbersInput())) << ExportProgram(*root);
  }
}

TEST(Interpreter, RuntimeErrorsNameTheElement) {
  struct Row {
    const char* source;
    const char* input;
    const char* error;
  };
  const Row rows[] = {
      {"x := 0;\nwriteln('vor');\ny := 5 div x", "",
       "Laufzeitfehler in »y := 5 div x«: Division durch 0"},
      {"x := 0;\ny := 5 mod x", "", "Laufzeitfehler in »y := 5 mod x«: Division durch 0"},
      {"r := 0;\nr := 1 / r", "", "Laufzeitfehler in »r := 1 / r«: Division durch 0"},
      {"x := 2147483647;\nx := x + 1", "",
       "Laufzeitfehler in »x := x + 1«: Überlauf (ganze Zahlen reichen von -2147483648 bis "
       "2147483647)"},
      {"x := 65536;\nwriteln(x * x)", "",
       "Laufzeitfehler in »writeln(x * x)«: Überlauf (ganze Zahlen reichen von -2147483648 bis "
       "2147483647)"},
      {"r := 1e200;\nr := r * r", "", "Laufzeitfehler in »r := r * r«: Überlauf (die Zahl wird zu groß)"},
      {"r := 1e10;\nx := trunc(r)", "",
       "Laufzeitfehler in »x := trunc(r)«: Überlauf (ganze Zahlen reichen von -2147483648 bis "
       "2147483647)"},
      {"s := 'ab';\nt := s[3]", "",
       "Laufzeitfehler in »t := s[3]«: Index 3 liegt außerhalb der Zeichenkette (Länge 2)"},
      {"r := -1;\nr := sqrt(r)", "", "Laufzeitfehler in »r := sqrt(r)«: Wurzel aus einer negativen Zahl"},
      {"r := 0;\nr := ln(r)", "",
       "Laufzeitfehler in »r := ln(r)«: Logarithmus einer Zahl, die nicht größer als 0 ist"},
      {"x := 300;\ns := chr(x)", "",
       "Laufzeitfehler in »s := chr(x)«: chr(300) ist kein Zeichen (erlaubt sind 0 bis 255)"},
      {"readln(x)", "abc\n", "Laufzeitfehler in »readln(x)«: in der Eingabe steht »abc«, keine ganze Zahl"},
      {"readln(x)", "3.5\n", "Laufzeitfehler in »readln(x)«: in der Eingabe steht »3.5«, keine ganze Zahl"},
      {"readln(x)", "99999999999\n",
       "Laufzeitfehler in »readln(x)«: die Zahl »99999999999« in der Eingabe ist zu groß"},
      {"r := 1.5;\nreadln(r)", "", "Laufzeitfehler in »readln(r)«: in der Eingabe steht keine Zahl mehr"},
      {"if x = 0 then writeln(1 div x)", "", "Laufzeitfehler in »writeln(1 div x)«: Division durch 0"},
      {"while 10 div x > 1 do x := 1", "", "Laufzeitfehler in »10 div x > 1«: Division durch 0"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.source);
    const TOutcome got = RunPascal(row.source, row.input);
    EXPECT_EQ(got.Error, row.error);
  }
  // What was written before the failure stays written.
  EXPECT_EQ(RunPascal("x := 0;\nwriteln('vor');\ny := 5 div x").Output, "vor\n");
  EXPECT_EQ(RunPascal("x := 0;\nwriteln('a', 1 div x)").Output, "a");
}

TEST(Interpreter, TextsThatCannotRunStopItBeforeItStarts) {
  struct Row {
    const char* source;
    const char* error;
  };
  const Row rows[] = {
      {"writeln('a');\nTausche(x, y)", "Nicht ausführbar: »Tausche(x, y)«: die Prozedur »Tausche« ist unbekannt"},
      {"x := 'a';\nx := 5", "Nicht ausführbar: »x := 5«: »x« ist eine Zeichenkette, »5« aber eine ganze Zahl"},
      {"if x + 1 then y := 1", "Nicht ausführbar: »x + 1«: die Bedingung ist eine ganze Zahl, kein Wahrheitswert"},
      {"x := 5; break", "Nicht ausführbar: »x := 5; break«: »break« steht außerhalb jeder Schleife"},
      {"s := 'a';\nx := s * 2", "Nicht ausführbar: »x := s * 2«: »*« gibt es nicht für die Typen Zeichenkette und ganze Zahl"},
      {"x := 3000000000", "Nicht ausführbar: »x := 3000000000«: die Zahl 3000000000 ist zu groß für eine ganze Zahl"},
      {"x := sqrt", "Nicht ausführbar: »x := sqrt«: »sqrt« braucht ein Argument in Klammern"},
      {"writeln(x:2:1)", "Nicht ausführbar: »writeln(x:2:1)«: Nachkommastellen gibt es nur bei Kommazahlen"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.source);
    const TOutcome got = RunPascal(row.source);
    EXPECT_EQ(got.Error, row.error);
    EXPECT_EQ(got.Output, "");
  }
  TOwned<TBlock> root = NewDocumentRoot();
  AppendToBody(*root, TAnweisung::CreateWithText("x := 1"));
  TElement* bad = AppendToBody(*root, TIf::CreateWithText("x >"));
  try {
    CompileProgram(*root);
    ADD_FAILURE() << "übersetzt";
  } catch (const TCompileError& e) {
    EXPECT_EQ(e.Element, bad);
  }
}

// The state a run shows: every variable, the output, where the input stands, what runs next.
std::string Snapshot(const TMachine& m, const TStringOutput& out) {
  std::string s = std::to_string(m.NextStep()) + "|" + std::to_string(m.RunState().InputPos) + "|" +
                  out.Text + "|";
  for (std::size_t i = 0; i < m.Program().Variables.size(); ++i)
    s += m.ValueText(i) + ";";
  return s;
}

TEST(Interpreter, SteppingBackRestoresExactly) {
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE("Programm " + std::to_string(i));
    TOwned<TBlock> root = TProgramGenerator(700 + i, {true, true}).Generate();
    AppendToBody(*root, TAnweisung::CreateWithText("zz := random(1000); writeln(zz)"));
    const auto program = CompileProgram(*root);
    TStringOutput out;
    TStringInput in(NumbersInput());
    TMachineOptions options;
    options.Record = true;
    TMachine m(*program, out, in, options);
    std::vector<std::string> states{Snapshot(m, out)};
    while (m.Run(1) == TMachine::TState::Ready || m.State() == TMachine::TState::Finished) {
      states.push_back(Snapshot(m, out));
      if (m.State() == TMachine::TState::Finished)
        break;
    }
    ASSERT_EQ(m.State(), TMachine::TState::Finished);
    ASSERT_EQ(m.Steps() + 1, states.size());
    const std::string table = DeskCheckTable(m);
    // Back M steps from the end and forward again, for several M.
    for (std::size_t back : {std::size_t{1}, std::size_t{7}, states.size() / 2, states.size() - 1}) {
      for (std::size_t k = 0; k < back; ++k)
        ASSERT_TRUE(m.StepBack());
      EXPECT_EQ(Snapshot(m, out), states[states.size() - 1 - back]);
      m.Run(back);
      EXPECT_EQ(Snapshot(m, out), states.back());
    }
    EXPECT_EQ(DeskCheckTable(m), table);
    while (m.StepBack()) {
    }
    EXPECT_EQ(Snapshot(m, out), states.front());
    EXPECT_EQ(m.Steps(), 0u);
  }
}

TEST(Interpreter, DeskCheckTableHasARowPerStep) {
  const TOwned<TBlock> root =
      ImportPascal("s := 'x;y';\nfor i := 1 to 2 do x := x + i;\nf := x > 2;\nr := x / 2");
  const auto program = CompileProgram(*root);
  TStringOutput out;
  TStringInput in("");
  TMachineOptions options;
  options.Record = true;
  TMachine m(*program, out, in, options);
  std::string streamed;
  TDeskCheckWriter writer(*program, [&](const std::string& row) { streamed += row; });
  m.SetObserver(&writer);
  m.Run(UINT64_MAX);
  EXPECT_EQ(streamed, "Schritt;Element;s;i;x;f;r\r\n"
                      "1;\"s := 'x;y'\";\"x;y\";0;0;FALSE;0\r\n"
                      "2;i := 1 bis 2;\"x;y\";1;0;FALSE;0\r\n"
                      "3;x := x + i;\"x;y\";1;1;FALSE;0\r\n"
                      "4;i := 1 bis 2;\"x;y\";2;1;FALSE;0\r\n"
                      "5;x := x + i;\"x;y\";2;3;FALSE;0\r\n"
                      "6;i := 1 bis 2;\"x;y\";2;3;FALSE;0\r\n"
                      "7;f := x > 2;\"x;y\";2;3;TRUE;0\r\n"
                      "8;r := x / 2;\"x;y\";2;3;TRUE;1.5\r\n");
  // The table kept for the panel is the same as the one written while running.
  EXPECT_EQ(DeskCheckTable(m), streamed);
  EXPECT_EQ(m.Steps(), 8u);
}

} // namespace

namespace {

TEST(Interpreter, TheHistoryGivesUpItsOldestStepsBeyondItsBudget) {
  const TOwned<TBlock> root = ImportPascal("while true do x := (x + 1) mod 1000");
  const auto program = CompileProgram(*root);
  TStringOutput out;
  TStringInput in("");
  TMachineOptions options;
  options.Record = true;
  options.HistoryBudget = 4u << 20;
  TMachine m(*program, out, in, options);
  m.Run(2000000);
  const TChangeLog& history = *m.History();
  EXPECT_GT(history.First(), 0u);
  EXPECT_LT(history.Bytes(), 2 * options.HistoryBudget);
  EXPECT_EQ(history.First() + history.Count(), m.Steps());
  // Back to the oldest step kept and no further, with the values a run that stops there has.
  const uint64_t kept = history.Count();
  uint64_t back = 0;
  while (m.StepBack())
    ++back;
  EXPECT_EQ(back, kept);
  EXPECT_EQ(m.Steps(), history.First());
  TStringInput again("");
  TMachine plain(*program, out, again);
  plain.Run(m.Steps());
  EXPECT_EQ(m.ValueText(0), plain.ValueText(0));
  EXPECT_EQ(m.NextStep(), plain.NextStep());
  EXPECT_EQ(DeskCheckTable(m), DeskCheckHeader(*program));
}

} // namespace

namespace {

// A loop around one statement runs its rounds in one go where nothing watches the steps; it
// must stop after exactly as many steps, in exactly the state, as a watched run.
TEST(Interpreter, PlainRunsStopWhereWatchedOnesDo) {
  const TOwned<TBlock> root = ImportPascal("for i := 1 to 10 do x := x + i;\nwriteln(x, i)");
  const auto program = CompileProgram(*root);
  for (uint64_t n = 1; n <= 23; ++n) {
    SCOPED_TRACE(n);
    TStringOutput a, b;
    TStringInput ia(""), ib("");
    TMachine plain(*program, a, ia);
    TMachineOptions watched;
    watched.Record = true;
    TMachine recorded(*program, b, ib, watched);
    plain.Run(n);
    recorded.Run(n);
    EXPECT_EQ(plain.Steps(), std::min<uint64_t>(n, 22));
    EXPECT_EQ(Snapshot(plain, a), Snapshot(recorded, b));
    EXPECT_EQ(plain.State(), recorded.State());
  }
}

} // namespace

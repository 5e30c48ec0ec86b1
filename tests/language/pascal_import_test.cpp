// SPDX-License-Identifier: MIT
#include "language/pascal_import.h"

#include "model/nesting.h"
#include "model/stream.h"
#include "model/structogram_file.h"
#include "tests/language/external_tools.h"
#include "tests/language/program_generator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string Lines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines)
    out += line + "\r\n";
  return out;
}

std::string Lower(std::string s) {
  for (char& c : s)
    c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return s;
}

std::string ImportOutcome(const std::string& source) {
  try {
    return ExportProgram(*ImportPascal(source));
  } catch (const TPascalSyntaxError& e) {
    return e.what();
  }
}

TEST(PascalImport, StatementsBecomeElements) {
  struct Row {
    const char* name;
    const char* source;
    std::vector<std::string> exported;
  };
  const Row rows[] = {
      {"bare statements, several on one line stay one element",
       "x := 1; y := 'a;b';\n  writeln(x)",
       {"  x := 1; y := 'a;b';", "  writeln(x);"}},
      {"a statement over lines loses its line breaks and comments",
       "writeln('a', // erstes\n   b { zweites })",
       {"  writeln('a', b);"}},
      {"decision without begin, else if",
       "if a > 0 then x := 1 else if a < 0 then x := 2",
       {"  if a > 0 then", "  begin", "    x := 1;", "  end", "  else", "  begin",
        "    if a < 0 then", "    begin", "      x := 2;", "    end;", "  end;"}},
      {"loops, mixed case, nested begin flattened",
       "WHILE i < 3 DO Begin begin i := i + 1 End; j := i END;\nRepeat i := i - 1 Until (i = 0);",
       {"  while i < 3 do", "  begin", "    i := i + 1;", "    j := i;", "  end;", "  repeat",
        "    i := i - 1;", "  until (i = 0);"}},
      {"counting loops: start values without blanks, down as a while loop",
       "for i := a + 1 to n * 2 do x;\nfor j := n div 2 to n do;\nfor k := 10 downto 1 do y(k)",
       {"  for i:=a+1 to n * 2 do", "  begin", "    x;", "  end;", "  j := n div 2;",
        "  for j:=j to n do", "  begin", "  end;", "  ", "  // for k := 10 downto 1", "  k := 10;",
        "  while k >= 1 do", "  begin", "    y(k);", "    dec(k);", "  end;",
        "  // Ende for k := 10 downto 1", ""}},
      {"case with lists, ranges and else",
       "case n + 1 of 1: a; 2, 4..5: begin b; c end; else d; e end",
       {"  if (n + 1) = 1 then", "  begin", "    a;", "  end", "  else", "  begin",
        "    if ((n + 1) = 2) or (((n + 1) >= 4) and ((n + 1) <= 5)) then", "    begin",
        "      b; c;", "    end", "    else", "    begin", "      d; e;", "    end;", "  end;"}},
      {"case labels that are comparisons are bracketed",
       "case b of 3 < 4: a; x = y..true: c end",
       {"  if b = (3 < 4) then", "  begin", "    a;", "  end", "  else", "  begin",
        "    if (b >= (x = y)) and (b <= true) then", "    begin", "      c;", "    end;",
        "  end;"}},
      {"named blocks from comments; one never closed was a plain comment",
       "// Teil A\na;\n// Notiz\nb;\n// Ende Teil A\n// offen\nc",
       {"  ", "  // Teil A", "  a;", "  b;", "  // Ende Teil A", "", "  c;"}},
      {"with, goto and labels are kept as statements",
       "with p do begin x := 1 end; 10: goto 10",
       {"  with p do begin x := 1 end;", "  10:;", "  goto 10;"}},
      {"a whole program: procedures as named blocks, declarations skipped",
       "program P; uses crt; const m = 3; type T = record a: integer; end;\n"
       "var x: T; p: procedure(i: integer);\n"
       "procedure Q(var a, b: integer; const c: string); forward;\n"
       "function F(n: integer): integer; var k: integer;\n"
       "  procedure Inner; begin k := 0 end;\n"
       "begin Inner; F := n end;\n"
       "procedure Q(var a, b: integer; const c: string); begin end;\n"
       "BEGIN {$R+} Q(x.a, x.a, 'end;') END.",
       {"  ", "  // function F(n: integer): integer", "  ", "  // procedure Inner", "  k := 0;",
        "  // Ende procedure Inner", "", "  Inner; F := n;",
        "  // Ende function F(n: integer): integer", "", "  ",
        "  // procedure Q(var a, b: integer; const c: string)",
        "  // Ende procedure Q(var a, b: integer; const c: string)", "", "  Q(x.a, x.a, 'end;');"}},
      {"a semicolon alone on its line is an empty statement, a stray one is nothing",
       ";\n  { Notiz } ;\n  x;;\n",
       {"  ;", "  { Notiz };", "  x;"}},
      {"the tail of a comment begun on an earlier line is no statement text",
       "{ Werte\n holen } ;\n", {"  ;"}},
      {"even where that tail reads as a comment of its own",
       "{ Werte\n // holen } ;\n", {"  ;"}},
      {"an empty program", "", {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ImportOutcome(row.source), Lines(row.exported));
  }
}

TEST(PascalImport, TreeIsLikeALoadedDocument) {
  const TOwned<TBlock> root =
      ImportPascal("// N\nrepeat if a then b until c;\n// Ende N\nwhile d do;");
  EXPECT_EQ(root->Text, "gesamtes Programm");
  TMemoryStream saved;
  SaveDocument(*root, saved);
  TMemoryStream load(saved.Data);
  EXPECT_EQ(DescribeTree(root.get()), DescribeTree(LoadDocument(load).Root.get()));
}

TEST(PascalImport, ErrorsNameLineAndColumn) {
  struct Row {
    const char* source;
    const char* message;
  };
  const Row rows[] = {
      {"begin\n  x := 1;\n  y := 2\n", "Zeile 4, Spalte 1: 'end' erwartet"},
      {"x := 1\ny := 2", "Zeile 2, Spalte 1: ';' erwartet"},
      {"x := 1 +", "Zeile 1, Spalte 9: Ausdruck erwartet"},
      {"if x then y else else", "Zeile 1, Spalte 18: ';' erwartet"},
      {"while x y", "Zeile 1, Spalte 9: 'do' erwartet"},
      {"for 1 := 2 to 3 do", "Zeile 1, Spalte 5: Bezeichner erwartet"},
      {"repeat x", "Zeile 1, Spalte 9: 'until' erwartet"},
      {"case x of 1 y end", "Zeile 1, Spalte 13: ':' erwartet"},
      {"x := (1 + 2", "Zeile 1, Spalte 12: ')' erwartet"},
      {"x := 'abc\n", "Zeile 1, Spalte 6: Zeichenkette nicht abgeschlossen"},
      {"x := 1 { ewig", "Zeile 1, Spalte 8: Kommentar nicht abgeschlossen"},
      {"program P; var x: integer; x := 1", "Zeile 1, Spalte 30: 'begin' erwartet"},
      {"program P; begin end", "Zeile 1, Spalte 21: '.' erwartet"},
      {"#include <stdio.h>\nint main() { return 0; }",
       "Zeile 1, Spalte 1: ungültiges Zeichen nach '#'"},
      {"print(\"Hallo\")", "Zeile 1, Spalte 7: unerwartetes Zeichen '\"'"},
      {"public class A {}", "Zeile 1, Spalte 8: ';' erwartet"},
      {"unit U; interface implementation end.", "Zeile 1, Spalte 1: Programm erwartet"},
      {"x := 1;\r\n  y := \x01", "Zeile 2, Spalte 8: unerlaubtes Zeichen"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.source);
    EXPECT_EQ(ImportOutcome(row.source), row.message);
  }
  try {
    ImportPascal("\n\n  begin");
    ADD_FAILURE();
  } catch (const TStreamError& e) { // the editor catches what loading throws
    EXPECT_EQ(dynamic_cast<const TPascalSyntaxError&>(e).Line, 3);
  }
  EXPECT_THROW(ImportPascalFile("/nicht/da.pas"), TStreamError);
}

// 100 000 levels in the source must end in the error, never in a stack overflow.
TEST(PascalImport, DeepNestingIsRefused) {
  auto repeated = [](const std::string& piece, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
      out += piece;
    return out;
  };
  const std::string tooDeep = "zu tief verschachtelt (mehr als 2000 Ebenen)";
  for (const std::string& source :
       {repeated("begin ", 100000), repeated("if a then ", 100000), repeated("while a do ", 100000),
        repeated("repeat ", 100000), "case x of " + repeated("1: a;", 2500) + " end"}) {
    const std::string outcome = ImportOutcome(source);
    EXPECT_NE(outcome.find(tooDeep), std::string::npos) << outcome.substr(0, 200);
  }
  EXPECT_EQ(ImportOutcome("x := " + repeated("(", 100000)),
            "Zeile 1, Spalte 506: Ausdruck zu tief verschachtelt");
  // As deep as a document may be: it loads, and it saves.
  const TOwned<TBlock> deepest = ImportPascal(repeated("if a then ", 1999) + "x");
  EXPECT_EQ(NestingDepth(*deepest), kMaxNestingDepth);
  TMemoryStream saved;
  EXPECT_NO_THROW(SaveDocument(*deepest, saved));
  // Long chains, long expressions and comments no "// Ende" answers are no nesting at all.
  EXPECT_EQ(ExportProgram(*ImportPascal(repeated("// Schritt\nx;\n", 5000))),
            repeated("  x;\r\n", 5000));
  const TOwned<TBlock> chain = ImportPascal(repeated("x := x + 1 + 1 + 1;\n", 100000));
  EXPECT_EQ(ExportProgram(*chain).size(), 100000 * std::string("  x := x + 1 + 1 + 1;\r\n").size());
}

TEST(PascalImport, SourceEncodings) {
  struct Row {
    const char* name;
    std::string source;
    std::string text;
  };
  const Row rows[] = {
      {"UTF-8",
       "writeln('Gr\xC3\xB6\xC3\x9F"
       "e \xE2\x82\xAC \xE2\x9C\x93')",
       "writeln('Gr\xF6\xDF"
       "e \x80 ?')"},
      {"UTF-8 with byte-order mark", "\xEF\xBB\xBFx := '\xC3\xA4'", "x := '\xE4'"},
      {"Windows-1252", "x := '\xE4\x80'", "x := '\xE4\x80'"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ImportPascal(row.source)->Body->Text, row.text);
  }
}

// Strips the ';' that ends a statement text: the export writes "x" and "x;" alike.
void WithoutEndingSemicolons(TElement* e) {
  for (; e; e = e->Next) {
    if (e->Kind() == TKind::Anweisung && !e->Text.empty() && e->Text.back() == ';')
      e->Text.pop_back();
    if (TBlock* block = As<TBlock>(e))
      WithoutEndingSemicolons(block->Body);
    if (TBedingung* cond = As<TBedingung>(e)) {
      WithoutEndingSemicolons(cond->Branch1);
      WithoutEndingSemicolons(cond->Branch2);
    }
  }
}

// Export, import, export gives the same text, and the import the same tree; a loop that
// repeats while yes comes back as the repeat-until loop with the negated condition it was
// exported as.
TEST(PascalImport, ExportedProgramsImportToTheSameTree) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE(seed);
    const TOwned<TBlock> original = TProgramGenerator(seed, {seed % 2 == 0, true}).Generate();
    const std::string exported = ExportProgram(*original);
    const TOwned<TBlock> imported = ImportPascal(exported);
    EXPECT_EQ(ExportProgram(*imported), exported);
    WithoutEndingSemicolons(original.get());
    std::string expected = DescribeTree(original.get());
    for (std::size_t at = 0; (at = expected.find("(5:", at)) != std::string::npos;) {
      const std::size_t end = expected.find(" i#1y{", at);
      expected.replace(at, end + 6 - at,
                       "(6:not (" + expected.substr(at + 3, end - at - 3) + ") i#1n{");
      expected.replace(expected.find("DoWhile-Block -fb", at), 17, "RepeatUntil-Block -f-");
    }
    EXPECT_EQ(DescribeTree(imported.get()), expected);
  }
}

// Each routine's body and the main body of a real program, replaced by their export after an
// import, still compile, and the program prints what it printed before. The test programs put
// each routine's heading on one line and its begin and end alone on lines at its indent.
TEST(PascalImport, HandWrittenProgramsCompileAgain) {
  if (!HasTool("fpc"))
    GTEST_SKIP() << "fpc fehlt";
  const std::string input = "1\n5 3\n4\n9 2\n8\n10 4\n0\n";
  int programs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(STRUKT_TEST_DATA)) {
    if (entry.path().extension() != ".pas")
      continue;
    ++programs;
    SCOPED_TRACE(entry.path().filename().string());
    const std::string original = ReadBytes(entry.path().string());
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < original.size();) {
      const std::size_t end = original.find('\n', at);
      lines.push_back(original.substr(at, end - at));
      at = end + 1;
    }
    const TOwned<TBlock> root = ImportPascal(original);
    // Replaces the lines between `begin` and `end` at indent after line `from` by the export
    // of the chain from e on, leaving out the named blocks of nested routines.
    auto replaceBody = [&](std::size_t from, const std::string& indent, const TElement* e,
                           const std::string& end) {
      while (e && e->Kind() == TKind::Block &&
             (e->Text.rfind("procedure ", 0) == 0 || e->Text.rfind("function ", 0) == 0))
        e = e->Next; // nested routines keep their own bodies
      std::size_t begin = from;
      while (begin < lines.size() && Lower(lines[begin]) != indent + "begin")
        ++begin;
      std::size_t stop = begin;
      while (stop < lines.size() && Lower(lines[stop]) != indent + end)
        ++stop;
      ASSERT_LT(stop, lines.size());
      std::string body;
      if (e)
        e->ExportSource(body, indent + "  ");
      lines.erase(lines.begin() + static_cast<long>(begin) + 1,
                  lines.begin() + static_cast<long>(stop));
      lines.insert(lines.begin() + static_cast<long>(begin) + 1, body);
    };
    auto isRoutine = [](const TElement* e) {
      return e && e->Kind() == TKind::Block &&
             (e->Text.rfind("procedure ", 0) == 0 || e->Text.rfind("function ", 0) == 0);
    };
    std::vector<const TElement*> routines;
    for (std::vector<const TElement*> chains{root->Body}; !chains.empty();) {
      const TElement* e = chains.back();
      chains.pop_back();
      for (; isRoutine(e); e = e->Next) {
        routines.push_back(e);
        chains.push_back(static_cast<const TBlock*>(e)->Body);
      }
    }
    for (const TElement* routine : routines) {
      std::size_t heading = 0;
      auto indentOf = [&](std::size_t i) { return lines[i].find_first_not_of(' '); };
      while (heading < lines.size() &&
             (indentOf(heading) == std::string::npos ||
              lines[heading].substr(indentOf(heading)) != routine->Text + ";"))
        ++heading;
      ASSERT_LT(heading, lines.size()) << routine->Text;
      replaceBody(heading, std::string(indentOf(heading), ' '),
                  static_cast<const TBlock*>(routine)->Body, "end;");
    }
    std::size_t main = lines.size();
    while (main > 0 && Lower(lines[main - 1]) != "begin")
      --main;
    ASSERT_GT(main, 0u);
    replaceBody(main - 1, "", root->Body, "end.");
    std::string rebuilt;
    for (const std::string& line : lines)
      rebuilt += line + "\n";

    EXPECT_NE(rebuilt, original);
    TTempDir dir;
    std::string before, after;
    WriteBytes(dir.File("vorher.pas"), original);
    WriteBytes(dir.File("nachher.pas"), rebuilt);
    ASSERT_TRUE(RunTool(dir, "fpc -v0 vorher.pas", &before)) << before;
    ASSERT_TRUE(RunTool(dir, "fpc -v0 nachher.pas", &after)) << after << rebuilt;
    ASSERT_TRUE(RunTool(dir, "./vorher", &before, input));
    ASSERT_TRUE(RunTool(dir, "./nachher", &after, input));
    EXPECT_EQ(after, before) << rebuilt;
  }
  EXPECT_GE(programs, 5);
}

} // namespace

namespace {

// "operator" declares an operator only where one and its parameters follow; else it is a name.
TEST(PascalImport, OperatorIsAlsoAName) {
  for (const char* source : {";operator", "operator := 5", "operator(x)", "operator"}) {
    SCOPED_TRACE(source);
    const std::string exported = ImportOutcome(source);
    EXPECT_EQ(ImportOutcome(exported), exported);
    EXPECT_EQ(exported.find("Zeile"), std::string::npos) << exported;
  }
  EXPECT_EQ(ImportOutcome("operator + (a, b: T): T; begin result := a end;\nbegin x := 1 end."),
            ImportOutcome("operator + (a, b: T): T; begin result := a end;\nbegin x := 1 end."));
  EXPECT_NE(ImportOutcome("operator + (a, b: T): T; begin result := a end;\nbegin x := 1 end.")
                .find("x := 1"),
            std::string::npos);
}

} // namespace

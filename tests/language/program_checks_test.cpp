// SPDX-License-Identifier: MIT
#include "language/pascal_import.h"
#include "language/program_checks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Pascal source, or after '@' a statement text that is no Pascal at all.
std::vector<std::string> Findings(const std::string& source, TCheckSet enabled = kAllChecks) {
  TOwned<TBlock> root;
  if (source[0] == '@') {
    root = ImportPascal("");
    root->Insert(TAnweisung::CreateWithText(source.substr(1)).release());
  } else {
    root = ImportPascal(source);
  }
  std::vector<std::string> out;
  for (const TFinding& f : CheckProgram(*root, enabled))
    out.push_back(f.Message);
  return out;
}

using Lines = std::vector<std::string>;

TEST(ProgramChecks, FindThePlantedFaults) {
  struct Row {
    const char* source;
    Lines found;
  };
  const Row rows[] = {
      // Clean programs give nothing.
      {"x := 1;\nwhile x < 10 do x := x + 1;\nwriteln(x)", {}},
      {"readln(n);\ns := 0;\nfor i := 1 to n do s := s + i;\nif s > 0 then writeln(s) else writeln(0)", {}},
      {"repeat readln(x) until x > 0", {}},
      {"while true do begin readln(x); if x = 0 then break end", {}},
      // Strings that are only read are known by what is done with them.
      {"readln(s);\nfor i := length(s) downto 1 do write(s[i]);\nwriteln(copy(s, 1, 2) + '!')", {}},
      {"readln(a);\nwriteln(a + '!', pos('l', a))", {}},
      {"for i := 1 to 3 do writeln(i);\nwriteln(i)", {}},
      // 1: read on some path before any assignment
      {"writeln(y)", {"»writeln(y)«: »y« wird gelesen, bevor es einen Wert bekommt"}},
      {"if a > 0 then b := 1;\nwriteln(b)",
       {"»a > 0«: »a« wird gelesen, bevor es einen Wert bekommt",
        "»writeln(b)«: »b« wird gelesen, bevor es einen Wert bekommt"}},
      {"x := 0;\nfor i := 1 to x do y := i;\nwriteln(y)",
       {"»writeln(y)«: »y« wird gelesen, bevor es einen Wert bekommt"}},
      // 2: a comparison alone
      {"@x = 5", {"»x = 5«: vergleicht nur. Meinten Sie »x := 5«?"}},
      // 3: a loop whose body cannot change its condition, a constant one without a way out
      {"x := 1;\ny := 0;\nwhile x < 10 do y := y + 1",
       {"»x < 10«: keine Variable der Bedingung ändert sich in der Schleife: vielleicht eine "
        "Endlosschleife"}},
      {"x := 0;\nwhile true do x := x + 1",
       {"»true«: die Bedingung bleibt immer gleich, und nichts verlässt die Schleife: eine "
        "Endlosschleife"}},
      {"x := 0;\nrepeat x := x + 1 until false",
       {"»false«: die Bedingung bleibt immer gleich, und nichts verlässt die Schleife: eine "
        "Endlosschleife"}},
      // 4: a counting loop's variable changed in its loop
      {"for i := 1 to 10 do i := i + 1",
       {"»i := i + 1«: die Zählvariable »i« wird in ihrer eigenen Schleife verändert"}},
      // 5: a condition that is no boolean
      {"x := 1;\nif x + 1 then writeln(x)",
       {"»x + 1«: die Bedingung ist eine ganze Zahl, kein Wahrheitswert"}},
      // 6: what cannot run, and a type conflict
      {"Tausche(x, y)", {"»Tausche(x, y)«: die Prozedur »Tausche« ist unbekannt"}},
      {"x := 'a';\nx := 5", {"»x := 5«: »x« ist eine Zeichenkette, »5« aber eine ganze Zahl"}},
      // 7: empty branches and bodies
      {"x := 1;\nif x > 0 then begin end", {"»x > 0«: beide Zweige der Entscheidung sind leer"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.source);
    EXPECT_EQ(Findings(row.source), row.found);
  }
  // A check switched off finds nothing.
  EXPECT_EQ(Findings("writeln(y)", kAllChecks & ~(1u << static_cast<int>(TCheck::Unassigned))),
            Lines{});
}

} // namespace

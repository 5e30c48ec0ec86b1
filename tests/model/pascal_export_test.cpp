// SPDX-License-Identifier: MIT
#include "model/structogram_file.h"
#include "tests/model/tree_dump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Lines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines)
    out += line + "\r\n";
  return out;
}

template <class T> T* In(TBlock* block, TOwned<T> e) {
  return AppendToBody(*block, std::move(e));
}
TAnweisung* Statement(TBlock* block, const char* text) {
  return In(block, TAnweisung::CreateWithText(text));
}

TEST(PascalExport, WorkedExampleWithADoWhileLoop) {
  TOwned<TBlock> root = NewDocumentRoot();
  Statement(root.get(), "x := 0");
  TIf* d = In(root.get(), TIf::CreateWithText("x < 10"));
  Statement(d->Branch1, "y := x");
  Statement(d->Branch2, "y := 0");
  Statement(In(root.get(), TWhile::CreateWithText("x < 10"))->Branch1, "x := x + 1");
  In(root.get(), TFor::CreateWithText("i := 1 bis 10"));
  Statement(In(root.get(), TRepeat::CreateWithText("x = 0"))->Branch1, "x := x - 1");
  TDoWhile* dw = In(root.get(), TDoWhile::CreateWithText("z > 0"));
  Statement(dw->Branch1, "z := z - 1");
  Statement(In(root.get(), TBlock::CreateWithText("Ausgabe")), "writeln(x)");

  EXPECT_EQ(ExportProgram(*root), Lines({
                                      "  x := 0;",
                                      "  if x < 10 then",
                                      "  begin",
                                      "    y := x;",
                                      "  end",
                                      "  else",
                                      "  begin",
                                      "    y := 0;",
                                      "  end;",
                                      "  while x < 10 do",
                                      "  begin",
                                      "    x := x + 1;",
                                      "  end;",
                                      "  for i:=1 to 10 do",
                                      "  begin",
                                      "  end;",
                                      "  repeat",
                                      "    x := x - 1;",
                                      "  until x = 0;",
                                      "  repeat",
                                      "    z := z - 1;",
                                      "  until not (z > 0);",
                                      "  ",
                                      "  // Ausgabe",
                                      "  writeln(x);",
                                      "  // Ende Ausgabe",
                                      "",
                                  }));
}

TEST(PascalExport, StatementsAndLoopTexts) {
  struct Row {
    const char* name;
    TOwned<TElement> element;
    std::vector<std::string> lines;
  };
  auto own = [](auto e) { return TOwned<TElement>(e.release()); };
  Row rows[] = {
      {"semicolon not doubled", own(TAnweisung::CreateWithText("a;")), {"  a;"}},
      {"empty statement", own(TAnweisung::CreateWithText("")), {"  ;"}},
      {"line break copied", own(TAnweisung::CreateWithText("a\r\nb")), {"  a", "b;"}},
      {"for ???", own(TFor::CreateWithText("???")), {"  for ?:=? to ? do", "  begin", "  end;"}},
      {"for without spaces",
       own(TFor::CreateWithText("abc")),
       {"  for abc:= to  do", "  begin", "  end;"}},
      {"for with one space",
       own(TFor::CreateWithText("i := 5")),
       {"  for i:=5 to  do", "  begin", "  end;"}},
      {"for with long parts",
       own(TFor::CreateWithText("zahl := anfang bis n * 2")),
       {"  for zahl:=anfang to n * 2 do", "  begin", "  end;"}},
      {"empty do-while", own(TDoWhile::CreateWithText("c")), {"  repeat", "  until not (c);"}},
      {"empty repeat", own(TRepeat::CreateWithText("c")), {"  repeat", "  until c;"}},
      {"decision with both branches empty",
       own(TIf::CreateWithText("c")),
       {"  if c then", "  begin", "  end;"}},
  };
  for (Row& row : rows) {
    SCOPED_TRACE(row.name);
    TOwned<TBlock> root = NewDocumentRoot();
    root->Insert(row.element.release());
    EXPECT_EQ(ExportProgram(*root), Lines(row.lines));
  }
  EXPECT_EQ(ExportProgram(*NewDocumentRoot()), "");
}

TEST(PascalExport, NestingAndBranches) {
  TOwned<TBlock> root = NewDocumentRoot();
  TIf* d = In(root.get(), TIf::CreateWithText("a"));
  Statement(d->Branch2, "nein"); // empty yes-branch, filled no-branch
  TWhile* w = In(d->Branch2, TWhile::CreateWithText("b"));
  TBlock* named = In(w->Branch1, TBlock::CreateWithText("Teil"));
  TRepeat* r = In(named, TRepeat::CreateWithText("c"));
  In(r->Branch1, TIf::CreateWithText("d"));
  Statement(w->Branch1, "nach Teil;");
  TDoWhile* dw = In(root.get(), TDoWhile::CreateWithText("e"));
  Statement(In(dw->Branch1, TFor::CreateWithText("k := 0 bis 9"))->Branch1, "s");
  Statement(root.get(), "ende");

  EXPECT_EQ(ExportProgram(*root), Lines({
                                      "  if a then",
                                      "  begin",
                                      "  end",
                                      "  else",
                                      "  begin",
                                      "    nein;",
                                      "    while b do",
                                      "    begin",
                                      "      ",
                                      "      // Teil",
                                      "      repeat",
                                      "        if d then",
                                      "        begin",
                                      "        end;",
                                      "      until c;",
                                      "      // Ende Teil",
                                      "",
                                      "      nach Teil;",
                                      "    end;",
                                      "  end;",
                                      "  repeat",
                                      "    for k:=0 to 9 do",
                                      "    begin",
                                      "      s;",
                                      "    end;",
                                      "  until not (e);",
                                      "  ende;",
                                  }));
  // A caller's indent prefixes every line of the element's chain.
  std::string out;
  d->Branch2->Body->ExportSource(out, "\t");
  EXPECT_EQ(out.substr(0, 7), "\tnein;\r");
}

TEST(PascalExport, NothingIsCut) {
  TOwned<TBlock> root = NewDocumentRoot();
  const std::string longText(250, 'v');
  Statement(In(root.get(), TWhile::CreateWithText(longText.c_str()))->Branch1, longText.c_str());
  TElement* last = root->Body;
  for (int i = 0; i < 100000; ++i) {
    TElement* s = TAnweisung::CreateWithText("a").release();
    last->Next = s;
    last = s;
  }
  const std::string text = ExportProgram(*root);
  const std::string head =
      Lines({"  while " + longText + " do", "  begin", "    " + longText + ";", "  end;"});
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_EQ(text.size(), head.size() + 100000 * std::string("  a;\r\n").size());
}

} // namespace

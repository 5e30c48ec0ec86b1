// SPDX-License-Identifier: MIT
#include "model/text_search.h"

#include "tests/tree_building.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(TextSearch, FindsByCaseAndWord) {
  struct Row {
    const char* text;
    const char* pattern;
    std::size_t from;
    bool words, matchCase;
    std::size_t found;
  };
  const std::size_t none = std::string::npos;
  const Row rows[] = {
      {"summe := summe + i", "summe", 0, false, false, 0},
      {"summe := summe + i", "summe", 1, false, false, 9},
      {"Summe := 0", "summe", 0, false, true, none},
      {"Summe := 0", "SUMME", 0, false, false, 0},
      // Umlauts and accents fold as ASCII letters do (Windows-1252 bytes).
      {"\xC4pfel := 3", "\xE4pfel", 0, false, false, 0},
      {"\xC4pfel := 3", "\xE4pfel", 0, false, true, none},
      {"x := \x8A"
       "a",
       "\x9A"
       "a",
       0, false, false, 5},
      // Whole words: no letter, digit, '_' or umlaut beside it.
      {"i := i + 1", "i", 0, true, false, 0},
      {"writeln(i)", "i", 0, true, false, 8},
      {"index := 1", "i", 0, true, false, none},
      {"a_i := i2", "i", 0, true, false, none},
      {"m\xFC"
       "ller := 1",
       "m", 0, true, false, none},
      {"x", "", 0, false, false, none},
      {"ab", "abc", 0, false, false, none},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.text) + " / " + r.pattern);
    EXPECT_EQ(FindInText(r.text, r.pattern, r.from, {r.words, r.matchCase}), r.found);
  }
  std::string text = "x := x + xx";
  EXPECT_EQ(ReplaceInText(text, "x", "wert", {true, false}), 2);
  EXPECT_EQ(text, "wert := wert + xx");
  EXPECT_EQ(ReplaceInText(text, "e", "ee", {}), 2); // the replacement is not searched again
  EXPECT_EQ(text, "weert := weert + xx");
}

TEST(TextSearch, GoesThroughTheProgramInOrderAndWraps) {
  // a := 1; if a > 0 (ja: b := a); Teil A (writeln(a)); the branch blocks' titles are no texts.
  TOwned<TBlock> root = TBlock::CreateWithText("gesamtes Programm a");
  TElement* first = Append(*root, TAnweisung::CreateWithText("a := 1"));
  TIf* decision = Append(*root, TIf::CreateWithText("a > 0"));
  TElement* yes = Append(*decision->Branch1, TAnweisung::CreateWithText("b := a"));
  TBlock* part = Append(*root, TBlock::CreateWithText("Teil A"));
  TElement* inner = Append(*part, TAnweisung::CreateWithText("writeln(a)"));
  EXPECT_EQ(SearchableElements(*root), (std::vector<TElement*>{first, decision, yes, part, inner}));

  const TSearchOptions words{true, false};
  std::vector<std::pair<TElement*, std::size_t>> seen;
  TTextMatch m = FindNextInProgram(*root, "a", words, nullptr, 0);
  for (int i = 0; i < 6 && m.Element; ++i) {
    seen.emplace_back(m.Element, m.Offset);
    m = FindNextInProgram(*root, "a", words, m.Element, m.Offset + 1);
  }
  const std::vector<std::pair<TElement*, std::size_t>> expected = {
      {first, 0}, {decision, 0}, {yes, 5}, {part, 5}, {inner, 8}, {first, 0}};
  EXPECT_EQ(seen, expected);
  // From within an element: later in it first, earlier in it last.
  EXPECT_EQ(FindNextInProgram(*root, "1", {}, first, 0).Element, first);
  EXPECT_EQ(FindNextInProgram(*root, "0", {}, decision, 4).Element, decision);
  EXPECT_EQ(FindNextInProgram(*root, "fehlt", {}, first, 0).Element, nullptr);
}

} // namespace

// SPDX-License-Identifier: MIT
// Random programs with valid texts in every element kind and nesting, for the export and import
// tests; every loop ends after a few rounds and values stay small and non-negative where div and
// mod meet them.
#pragma once

#include "language/program_texts.h"
#include "model/structogram_file.h"
#include "tests/model/tree_dump.h"

#include <random>
#include <string>

struct TGeneratorOptions {
  bool DoWhile = true; // loops testing after that repeat while yes
  bool Read = false;   // readln/read statements (run with numbers on stdin)
};

class TProgramGenerator {
public:
  TProgramGenerator(unsigned seed, TGeneratorOptions options) : rng_(seed), options_(options) {}

  TOwned<TBlock> Generate() {
    TOwned<TBlock> root = NewDocumentRoot();
    // Values that fix the variables' types; texts are Windows-1252.
    Statement(*root, "s := 'Gr\xF6\xDF"
                     "e'; t := ''; r := 0.5; f := false");
    Fill(*root, 0, 6 + Pick(6));
    return root;
  }

private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  template <std::size_t N> const char* PickFrom(const char* const (&pool)[N]) {
    return pool[Pick(static_cast<int>(N))];
  }
  static void Statement(TBlock& block, const std::string& text) {
    AppendToBody(block, TAnweisung::CreateWithText(text));
  }

  void Fill(TBlock& block, int depth, int count) {
    static const char* const statements[] = {
        "a := a + 1",
        "b := (a * 2 + b) mod 50",
        "c := (a + b) div 3; writeln('c = ', c)",
        "c := c + a mod 5",
        "writeln('a = ', a, ', b = ', b)",
        "write(c:4, ' ')",
        "writeln",
        "inc(a)",
        "inc(b, 2)",
        "writeln(abs(a - b), ' ', sqr(a mod 7), ' ', -a)",
        "writeln(odd(a), ' ', a > b, ' ', succ(a), ' ', pred(b))",
        "f := not f",
        "f := (a mod 3 = 0) or f",
        "writeln(f:6, ' ', f)",
        "r := r + 0.25",
        "r := r * 1.5 + a / 4",
        "writeln(r:0:2, ' ', r:10:3, ' ', r:12)",
        "writeln(r)",
        "writeln(trunc(r), ' ', round(r), ' ', sqrt(a):0:4)",
        "s := '\xC4"
        "pfel'",
        "writeln(s, ' hat ', length(s), ' Zeichen')",
        "writeln('Text; mit begin und end')",
        "write(chr(65 + a mod 26))",
        "writeln(ord('A') + c, ' ', a and 6, ' ', a or 1, ' ', a shl 2, ' ', a xor 3)",
        "writeln(a div 3 * 3 + a mod 3 = a)",
        "c := c * 2 mod 1000;",
        "",
        "t := s + '!'; writeln(t)",
        "writeln(copy(s, a mod 4, 3), pos('e', s), copy(s, 2, 100), '|', copy(s, 9, 1), '|')",
    };
    static const char* const reads[] = {"readln(n)", "readln(t)", "read(n)",
                                        "writeln(n * 2, ' ', t)"};
    static const char* const conditions[] = {"a < 10",
                                             "a mod 2 = 0",
                                             "(a > b) and not f",
                                             "f",
                                             "not f",
                                             "s = 'Gr\xF6\xDF"
                                             "e'",
                                             "r >= 1.5",
                                             "odd(c)",
                                             "(b mod 3 = 1) or (c > 20)",
                                             "length(s) > 3",
                                             "a <> b"};
    static const char* const loopVariables[] = {"i", "j", "k", "m", "p"};
    for (int n = 0; n < count; ++n) {
      const int kind = depth >= 4 ? 0 : Pick(12);
      if (kind <= 4) {
        Statement(block, options_.Read && Pick(4) == 0 ? PickFrom(reads) : PickFrom(statements));
      } else if (kind <= 6) {
        TIf* decision = AppendToBody(block, TIf::CreateWithText(PickFrom(conditions)));
        Fill(*decision->Branch1, depth + 1, 1 + Pick(3));
        if (Pick(2))
          Fill(*decision->Branch2, depth + 1, Pick(3));
      } else if (kind == 7) {
        static const char* const bounds[] = {" := 1 bis 3", " := 0 bis a mod 3",
                                             " := 2 bis 1 + c mod 2"};
        const std::string text = std::string(loopVariables[depth]) + PickFrom(bounds);
        Fill(*AppendToBody(block, TFor::CreateWithText(text))->Branch1, depth + 1, 1 + Pick(3));
      } else if (kind == 8) {
        TBlock* named =
            AppendToBody(block, TBlock::CreateWithText("Teil " + std::to_string(++counter_)));
        Fill(*named, depth + 1, 1 + Pick(3));
      } else {
        // A loop with a counter of its own, counted up at the end of the body.
        const int loop = kind == 11 && !options_.DoWhile ? 9 : kind;
        const std::string v = std::string(loop == 9    ? "w"
                                          : loop == 10 ? "r"
                                                       : "z") +
                              std::to_string(++counter_);
        Statement(block, v + " := 0");
        TBlock* body;
        if (loop == 9)
          body = AppendToBody(block, TWhile::CreateWithText(v + " < 3"))->Branch1;
        else if (loop == 10)
          body = AppendToBody(block, TRepeat::CreateWithText(v + " >= 2"))->Branch1;
        else
          body = AppendToBody(block, TDoWhile::CreateWithText(v + " < 2"))->Branch1;
        Fill(*body, depth + 1, Pick(3));
        Statement(*body, v + " := " + v + " + 1");
      }
    }
  }

  std::mt19937 rng_;
  TGeneratorOptions options_;
  int counter_ = 0;
};

// The Pascal export as a complete Free Pascal program: every variable the texts use declared
// with the type the other languages give it (integers as 32-bit longint, as there).
inline std::string CompletePascalProgram(const TBlock& root, const std::string& name) {
  std::string out = "program " + name + ";\r\n";
  const TProgramTexts texts(root);
  if (!texts.Variables().empty())
    out += "var\r\n";
  for (const TVariable& v : texts.Variables())
    out += "  " + v.Name + ": " +
           (v.Type == TValueType::Real      ? "real"
            : v.Type == TValueType::Boolean ? "boolean"
            : v.Type == TValueType::String  ? "string"
                                            : "longint") +
           ";\r\n";
  return out + "begin\r\n" + ExportProgram(root) + "end.\r\n";
}

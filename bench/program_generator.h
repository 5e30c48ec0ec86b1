// SPDX-License-Identifier: MIT
// Programs as a class writes them, at any size, for the benchmarks: long chains of statements
// with decisions, loops of every kind and named blocks nested into them, up to ten deep.
#pragma once

#include "model/element.h"
#include "tests/tree_building.h"

#include <random>
#include <string>

namespace program_generator_detail {

class TGenerator {
public:
  explicit TGenerator(unsigned seed) : rng_(seed) {}

  // Fills block with elements until the budget is spent or the chain is long enough.
  void Fill(TBlock& block, int& budget, int depth, int length) {
    static const char* const texts[] = {"x := x + 1",     "readln(a)",
                                        "s := s + a * i", "writeln('Summe: ', s)",
                                        "i := i + 1",     "a := b"};
    static const char* const conditions[] = {"a < b", "i <= n", "x > 0", "weiter"};
    for (int i = 0; i < length && budget > 0; ++i) {
      --budget;
      const unsigned kind = depth > 0 ? rng_() % 20 : 0;
      const auto inner = [&] { return 1 + static_cast<int>(rng_() % 8); };
      if (kind < 13) {
        Append(block, TAnweisung::CreateWithText(texts[rng_() % 6]));
      } else if (kind < 15) {
        TIf* d = Append(block, TIf::CreateWithText(conditions[rng_() % 4]));
        Fill(*d->Branch1, budget, depth - 1, inner());
        Fill(*d->Branch2, budget, depth - 1, inner() / 2);
      } else if (kind < 19) {
        TBedingung* loop = nullptr;
        switch (kind) {
        case 15:
          loop = Append(block, TWhile::CreateWithText(conditions[rng_() % 4]));
          break;
        case 16:
          loop = Append(block, TFor::CreateWithText("i := 1 bis n"));
          break;
        case 17:
          loop = Append(block, TDoWhile::CreateWithText(conditions[rng_() % 4]));
          break;
        default:
          loop = Append(block, TRepeat::CreateWithText(conditions[rng_() % 4]));
          break;
        }
        Fill(*loop->Branch1, budget, depth - 1, inner());
      } else {
        TBlock* part = Append(block, TBlock::CreateWithText("Teil"));
        Fill(*part, budget, depth - 1, inner());
      }
    }
  }

private:
  std::mt19937 rng_;
};

} // namespace program_generator_detail

// An ordinary program of n elements (branch and body blocks of decisions and loops not
// counted): one long chain, the same for the same n and seed.
inline TOwned<TBlock> OrdinaryProgram(int n, unsigned seed = 1) {
  TOwned<TBlock> root = TBlock::CreateWithText("gesamtes Programm");
  root->Independent = false;
  root->Bracketed = false;
  program_generator_detail::TGenerator generator(seed);
  int budget = n;
  while (budget > 0)
    generator.Fill(*root, budget, 10, budget);
  return root;
}

// n statements in one chain, each with a text of its own, or all with the text given.
inline TOwned<TBlock> StatementChain(int n, const std::string& text = std::string()) {
  TOwned<TBlock> root = TBlock::CreateWithText("gesamtes Programm");
  root->Independent = false;
  root->Bracketed = false;
  TElement* last = nullptr;
  for (int i = 0; i < n; ++i) {
    TElement* e =
        TAnweisung::CreateWithText(text.empty() ? "x := x + " + std::to_string(i) : text).release();
    if (last)
      last->Next = e;
    else
      root->Body = e;
    last = e;
  }
  return root;
}

// SPDX-License-Identifier: MIT
// Programs as a user writes them, of any size, for benchmarks.
#pragma once

#include "model/element.h"
#include "tests/tree_building.h"

#include <functional>
#include <random>
#include <string>

// A program of n elements: one long chain, mostly statements, with decisions, loops of every
// kind and blocks whose bodies are short chains one level deeper, nesting up to 10 levels.
class TProgramGenerator {
public:
  static TOwned<TBlock> Make(int n) {
    TProgramGenerator g(static_cast<unsigned>(n));
    TOwned<TBlock> root = TBlock::CreateWithText("gesamtes Programm");
    root->Independent = false;
    g.budget_ = n;
    g.Chain(*root, n, 0);
    return root;
  }

private:
  explicit TProgramGenerator(unsigned seed) : rng_(seed) {}
  int Pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }

  void Chain(TBlock& block, int count, int depth) {
    static const char* statements[] = {"x := x + 1", "Wert lesen",   "s := s + a[i] * b[i]",
                                       "Ausgabe",    "Summe bilden", "i := 0"};
    static const char* conditions[] = {"a < b und c", "i < n", "x > 0", "fertig"};
    for (int i = 0; i < count && budget_ > 0; ++i) {
      --budget_;
      const int kind = depth >= 10 ? 0 : Pick(20);
      if (kind < 12) {
        Append(block, TAnweisung::CreateWithText(statements[Pick(6)]));
      } else if (kind < 15) {
        TIf* decision = Append(block, TIf::CreateWithText(conditions[Pick(4)]));
        Chain(*decision->Branch1, 1 + Pick(4), depth + 1);
        Chain(*decision->Branch2, Pick(4), depth + 1);
      } else if (kind < 19) {
        TBedingung* loop = nullptr;
        switch (kind) {
        case 15:
          loop = Append(block, TWhile::CreateWithText(conditions[Pick(4)]));
          break;
        case 16:
          loop = Append(block, TFor::CreateWithText("i := 1 bis n"));
          break;
        case 17:
          loop = Append(block, TDoWhile::CreateWithText(conditions[Pick(4)]));
          break;
        default:
          loop = Append(block, TRepeat::CreateWithText(conditions[Pick(4)]));
          break;
        }
        Chain(*loop->Branch1, 1 + Pick(5), depth + 1);
      } else {
        TBlock* part = Append(block, TBlock::CreateWithText("Teil"));
        Chain(*part, 1 + Pick(5), depth + 1);
      }
    }
  }

  std::mt19937 rng_;
  int budget_ = 0;
};

// An ordinary program of n elements, as the editor's benchmarks open and edit it.
inline TOwned<TBlock> OrdinaryProgram(int n) {
  TOwned<TBlock> root = TProgramGenerator::Make(n);
  root->Bracketed = false;
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
        TAnweisung::CreateWithText(text.empty() ? "x := x + " + std::to_string(i) : text)
            .release();
    if (last)
      last->Next = e;
    else
      root->Body = e;
    last = e;
  }
  return root;
}

// Appends to a chain through its last element, since chains in large programs are long.
struct TChainEnd {
  TBlock* Block;
  TElement* Last = nullptr;
  template <class T> T* Add(TOwned<T> owned) {
    T* e = owned.release();
    (Last ? Last->Next : Block->Body) = e;
    Last = e;
    return e;
  }
};

// A program of about n elements that runs: statements on x and y, decisions, counting loops of
// two rounds and named blocks, nesting a few levels deep. With distinct texts every statement
// adds a number of its own, else the texts repeat as a generated program's do.
inline TOwned<TBlock> RunnableProgram(int n, bool distinct) {
  TOwned<TBlock> root = TBlock::CreateWithText("gesamtes Programm");
  root->Independent = false;
  root->Bracketed = false;
  std::mt19937 rng(static_cast<unsigned>(n));
  int budget = n, counter = 0;
  auto number = [&] { return std::to_string(distinct ? ++counter : 7); };
  std::function<void(TBlock&, int, int)> fill = [&](TBlock& block, int count, int depth) {
    TChainEnd chain{&block};
    for (int i = 0; i < count && budget > 0; ++i) {
      --budget;
      const int kind = depth >= 4 ? 0 : static_cast<int>(rng() % 10);
      if (kind < 6) {
        chain.Add(TAnweisung::CreateWithText(kind % 2 ? "x := (x + " + number() + ") mod 1000"
                                                      : "y := (y * 3 + x + " + number() + ") mod 997"));
      } else if (kind < 8) {
        TIf* decision = chain.Add(TIf::CreateWithText("x mod " + number() + " < 3"));
        fill(*decision->Branch1, 1 + static_cast<int>(rng() % 3), depth + 1);
        fill(*decision->Branch2, static_cast<int>(rng() % 3), depth + 1);
      } else if (kind == 8) {
        const std::string v(1, static_cast<char>('i' + depth));
        fill(*chain.Add(TFor::CreateWithText(v + " := 1 bis 2"))->Branch1,
             1 + static_cast<int>(rng() % 3), depth + 1);
      } else {
        fill(*chain.Add(TBlock::CreateWithText("Teil")), 1 + static_cast<int>(rng() % 4), depth + 1);
      }
    }
  };
  fill(*root, n, 0);
  return root;
}

// SPDX-License-Identifier: MIT
// Building element trees for rendering tests.
#pragma once

#include "model/element.h"
#include "tests/tree_building.h"

#include <random>
#include <string>
#include <vector>

// Links e after the element and returns it.
template <class T> T* Follow(TElement& before, TOwned<T> owned) {
  T* e = owned.release();
  e->Next = before.Next;
  before.Next = e;
  return e;
}

// A document root: a block that is not Independent, as a loaded program's root is.
inline TOwned<TBlock> MakeRoot(const std::string& title = "gesamtes Programm") {
  TOwned<TBlock> root = TBlock::CreateWithText(title);
  root->Independent = false;
  return root;
}

// A random tree of about `count` elements with nesting up to `depth`, every kind present.
class TreeGenerator {
public:
  explicit TreeGenerator(unsigned seed) : rng_(seed) {}

  TOwned<TBlock> Make(int count, int depth) {
    TOwned<TBlock> root = MakeRoot();
    budget_ = count;
    Fill(*root, depth);
    while (budget_ > 0) Fill(*root, depth);
    return root;
  }

  // Every element of the tree in drawing order (pre-order), for picking targets.
  static void Collect(TElement* e, std::vector<TElement*>& out) {
    for (; e; e = e->Next) {
      out.push_back(e);
      if (auto* b = As<TBlock>(e)) Collect(b->Body, out);
      if (auto* c = As<TBedingung>(e)) {
        Collect(c->Branch1, out);
        if (c->BranchCount > 1) Collect(c->Branch2, out);
      }
    }
  }

private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  std::string Text() {
    static const char* words[] = {"x := x + 1", "i", "Wert lesen", "a < b und c", "Ende",
                                  "s := s + a[i] * b[i]", "?", "n > 0"};
    return words[Pick(8)];
  }

  void Fill(TBlock& block, int depth) {
    const int length = 1 + Pick(6);
    for (int i = 0; i < length && budget_ > 0; ++i) {
      --budget_;
      const int kind = depth <= 0 ? 0 : Pick(10);
      if (kind <= 3) {
        Append(block, TAnweisung::CreateWithText(Text()));
      } else if (kind == 4) {
        TBlock* b = Append(block, TBlock::CreateWithText("Teil " + Text()));
        if (Pick(4) != 0) Fill(*b, depth - 1);
      } else if (kind == 5) {
        TIf* c = Append(block, TIf::CreateWithText(Text()));
        if (Pick(3) != 0) Fill(*c->Branch1, depth - 1);
        if (Pick(3) != 0) Fill(*c->Branch2, depth - 1);
      } else {
        TBedingung* c = nullptr;
        switch (kind) {
          case 6: c = Append(block, TWhile::CreateWithText(Text())); break;
          case 7: c = Append(block, TFor::CreateWithText("i := 1 bis " + Text())); break;
          case 8: c = Append(block, TDoWhile::CreateWithText(Text())); break;
          default: c = Append(block, TRepeat::CreateWithText(Text())); break;
        }
        if (Pick(4) != 0) Fill(*c->Branch1, depth - 1);
      }
    }
  }

  std::mt19937 rng_;
  int budget_ = 0;
};

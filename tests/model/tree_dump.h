// SPDX-License-Identifier: MIT
// Helpers shared by the model tests: a readable dump of a tree and quick tree building.
#pragma once

#include "model/element.h"

#include <string>

// Kind, text and every flag of each element, bodies and branches in brackets.
inline void DescribeTree(const TElement* e, std::string& out) {
  for (; e; e = e->Next) {
    out += "(" + std::to_string(static_cast<int>(e->Kind())) + ":" + e->Text +
           (e->Independent ? " i" : " -");
    if (const TBlock* b = As<TBlock>(e)) {
      out += b->Framed ? "f" : "-";
      out += b->Bracketed ? "b" : "-";
      out += "[";
      DescribeTree(b->Body, out);
      out += "]";
    } else if (const TBedingung* c = As<TBedingung>(e)) {
      out += "#" + std::to_string(c->BranchCount);
      if (const TDoWhile* d = As<TDoWhile>(e))
        out += d->LoopOnYes ? "y" : "n";
      out += "{";
      DescribeTree(c->Branch1, out);
      out += "|";
      DescribeTree(c->Branch2, out);
      out += "}";
    }
    out += ")";
  }
}

inline std::string DescribeTree(const TElement* e) {
  std::string out;
  DescribeTree(e, out);
  return out;
}

inline TOwned<TBlock> NewDocumentRoot() {
  TOwned<TBlock> root = TBlock::CreateWithText("gesamtes Programm");
  root->Independent = false;
  root->Bracketed = false;
  return root;
}

// Appends e at the end of the block's body and returns it.
template <class T> T* AppendToBody(TBlock& block, TOwned<T> e) {
  T* raw = e.release();
  if (!block.Body) {
    block.Insert(raw);
  } else {
    TElement* last = block.Body;
    while (last->Next)
      last = last->Next;
    last->Next = raw; // not Insert: on a block that would go into its body
  }
  return raw;
}

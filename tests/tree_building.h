// SPDX-License-Identifier: MIT
// Building element trees by hand in tests and benchmarks.
#pragma once

#include "model/element.h"

// Appends e at the end of the block's body and returns it, now owned by the tree. Not Insert:
// on a block that puts the element at the head of the body.
template <class T> T* Append(TBlock& block, TOwned<T> owned) {
  T* e = owned.release();
  if (!block.Body) {
    block.Body = e;
  } else {
    TElement* last = block.Body;
    while (last->Next) last = last->Next;
    last->Next = e;
  }
  return e;
}

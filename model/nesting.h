// SPDX-License-Identifier: MIT
// How deeply blocks nest, counted as the file reader counts it, so that the editor never builds
// a tree that the reader would refuse.
#pragma once

#include "model/element.h"

#include <cstdint>

// A document nests at most this many blocks deep; deeper files are refused when read, and the
// editing commands refuse to build deeper trees.
constexpr int32_t kMaxNestingDepth = 2000;

// The deepest block level in x and everything it owns (not its successors) when x stands in a
// chain at level 1: 0 for a statement, 1 for an empty block or a loop with an empty body, one
// more for every block nested inside. A document's root block counts as level 1.
int32_t NestingDepth(const TElement& x);

// The level of the chain an element linked by Insert on target would join: the body of target
// when target is a block, else the chain target stands in. The root's body is level 2. -1 when
// target is not in the tree below root.
int32_t InsertionLevel(const TBlock& root, const TElement& target);

// The level of the chain that follows target (where an element linked as target's successor
// stands); -1 when target is not in the tree below root.
int32_t SuccessorLevel(const TBlock& root, const TElement& target);

// Whether an element nesting `depth` deep fits into a chain at `level`.
inline bool FitsNesting(int32_t level, int32_t depth) {
  return level >= 0 && (depth == 0 || level - 1 + depth <= kMaxNestingDepth);
}

// SPDX-License-Identifier: MIT
// The elements of a tree one after another, without recursion: for the checks, which name their
// findings by position, and for searching the texts.
#pragma once

#include "model/element.h"

#include <cstdint>
#include <vector>

// Every element of the tree, the root first, in the order the export writes them: an element,
// then what it owns, then its successors. enclosing, where given, receives for each element the
// position of the named block (or the root) it lies in; -1 for the root.
std::vector<const TElement*> ElementsInOrder(const TBlock& root,
                                             std::vector<int32_t>* enclosing = nullptr);

// SPDX-License-Identifier: MIT
// Finding and replacing in the texts of a program: statements, conditions, loop texts and the
// titles of named blocks, in the order the export writes them. Texts are Windows-1252 bytes.
#pragma once

#include "model/element.h"

#include <cstddef>
#include <string>
#include <vector>

struct TSearchOptions {
  bool WholeWords = false; // no letter, digit or '_' right before or after
  bool MatchCase = false;  // else letters match either case, umlauts and accents too
};

// Where the first occurrence of pattern in text at or after `from` starts; npos when none (also
// for an empty pattern).
std::size_t FindInText(const std::string& text, const std::string& pattern, std::size_t from,
                       const TSearchOptions& options);

// Replaces every occurrence, left to right and not overlapping; returns how many.
int ReplaceInText(std::string& text, const std::string& pattern, const std::string& replacement,
                  const TSearchOptions& options);

// The elements whose texts the user wrote, in the export's order: everything but the root and
// the branch blocks of decisions and loops.
std::vector<TElement*> SearchableElements(TBlock& root);

struct TTextMatch {
  TElement* Element = nullptr; // nullptr: nothing found
  std::size_t Offset = 0;
};

// The first occurrence at or after offset `fromOffset` of element `from` in the export's order,
// wrapping around to the program's start once (and so back into `from` before fromOffset);
// from the start where from is nullptr or no element of root.
TTextMatch FindNextInProgram(TBlock& root, const std::string& pattern,
                             const TSearchOptions& options, const TElement* from,
                             std::size_t fromOffset);

// SPDX-License-Identifier: MIT
// Loading and saving whole documents in the structogram file format.
#pragma once

#include "model/element.h"

#include <string>

// Nesting deeper than this many blocks fails a load instead of exhausting the stack.
constexpr int kMaxNestingDepth = 2000;

struct TLoadResult {
  TOwned<TBlock> Root;
  // The file ended inside an open chain, held an unknown tag letter, or had bytes after the
  // root's record: it loaded as far as it could be read, and the user should be told.
  bool Damaged = false;
};

// Skips the first two bytes, reads the root block and clears its Independent and Bracketed.
// Throws TStreamError ("Stream-Lesefehler", the nesting limit, ...) when no tree can be built.
TLoadResult LoadDocument(TStream& stream);
TLoadResult LoadDocumentFile(const std::string& path);

// Writes the root's record and with it the whole tree.
void SaveDocument(const TBlock& root, TStream& stream);
void SaveDocumentFile(const TBlock& root, const std::string& path);

// The Pascal source of the whole program (the root exported with an empty indent).
std::string ExportProgram(const TBlock& root);
void ExportProgramFile(const TBlock& root, const std::string& path);

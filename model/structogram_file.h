// SPDX-License-Identifier: MIT
// Loading and saving whole documents in the structogram file format.
#pragma once

#include "model/element.h"
#include "model/nesting.h"

#include <string>

struct TLoadResult {
  TOwned<TBlock> Root;
  // Reading ended a chain early (the file ended inside it, or an unknown tag letter ended it),
  // or bytes were left unread after the end: the file loaded only as far as it could be read.
  bool Damaged = false;
  // Records follow the root's record. They are read as the root's successors and saved with it,
  // but no window shows them.
  bool TrailingRecords = false;
};

// Skips the first two bytes, reads the root block and clears its Independent and Bracketed.
// Throws TStreamError ("Stream-Lesefehler", the nesting limit, ...) when no tree can be built.
TLoadResult LoadDocument(TStream& stream);
TLoadResult LoadDocumentFile(const std::string& path);

// Writes the root's record and with it the whole tree. A tree that would not read back the same
// (a text holding the byte 0x00 or 0x01, nesting deeper than the reader takes) is refused with
// a TStreamError; a file being saved is then left as it was.
void SaveDocument(const TBlock& root, TStream& stream);
void SaveDocumentFile(const TBlock& root, const std::string& path);

// The Pascal source of the whole program (the root exported with an empty indent).
std::string ExportProgram(const TBlock& root);
void ExportProgramFile(const TBlock& root, const std::string& path);

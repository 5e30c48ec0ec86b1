// SPDX-License-Identifier: MIT
#include "model/element_record.h"

#include "model/stream.h"
#include "model/structogram_file.h"

namespace {

// A document holding a copy of e alone.
TOwned<TBlock> DocumentOf(const TElement& e) {
  TOwned<TBlock> root = TBlock::CreateWithText("Zwischenablage");
  root->Independent = false;
  root->Bracketed = false;
  TOwned<TElement> copy = CreateCopy(e);
  DisposeTree(copy->Next);
  copy->Next = nullptr;
  copy->Independent = true;
  if (TBlock* block = As<TBlock>(copy.get())) block->Bracketed = true;
  root->Body = copy.release();
  return root;
}

}  // namespace

std::string ElementRecord(const TElement& e) {
  TMemoryStream out;
  SaveDocument(*DocumentOf(e), out);
  return out.Data;
}

TOwned<TElement> ElementFromRecord(const std::string& bytes) {
  TLoadResult loaded;
  try {
    TMemoryStream in(bytes);
    loaded = LoadDocument(in);
  } catch (const TStreamError&) {
    return nullptr;
  }
  if (loaded.Damaged || loaded.TrailingRecords || !loaded.Root->Body) return nullptr;
  TElement* element = loaded.Root->Body;
  loaded.Root->Body = element->Next;
  element->Next = nullptr;
  return TOwned<TElement>(element);
}

std::string ElementSource(const TElement& e) { return ExportProgram(*DocumentOf(e)); }

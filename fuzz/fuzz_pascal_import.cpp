// SPDX-License-Identifier: MIT
// Fuzz target: arbitrary bytes imported as Pascal source. Either the import fails with a message
// naming line and column, or it gives a document that keeps the tree's invariants, saves and
// loads back to the same bytes, and whose Pascal export imports again to the same export.
#include "language/language_export.h"
#include "language/pascal_import.h"
#include "model/stream.h"
#include "model/structogram_file.h"
#include "tests/tree_invariants.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void Fault(const std::string& what) {
  std::fprintf(stderr, "Fehler: %s\n", what.c_str());
  std::abort();
}

// A document imported from source, or nullptr with the message checked.
TOwned<TBlock> Import(const std::string& source) {
  try {
    return ImportPascal(source);
  } catch (const TPascalSyntaxError& error) {
    if (std::string(error.what()).rfind("Zeile ", 0) != 0)
      Fault(std::string("Meldung ohne Zeile und Spalte: ") + error.what());
    return nullptr;
  }
}

// Valid UTF-8 with at least one character beyond ASCII.
bool LooksLikeUtf8(const std::string& text) {
  bool beyondAscii = false;
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const int follow = c < 0x80 ? 0 : c >= 0xC2 && c <= 0xDF ? 1 : c >= 0xE0 && c <= 0xEF ? 2
                                   : c >= 0xF0 && c <= 0xF4 ? 3 : -1;
    if (follow < 0)
      return false;
    for (int k = 1; k <= follow; ++k)
      if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
        return false;
    beyondAscii = beyondAscii || follow > 0;
    i += static_cast<std::size_t>(follow) + 1;
  }
  return beyondAscii;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TOwned<TBlock> document = Import(std::string(reinterpret_cast<const char*>(data), size));
  if (!document)
    return 0;
  const std::string violation = TreeInvariantViolation({document.get()});
  if (!violation.empty())
    Fault("importierter Baum: " + violation);
  TMemoryStream saved;
  SaveDocument(*document, saved);
  TMemoryStream again(saved.Data);
  TMemoryStream resaved;
  SaveDocument(*LoadDocument(again).Root, resaved);
  if (resaved.Data != saved.Data)
    Fault("Speichern nach Laden ergibt andere Bytes");
  // What the exporter writes imports to a tree that exports alike (without do-while loops, whose
  // export comes back as a repeat loop of the same meaning). Windows-1252 texts that happen to
  // read as UTF-8 (such as "Ã¼") are taken for UTF-8 by the importer, as a hand-written file in
  // UTF-8 must be, so they are left out.
  const std::string pascal = ExportProgram(*document);
  if (pascal.find("until not (") == std::string::npos && !LooksLikeUtf8(pascal)) {
    const TOwned<TBlock> reimported = Import(pascal);
    if (!reimported)
      Fault("der eigene Export lässt sich nicht einlesen");
    if (ExportProgram(*reimported) != pascal)
      Fault("Export, Import und Export verschieden");
  }
  for (TSourceLanguage language : kSourceLanguages)
    ExportProgramAs(*document, language, "Programm");
  return 0;
}

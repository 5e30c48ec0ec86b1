// SPDX-License-Identifier: MIT
#include "ui/main/converter.h"

#include "model/texts.h"

#include "language/language_export.h"
#include "language/source_language.h"
#include "model/stream.h"
#include "model/structogram_file.h"
#include "render/picture_export.h"
#include "ui/main/program_files.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <exception>

namespace {

enum class TOutputKind { Structogram, Source, Picture, Unknown };

TOutputKind KindOf(const std::string& path) {
  const std::string ext = FileExtension(path);
  if (ext == "str")
    return TOutputKind::Structogram;
  if (LanguageForPath(path))
    return TOutputKind::Source;
  if (ext == "png" || ext == "svg" || ext == "pdf")
    return TOutputKind::Picture;
  return TOutputKind::Unknown;
}

} // namespace

int RunConverter(const std::string& output, const std::string& input, TNotation notation) {
  const TOutputKind kind = KindOf(output);
  if (kind == TOutputKind::Unknown) {
    std::fprintf(stderr, "%s\n",
                 Tr("Befehlszeile",
                    "Aufruf: struktogramme --export AUSGABE EINGABE (AUSGABE endet auf .str, "
                    ".pas, .py, .java, .c, .png, .svg oder .pdf; EINGABE ist ein Struktogramm "
                    "oder Pascal-Quelltext .pas)")
                     .c_str());
    return 2;
  }
  try {
    const TOwned<TBlock> root = ReadProgramFile(input);
    switch (kind) {
    case TOutputKind::Structogram:
      SaveDocumentFile(*root, output);
      break;
    case TOutputKind::Source:
      ExportProgramFileAs(*root, *LanguageForPath(output), output);
      break;
    default:
      TDisplayOptions shown;
      shown.Notation = notation;
      ExportPicture(*root, output, &shown);
      break;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}

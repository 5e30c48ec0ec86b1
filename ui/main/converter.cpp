// SPDX-License-Identifier: MIT
#include "ui/main/converter.h"

#include "language/language_export.h"
#include "language/pascal_import.h"
#include "language/source_language.h"
#include "model/stream.h"
#include "model/structogram_file.h"
#include "render/picture_export.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <exception>

namespace {

enum class TOutputKind { Structogram, Source, Picture, Unknown };

std::string ExtensionOf(const std::string& path) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return std::string();
  std::string ext = path.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

TOutputKind KindOf(const std::string& path) {
  const std::string ext = ExtensionOf(path);
  if (ext == "str")
    return TOutputKind::Structogram;
  if (LanguageForPath(path))
    return TOutputKind::Source;
  if (ext == "png" || ext == "svg" || ext == "pdf")
    return TOutputKind::Picture;
  return TOutputKind::Unknown;
}

} // namespace

TOwned<TBlock> ReadProgramFile(const std::string& input) {
  if (ExtensionOf(input) == "pas")
    return ImportPascalFile(input);
  TLoadResult loaded = LoadDocumentFile(input);
  if (loaded.Damaged)
    std::fprintf(stderr, "Warnung: Die Datei %s ist beschädigt und wurde nur teilweise gelesen.\n",
                 input.c_str());
  else if (loaded.TrailingRecords)
    std::fprintf(stderr,
                 "Warnung: Die Datei %s enthält Daten hinter dem Programm; sie werden "
                 "mitgeschrieben, aber nicht gezeigt.\n",
                 input.c_str());
  return std::move(loaded.Root);
}

int RunConverter(const std::string& output, const std::string& input) {
  const TOutputKind kind = KindOf(output);
  if (kind == TOutputKind::Unknown) {
    std::fprintf(stderr, "Aufruf: struktogramme --export AUSGABE EINGABE (AUSGABE endet auf .str, "
                         ".pas, .py, .java, .c, .png, .svg oder .pdf; EINGABE ist ein Struktogramm "
                         "oder Pascal-Quelltext .pas)\n");
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
      ExportPicture(*root, output);
      break;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}

// SPDX-License-Identifier: MIT
#include "ui/main/converter.h"

#include "model/stream.h"
#include "model/structogram_file.h"
#include "render/picture_export.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <exception>

namespace {

enum class TOutputKind { Structogram, Pascal, Picture, Unknown };

TOutputKind KindOf(const std::string& path) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return TOutputKind::Unknown;
  std::string ext = path.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext == "str")
    return TOutputKind::Structogram;
  if (ext == "pas")
    return TOutputKind::Pascal;
  if (ext == "png" || ext == "svg" || ext == "pdf")
    return TOutputKind::Picture;
  return TOutputKind::Unknown;
}

} // namespace

int RunConverter(const std::string& output, const std::string& input) {
  const TOutputKind kind = KindOf(output);
  if (kind == TOutputKind::Unknown) {
    std::fprintf(stderr, "Aufruf: struktogramme --export AUSGABE EINGABE.str "
                         "(AUSGABE endet auf .str, .pas, .png, .svg oder .pdf)\n");
    return 2;
  }
  try {
    TLoadResult loaded = LoadDocumentFile(input);
    if (loaded.Damaged)
      std::fprintf(stderr,
                   "Warnung: Die Datei %s ist beschädigt und wurde nur teilweise gelesen.\n",
                   input.c_str());
    else if (loaded.TrailingRecords)
      std::fprintf(stderr,
                   "Warnung: Die Datei %s enthält Daten hinter dem Programm; sie werden "
                   "mitgeschrieben, aber nicht gezeigt.\n",
                   input.c_str());
    switch (kind) {
    case TOutputKind::Structogram:
      SaveDocumentFile(*loaded.Root, output);
      break;
    case TOutputKind::Pascal:
      ExportProgramFile(*loaded.Root, output);
      break;
    default:
      ExportPicture(*loaded.Root, output);
      break;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}

// SPDX-License-Identifier: MIT
#include "ui/main/program_files.h"

#include "language/pascal_import.h"
#include "model/structogram_file.h"
#include "model/texts.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

std::string FileExtension(const std::string& path) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return std::string();
  std::string ext = path.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

TOwned<TBlock> ReadProgramFile(const std::string& input) {
  if (FileExtension(input) == "pas")
    return ImportPascalFile(input);
  TLoadResult loaded = LoadDocumentFile(input);
  if (loaded.Damaged)
    std::fprintf(stderr, "%s\n",
                 Format(Tr("Befehlszeile",
                           "Warnung: Die Datei %1 ist beschädigt und wurde nur teilweise gelesen."),
                        {input})
                     .c_str());
  else if (loaded.TrailingRecords)
    std::fprintf(stderr, "%s\n",
                 Format(Tr("Befehlszeile", "Warnung: Die Datei %1 enthält Daten hinter dem "
                                           "Programm; sie werden mitgeschrieben, aber nicht "
                                           "gezeigt."),
                        {input})
                     .c_str());
  return std::move(loaded.Root);
}


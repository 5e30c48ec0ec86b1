// SPDX-License-Identifier: MIT
// Exports a program as Pascal, Python 3, Java or C source. Texts are translated from the
// Pascal-like notation of the editor; a text that cannot be translated is written unchanged and
// marked "nicht übersetzt".
#pragma once

#include "model/element.h"
#include "language/source_language.h"

#include <string>

// The whole program as a source file of the language, lines ending in CR LF. Pascal gives
// exactly ExportProgram. For Java, programName names the class (made a valid identifier; the
// class is public only when the name needed no change, so that javac accepts the file under
// that name); the other languages ignore it.
std::string ExportProgramAs(const TBlock& root, TSourceLanguage language,
                            const std::string& programName);

// Writes the export to path, replacing the file only when the whole text is written; the
// program name is the file's base name.
void ExportProgramFileAs(const TBlock& root, TSourceLanguage language, const std::string& path);

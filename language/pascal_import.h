// SPDX-License-Identifier: MIT
// Builds a diagram from Pascal source: the statements of the program body, each procedure and
// function as a named block, `// Name` ... `// Ende Name` comments as named blocks.
#pragma once

#include "model/element.h"
#include "language/pascal_lexer.h"

#include <string>

// A document root (Independent and Bracketed false, titled "gesamtes Programm") from a whole
// program (heading, declarations, routines, begin ... end.) or from a bare statement list as
// the Pascal export writes it. Decisions, loops and named blocks are built from the structured
// statements, `case` as nested decisions, `for ... downto` as a while loop in a named block;
// every other statement becomes a statement element with its text. UTF-8 source is converted
// to Windows-1252 (characters the code page lacks become '?'), anything else is read as
// Windows-1252. Throws TPascalSyntaxError ("Zeile L, Spalte C: ...") for source that is not
// Pascal and for nesting deeper than a document holds.
TOwned<TBlock> ImportPascal(const std::string& source);

// Reads the file and imports it; an unreadable file fails as loading one does.
TOwned<TBlock> ImportPascalFile(const std::string& path);

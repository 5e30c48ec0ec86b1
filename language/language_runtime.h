// SPDX-License-Identifier: MIT
// The helper code an exported Python, Java or C program carries so that it reads and writes
// exactly as the Pascal program does.
#pragma once

#include "language/source_language.h"
#include "language/text_translation.h"

#include <string>

// Whether the code reads input (Java's main then declares IOException).
bool ReadsInput(const TRuntimeNeeds& needs);
// Imports or includes, one per line ("\n"-separated), for what the translated code needs.
std::string RuntimeImports(TSourceLanguage language, const TRuntimeNeeds& needs,
                           bool booleanVariables);
// Helper definitions ("\n"-separated, indented for their place), empty when none is needed.
std::string RuntimeHelpers(TSourceLanguage language, const TRuntimeNeeds& needs);
// Statements that open main (Python: the top of the program) to set up byte-exact input and
// output; empty when none is needed.
std::string RuntimeSetup(TSourceLanguage language, const TRuntimeNeeds& needs);

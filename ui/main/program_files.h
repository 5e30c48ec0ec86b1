// SPDX-License-Identifier: MIT
// Program files as the command line reads them: structograms and Pascal source.
#pragma once

#include "model/element.h"

#include <string>

// The file name's extension in lower case, without the dot; empty when it has none.
std::string FileExtension(const std::string& path);

// Loads a structogram file as the load command does, warning on standard error where it is
// damaged, or imports Pascal source (a name ending in .pas). Throws with the user's message.
TOwned<TBlock> ReadProgramFile(const std::string& input);

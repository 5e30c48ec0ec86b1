// SPDX-License-Identifier: MIT
// The program's printout as a PDF file.
#pragma once

#include "model/element.h"
#include "render/display_options.h"

#include <string>

// The printout (caption: the root's text) on one A4 page at 300 dpi, the page enlarged when the
// printout does not fit. Throws std::runtime_error with a message in the user's language when
// the file cannot be written; the file is then left as it was.
void ExportPdf(TBlock& root, const std::string& path, const TDisplayOptions* shown = nullptr);

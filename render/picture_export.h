// SPDX-License-Identifier: MIT
// Pictures of a whole program, by the file's extension: the one entry for every picture format.
#pragma once

#include "model/element.h"
#include "render/display_options.h"

#include <string>

// .png and .svg show the program as the first diagram window paints it unscrolled (see
// png_export.h for the size limit); .pdf shows the printout (see pdf_export.h). shown: a
// window's display state, whose collapsed blocks the picture shows collapsed (nullptr: none);
// nothing is drawn selected. Throws std::runtime_error with a message in the user's language
// (UTF-8) when the picture cannot be made or written; the file is then left as it was.
void ExportPicture(TBlock& root, const std::string& path, const TDisplayOptions* shown = nullptr);

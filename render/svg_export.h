// SPDX-License-Identifier: MIT
// The program as an SVG picture, written as the figures draw.
#pragma once

#include "model/element.h"
#include "render/display_options.h"
#include "render/picture_toolkit.h"

#include <string>

// The same picture as the PNG (see png_export.h): same size, colours and pixels, text in the
// same font. Throws std::runtime_error with a message in the user's language when the file
// cannot be written; the file is then left as it was.
void ExportSvg(TBlock& root, TPictureToolkit& toolkit, const std::string& path,
               const TDisplayOptions* shown = nullptr);

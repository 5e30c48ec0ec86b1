// SPDX-License-Identifier: MIT
// Renders a whole program into a PNG, SVG or PDF file without a display.
#pragma once

#include "model/element.h"

#include <string>

// The format is taken from the extension of path (.png, .svg, .pdf). Throws std::runtime_error
// with a German message when the picture cannot be made or written.
void ExportPicture(TBlock& root, const std::string& path);

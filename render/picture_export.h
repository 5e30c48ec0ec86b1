// SPDX-License-Identifier: MIT
// Renders a whole program into a PNG, SVG or PDF file without a display.
#pragma once

#include "model/element.h"

#include <string>

// The format is taken from the extension of path (.png, .svg, .pdf). PNG and SVG show the
// program as the first diagram window paints it unscrolled; PDF shows the printout (caption:
// the root's text) on one A4 page at 300 dpi, enlarged when the printout does not fit.
// Throws std::runtime_error with a German message (UTF-8) when the picture cannot be made or
// written, e.g. when a raster image would be too large.
void ExportPicture(TBlock& root, const std::string& path);

// How a PNG stores its pixels. Palette (what ExportPicture uses): indexed colour from the
// colours the figures set, falling back to TrueColour (8-bit RGB) when a pixel is not among
// them; PaletteWithoutBackground leaves one colour out so that the fallback runs, for tests.
enum class PngColours { Palette, TrueColour, PaletteWithoutBackground };

// The PNG export, painted stripRows rows at a time; every strip height and colour mode gives
// the same pixels (small heights let tests cut through every figure).
void ExportPngInStrips(TBlock& root, const std::string& path, int stripRows,
                       PngColours colours = PngColours::Palette);

// Largest raster picture made: each side at most this many pixels ...
constexpr int kMaxPictureSide = 32767;
// ... and at most this many bytes of pixels (four per pixel).
constexpr long long kMaxPictureBytes = 256LL * 1024 * 1024;

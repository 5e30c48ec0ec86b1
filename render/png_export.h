// SPDX-License-Identifier: MIT
// The program as a PNG picture, painted and written in horizontal strips.
#pragma once

#include "model/element.h"
#include "render/display_options.h"
#include "render/picture_toolkit.h"

#include <cstdint>
#include <string>

// Largest picture made: PNG allows 2^31 - 1 pixels each way, and beyond twenty billion pixels in
// all a picture takes minutes and gigabytes, where SVG serves better.
constexpr int64_t kMaxPictureSide = 2147483647;
constexpr int64_t kMaxPicturePixels = 20'000'000'000;

// How a PNG stores its pixels. Palette (the default): indexed colour from the colours the figures
// set, TrueColour (8-bit RGB) when they are more than 256 or a pixel falls outside them;
// PaletteWithoutBackground leaves one colour out so that this fallback runs, for tests.
enum class PngColours { Palette, TrueColour, PaletteWithoutBackground };

// The whole program as the first diagram window paints it unscrolled, on its grey background,
// the window's scroll area in size (program width + 50 by height + 50). Memory stays within one
// strip of stripRows rows (0: rows enough for about 16 MiB), whatever the picture's height.
// Throws std::runtime_error with a message in the user's language when the picture is too large
// or the file cannot be written; the file is then left as it was.
void ExportPng(TBlock& root, TPictureToolkit& toolkit, const std::string& path, int stripRows = 0,
               PngColours colours = PngColours::Palette, const TDisplayOptions* shown = nullptr);

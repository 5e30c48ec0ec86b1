// SPDX-License-Identifier: MIT
// How the Windows-1252 bytes of a text are shown.
#pragma once

#include "model/windows1252.h"

// The character a text byte is shown as: texts are drawn on one line, so line breaks, tabs and
// other control bytes show as spaces.
constexpr char32_t ShownCharacter(unsigned char byte) {
  return byte < 0x20 ? U' ' : Windows1252CodePoint(byte);
}

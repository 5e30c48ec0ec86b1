// SPDX-License-Identifier: MIT
// How the Windows-1252 bytes of a text are shown.
#pragma once

// The character a text byte is shown as. Windows-1252 differs from Latin-1 only in 0x80..0x9F
// (unassigned codes stand for themselves); texts are drawn on one line, so line breaks, tabs
// and other control bytes show as spaces.
constexpr char32_t ShownCharacter(unsigned char byte) {
  constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  if (byte < 0x20)
    return U' ';
  if (byte >= 0x80 && byte <= 0x9F)
    return kHigh[byte - 0x80];
  return byte;
}

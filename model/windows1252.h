// SPDX-License-Identifier: MIT
// Conversions between the model's Windows-1252 texts and UTF-8, for source files in and out.
#pragma once

#include <cstdint>
#include <string>

// The Unicode code point of one Windows-1252 byte; the five undefined bytes keep their own value.
// The code page differs from Latin-1 only in 0x80..0x9F.
constexpr char32_t Windows1252CodePoint(unsigned char byte) {
  constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte;
}

// The Windows-1252 byte of a code point; '?' when the code page lacks the character.
char Windows1252Byte(char32_t c);

// Appends the code point as UTF-8.
void AppendUtf8(std::string& out, char32_t c);

// The Windows-1252 text as UTF-8.
std::string Windows1252ToUtf8(const std::string& text);

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(const std::string& bytes);

// Well-formed UTF-8 as Windows-1252; a character the code page lacks becomes '?'.
std::string Utf8ToWindows1252(const std::string& utf8);

// SPDX-License-Identifier: MIT
// Conversions between the model's Windows-1252 texts and UTF-8, for source files in and out.
#pragma once

#include <cstdint>
#include <string>

// The Unicode code point of one Windows-1252 byte; the five undefined bytes keep their own value.
char32_t Windows1252CodePoint(unsigned char byte);

// The Windows-1252 text as UTF-8.
std::string Windows1252ToUtf8(const std::string& text);

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(const std::string& bytes);

// Well-formed UTF-8 as Windows-1252; a character the code page lacks becomes '?'.
std::string Utf8ToWindows1252(const std::string& utf8);

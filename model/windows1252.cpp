// SPDX-License-Identifier: MIT
#include "model/windows1252.h"

namespace {

// The length of the UTF-8 sequence starting at i and its code point; 0 when it is malformed.
std::size_t DecodeUtf8(const std::string& s, std::size_t i, char32_t& c) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char first = byte(i);
  std::size_t length = 0;
  if (first < 0x80) {
    c = first;
    return 1;
  }
  if (first >= 0xC2 && first <= 0xDF) {
    length = 2;
    c = first & 0x1F;
  } else if (first >= 0xE0 && first <= 0xEF) {
    length = 3;
    c = first & 0x0F;
  } else if (first >= 0xF0 && first <= 0xF4) {
    length = 4;
    c = first & 0x07;
  } else {
    return 0;
  }
  if (i + length > s.size())
    return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80)
      return 0;
    c = (c << 6) | (byte(i + k) & 0x3F);
  }
  const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
  if (overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
    return 0;
  return length;
}

} // namespace

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

char Windows1252Byte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
    return static_cast<char>(c);
  for (unsigned byte = 0x80; byte < 0xA0; ++byte)
    if (Windows1252CodePoint(static_cast<unsigned char>(byte)) == c)
      return static_cast<char>(byte);
  return '?';
}

std::string Windows1252ToUtf8(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char ch : text)
    AppendUtf8(out, Windows1252CodePoint(static_cast<unsigned char>(ch)));
  return out;
}

bool IsUtf8(const std::string& bytes) {
  char32_t c = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = DecodeUtf8(bytes, i, c);
    if (length == 0)
      return false;
    i += length;
  }
  return true;
}

std::string Utf8ToWindows1252(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  char32_t c = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t length = DecodeUtf8(utf8, i, c);
    if (length == 0) { // not expected for checked input; keep going byte by byte
      length = 1;
      c = '?';
    }
    i += length;
    out += Windows1252Byte(c);
  }
  return out;
}

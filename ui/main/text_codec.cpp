// SPDX-License-Identifier: MIT
#include "ui/main/text_codec.h"

#include <QFile>

#include <cstring>

namespace {

// Characters of the bytes 0x80..0x9F; the undefined ones keep their own number.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsValidUtf8(const unsigned char* s, std::size_t n) {
  std::size_t i = 0;
  while (i < n) {
    const unsigned char c = s[i];
    int follow = 0;
    if (c < 0x80)
      follow = 0;
    else if (c >= 0xC2 && c <= 0xDF)
      follow = 1;
    else if (c >= 0xE0 && c <= 0xEF)
      follow = 2;
    else if (c >= 0xF0 && c <= 0xF4)
      follow = 3;
    else
      return false;
    for (int k = 1; k <= follow; ++k) {
      if (i + k >= n || (s[i + k] & 0xC0) != 0x80) return false;
    }
    i += follow + 1;
  }
  return true;
}

}  // namespace

QString FromCp1252(const std::string& bytes) {
  QString out;
  out.reserve(static_cast<qsizetype>(bytes.size()));
  for (const char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    out.append(QChar(b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : char16_t(b)));
  }
  return out;
}

std::string ToCp1252(const QString& text) {
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text.at(i).unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
        QChar::isLowSurrogate(text.at(i + 1).unicode())) {
      out.push_back('?');
      ++i;
      continue;
    }
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    char mapped = '?';
    for (int k = 0; k < 32; ++k) {
      if (kHighControls[k] == c) {
        mapped = static_cast<char>(0x80 + k);
        break;
      }
    }
    out.push_back(mapped);
  }
  return out;
}

std::string InputToCp1252(const QString& text) {
  std::string out = ToCp1252(text);
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  return out;
}

QString FailureText(const char* text) {
  const std::size_t n = std::strlen(text);
  if (IsValidUtf8(reinterpret_cast<const unsigned char*>(text), n))
    return QString::fromUtf8(text, static_cast<qsizetype>(n));
  return FromCp1252(std::string(text, n));
}

std::string FileNameBytes(const QString& name) { return QFile::encodeName(name).toStdString(); }

// SPDX-License-Identifier: MIT
#include "ui/main/text_codec.h"

#include "model/windows1252.h"

#include <QFile>

QString FromCp1252(const std::string& bytes) {
  QString out;
  out.reserve(static_cast<qsizetype>(bytes.size()));
  for (const char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    out.append(QChar(static_cast<char16_t>(Windows1252CodePoint(b))));
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
    out.push_back(Windows1252Byte(c));
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
  const std::string bytes(text);
  if (IsUtf8(bytes))
    return QString::fromStdString(bytes);
  return FromCp1252(bytes);
}

std::string FileNameBytes(const QString& name) { return QFile::encodeName(name).toStdString(); }

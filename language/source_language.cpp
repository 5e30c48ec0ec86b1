// SPDX-License-Identifier: MIT
#include "language/source_language.h"

#include <algorithm>

const char* LanguageName(TSourceLanguage language) {
  switch (language) {
  case TSourceLanguage::Pascal:
    return "Pascal";
  case TSourceLanguage::Python:
    return "Python 3";
  case TSourceLanguage::Java:
    return "Java";
  case TSourceLanguage::C:
    return "C";
  }
  return "";
}

const char* LanguageExtension(TSourceLanguage language) {
  switch (language) {
  case TSourceLanguage::Pascal:
    return "pas";
  case TSourceLanguage::Python:
    return "py";
  case TSourceLanguage::Java:
    return "java";
  case TSourceLanguage::C:
    return "c";
  }
  return "";
}

namespace {

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::optional<TSourceLanguage> LanguageForPath(const std::string& path) {
  const std::string name = BaseName(path);
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string::npos)
    return std::nullopt;
  std::string ext = name.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  });
  for (TSourceLanguage language : kSourceLanguages)
    if (ext == LanguageExtension(language))
      return language;
  return std::nullopt;
}

std::string ProgramNameForPath(const std::string& path) {
  const std::string name = BaseName(path);
  const std::size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

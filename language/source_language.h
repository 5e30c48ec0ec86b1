// SPDX-License-Identifier: MIT
// The languages a program can be exported to, and how files name them.
#pragma once

#include <optional>
#include <string>

enum class TSourceLanguage { Pascal, Python, Java, C };

// All languages in menu order, Pascal first.
constexpr TSourceLanguage kSourceLanguages[] = {TSourceLanguage::Pascal, TSourceLanguage::Python,
                                                TSourceLanguage::Java, TSourceLanguage::C};

// "Pascal", "Python 3", "Java", "C".
const char* LanguageName(TSourceLanguage language);
// The file extension without the dot: "pas", "py", "java", "c".
const char* LanguageExtension(TSourceLanguage language);
// The language a file's extension names (case ignored); none for other files.
std::optional<TSourceLanguage> LanguageForPath(const std::string& path);
// The file's name without folder and extension ("Zinsen" for "/tmp/Zinsen.java").
std::string ProgramNameForPath(const std::string& path);

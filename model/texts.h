// SPDX-License-Identifier: MIT
// The words the program shows, in the language the user chose. Every library writes its texts
// in German; the user interface installs a translation once at start-up, and Tr asks it.
#pragma once

#include <initializer_list>
#include <string>

// The translation of a German text (UTF-8) in a context; nullptr or an empty result: none.
using TTranslator = std::string (*)(const char* context, const char* german);

// Installs the translation; before any other thread asks (nullptr: German).
void SetTranslator(TTranslator translator);

// The text in the user's language (UTF-8).
std::string Tr(const char* context, const char* german);

// Marks a German text for translation where a table only names it; Tr translates it where it
// is shown.
constexpr const char* TrNoop(const char* context, const char* german) {
  (void)context;
  return german;
}

// The pattern with %1 … %9 replaced by the arguments, so that a translation may order them.
std::string Format(const std::string& pattern, std::initializer_list<std::string> args);

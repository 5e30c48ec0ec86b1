// SPDX-License-Identifier: MIT
// The language of the user interface: German, as the program was written, or English. The
// choice in "Ansicht" → "Sprache" is kept between runs; "--lang" chooses one for a single run.
#pragma once

#include <optional>

enum class TUiLanguage { German, English };

// "--lang de" or "--lang en" (also "--lang=en") among the arguments; nullopt where none is
// given or the value is neither.
std::optional<TUiLanguage> LanguageArgument(int argc, char** argv);

// The language chosen last in the menu; German until then, whatever the system's locale.
TUiLanguage SavedLanguage();
void SaveLanguage(TUiLanguage language);

// Loads the program's translation and Qt's own texts for the language and makes every part of
// the program speak it; works before the application object exists, and installs the
// translations into it where it does. False where the translation cannot be found.
bool InstallLanguage(TUiLanguage language);
TUiLanguage CurrentLanguage();

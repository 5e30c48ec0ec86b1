// SPDX-License-Identifier: MIT
// Windows-1252 byte strings of the model to and from the Unicode strings of the user interface.
#pragma once

#include <QString>

#include <string>

// Every byte maps to one character; the five bytes Windows-1252 leaves undefined map to the
// C1 control characters of the same number, so any byte string survives a round trip.
QString FromCp1252(const std::string& bytes);
// Characters the code page cannot hold become '?'.
std::string ToCp1252(const QString& text);
// A text the user typed or pasted, as the model stores it: every control character below 0x20
// (line breaks and tabs included) becomes a space, so that no stored text holds the bytes 0x00
// or 0x01 that end a text in a structogram file, and what the user sees is what is stored.
std::string InputToCp1252(const QString& text);
// A failure text from the model or the system: UTF-8 when it is valid UTF-8, else Windows-1252.
QString FailureText(const char* text);
// A file name as the model's file streams expect it (the local 8-bit encoding).
std::string FileNameBytes(const QString& name);

// SPDX-License-Identifier: MIT
// Values of a running program as Free Pascal holds them, and their text: short strings of up to
// 255 bytes, reals written with write's digits and rounding, numbers read as read/readln reads
// them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

constexpr std::size_t kMaxPascalString = 255;

// Pascal's string: at most 255 bytes; whatever goes beyond is cut off, as Free Pascal cuts it.
struct TPasString {
  uint8_t Length = 0;
  char Data[kMaxPascalString];

  std::string_view View() const { return {Data, Length}; }
  void Assign(std::string_view s);
  void Append(std::string_view s);
  friend bool operator==(const TPasString& a, const TPasString& b) { return a.View() == b.View(); }
};

// Byte-wise comparison as Pascal orders strings: -1, 0 or 1.
int CompareStrings(std::string_view a, std::string_view b);

// A real as write prints it: write(x) (width and decimals -1), write(x:width) and
// write(x:width:decimals).
std::string RealText(double x, int width, int decimals);
// An integer, a boolean or a string written with write(x:width) (width -1: none); longer texts
// are written whole.
std::string Padded(std::string text, int width);
std::string IntegerText(int64_t value, int width);
std::string BooleanText(bool value, int width);

// Reading a number from one input token (the bytes up to the next blank or line end), as
// Free Pascal's Val does: decimal, $hex, 0xhex, %binary and &octal integers with a sign, and
// reals with an optional fraction and exponent, also inf and nan.
enum class TParse { Ok, Invalid, TooLarge };
TParse ParseIntegerToken(std::string_view token, int64_t& value);
TParse ParseRealToken(std::string_view token, double& value);

// The text a value has in the desk-check table and the variables panel: integers in decimal,
// reals in their shortest exact form, booleans TRUE and FALSE, strings as they are.
std::string RealValueText(double x);
// The reverse, for values typed into the variables panel; false when the text is no such value.
bool ParseRealValue(std::string_view text, double& value);
bool ParseIntegerValue(std::string_view text, int64_t& value);
bool ParseBooleanValue(std::string_view text, bool& value);

constexpr int64_t kMinLongint = -2147483648LL;
constexpr int64_t kMaxLongint = 2147483647LL;
inline bool IsLongint(int64_t v) { return v >= kMinLongint && v <= kMaxLongint; }

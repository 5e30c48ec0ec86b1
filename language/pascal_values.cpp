// SPDX-License-Identifier: MIT
#include "language/pascal_values.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

void TPasString::Assign(std::string_view s) {
  Length = static_cast<uint8_t>(std::min(s.size(), kMaxPascalString));
  // s may point into this string itself (x := copy(x, 2, 3)).
  std::memmove(Data, s.data(), Length);
}

void TPasString::Append(std::string_view s) {
  const std::size_t n = std::min(s.size(), kMaxPascalString - Length);
  std::memmove(Data + Length, s.data(), n);
  Length = static_cast<uint8_t>(Length + n);
}

int CompareStrings(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  const int c = n ? std::memcmp(a.data(), b.data(), n) : 0; // memcmp compares unsigned bytes
  if (c != 0)
    return c < 0 ? -1 : 1;
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

std::string Padded(std::string text, int width) {
  if (width > 0 && text.size() < static_cast<std::size_t>(width))
    text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
  return text;
}

std::string IntegerText(int64_t value, int width) {
  return Padded(std::to_string(value), width);
}

std::string BooleanText(bool value, int width) {
  return Padded(value ? "TRUE" : "FALSE", width);
}

namespace {

// Decimal digits (each 0..9) of a real and where its point stands: value = 0.d1d2... * 10^point.
struct TDigits {
  int D[24] = {};
  int N = 0;
};

// Rounds up the digits kept; a carry out of the first digit makes one digit "1". Returns how
// far the point moved.
int Carry(TDigits& d) {
  while (d.N > 0 && d.D[d.N - 1] == 9)
    --d.N;
  if (d.N == 0) {
    d.D[d.N++] = 1;
    return 1;
  }
  ++d.D[d.N - 1];
  return 0;
}

// Cuts the digits at `cut` and rounds half up, as Free Pascal does on its 17 digits: a 4 that
// is followed by nines up to the last two digits, the next to last 8 or 9, counts as a 5.
int RoundAt(TDigits& d, int cut) {
  const int n = d.N;
  int rounding = d.D[cut];
  if (rounding == 4 && cut < n - 3 && d.D[n - 2] >= 8) {
    bool nines = true;
    for (int k = cut + 1; k < n - 2; ++k)
      nines = nines && d.D[k] == 9;
    if (nines)
      rounding = 9;
  }
  d.N = cut;
  return rounding >= 5 ? Carry(d) : 0;
}

char DigitAt(const TDigits& d, int k) {
  return k >= 0 && k < d.N ? static_cast<char>('0' + d.D[k]) : '0';
}

} // namespace

std::string RealText(double x, int width, int decimals) {
  if (std::isnan(x) || std::isinf(x)) {
    const char* text = std::isnan(x) ? "Nan" : x > 0 ? "+Inf" : "-Inf";
    return Padded(text, width < 0 ? 24 : width);
  }
  const bool negative = std::signbit(x);
  TDigits digits;
  int point = 1;
  if (x != 0) {
    // The 17 significant digits, correctly rounded from the exact binary value.
    char buffer[64];
    const auto done =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(x), std::chars_format::scientific, 16);
    *done.ptr = '\0';
    digits.D[digits.N++] = buffer[0] - '0';
    const char* e = std::strchr(buffer, 'e');
    for (const char* c = buffer + 2; c < e; ++c)
      digits.D[digits.N++] = *c - '0';
    while (digits.N > 1 && digits.D[digits.N - 1] == 0)
      --digits.N;
    int exponent = 0;
    std::from_chars(e[1] == '+' ? e + 2 : e + 1, done.ptr, exponent);
    point = exponent + 1;
  }
  if (decimals >= 0) {
    TDigits fixed = digits;
    int dot = point;
    if (dot + decimals < 0)
      fixed.N = 0;
    else if (dot + decimals < fixed.N)
      dot += RoundAt(fixed, dot + decimals);
    std::string text = negative ? "-" : "";
    for (int k = 0; k < std::max(dot, 1); ++k)
      text += k < dot ? DigitAt(fixed, k) : '0';
    if (decimals > 0) {
      text += '.';
      for (int k = 0; k < decimals; ++k)
        text += DigitAt(fixed, dot + k);
    }
    if (text.size() <= kMaxPascalString)
      return Padded(text, width);
  }
  const int keep = width < 0 ? 17 : std::clamp(width - 7, 2, 17);
  if (keep < digits.N)
    point += RoundAt(digits, keep);
  const int exponent = digits.N > 0 ? point - 1 : 0;
  std::string text(1, negative ? '-' : ' ');
  text += DigitAt(digits, 0);
  text += '.';
  for (int k = 1; k < keep; ++k)
    text += DigitAt(digits, k);
  char tail[16];
  std::snprintf(tail, sizeof tail, "E%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
  return Padded(text + tail, width);
}

namespace {

int DigitValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'z')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z')
    return c - 'A' + 10;
  return 99;
}

bool EqualsIgnoringCase(std::string_view a, const char* b) {
  if (a.size() != std::strlen(b))
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const char c = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
    if (c != b[i])
      return false;
  }
  return true;
}

} // namespace

TParse ParseIntegerToken(std::string_view t, int64_t& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-'))
    negative = t[i++] == '-';
  int base = 10;
  if (i < t.size() && t[i] == '$') {
    base = 16;
    ++i;
  } else if (i < t.size() && t[i] == '%') {
    base = 2;
    ++i;
  } else if (i < t.size() && t[i] == '&') {
    base = 8;
    ++i;
  } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= t.size())
    return TParse::Invalid;
  uint64_t magnitude = 0;
  bool tooLarge = false;
  for (; i < t.size(); ++i) {
    const int d = DigitValue(t[i]);
    if (d >= base)
      return TParse::Invalid;
    if (magnitude > (UINT64_MAX - static_cast<uint64_t>(d)) / static_cast<uint64_t>(base))
      tooLarge = true;
    else
      magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
  }
  if (tooLarge || magnitude > static_cast<uint64_t>(kMaxLongint) + (negative ? 1 : 0))
    return TParse::TooLarge;
  value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
  return TParse::Ok;
}

TParse ParseRealToken(std::string_view t, double& value) {
  std::size_t i = 0;
  const bool negative = i < t.size() && t[i] == '-';
  if (i < t.size() && (t[i] == '+' || t[i] == '-'))
    ++i;
  const std::string_view body = t.substr(i);
  if (EqualsIgnoringCase(body, "inf") || EqualsIgnoringCase(body, "nan")) {
    value = EqualsIgnoringCase(body, "nan") ? std::nan("") : HUGE_VAL;
    value = negative ? -value : value;
    return TParse::Ok;
  }
  std::size_t digits = 0;
  for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i)
    ++digits;
  if (i < t.size() && t[i] == '.')
    for (++i; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i)
      ++digits;
  if (digits == 0)
    return TParse::Invalid;
  bool negativeExponent = false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
      negativeExponent = t[i++] == '-';
    std::size_t exponentDigits = 0;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i)
      ++exponentDigits;
    if (exponentDigits == 0)
      return TParse::Invalid;
  }
  if (i != t.size())
    return TParse::Invalid;
  const std::size_t start = t[0] == '+' || t[0] == '-' ? 1 : 0;
  double magnitude = 0;
  const auto parsed = std::from_chars(t.data() + start, t.data() + t.size(), magnitude);
  if (parsed.ec == std::errc::result_out_of_range) {
    if (!negativeExponent)
      return TParse::TooLarge;
    magnitude = 0; // far below the smallest real: Free Pascal reads it as 0
  } else if (parsed.ec != std::errc() || parsed.ptr != t.data() + t.size()) {
    return TParse::Invalid;
  }
  value = negative ? -magnitude : magnitude;
  return TParse::Ok;
}

std::string RealValueText(double x) {
  char buffer[64];
  const auto done = std::to_chars(buffer, buffer + sizeof buffer, x);
  return std::string(buffer, done.ptr);
}

namespace {

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
    s.remove_suffix(1);
  return s;
}

} // namespace

bool ParseRealValue(std::string_view text, double& value) {
  std::string s(Trimmed(text));
  std::replace(s.begin(), s.end(), ',', '.'); // a German decimal comma is meant as the point
  return ParseRealToken(s, value) == TParse::Ok;
}

bool ParseIntegerValue(std::string_view text, int64_t& value) {
  return ParseIntegerToken(Trimmed(text), value) == TParse::Ok;
}

bool ParseBooleanValue(std::string_view text, bool& value) {
  const std::string_view t = Trimmed(text);
  for (const char* yes : {"true", "wahr", "ja", "1"})
    if (EqualsIgnoringCase(t, yes))
      return value = true, true;
  for (const char* no : {"false", "falsch", "nein", "0"})
    if (EqualsIgnoringCase(t, no))
      return value = false, true;
  return false;
}

// SPDX-License-Identifier: MIT
#include "language/program_input.h"

#include "language/pascal_values.h"

namespace {

// Blanks that separate numbers in the input; Ctrl+Z counts among them as in Free Pascal.
bool IsSeparator(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == 0x1A;
}

// Skips separators from p on and collects the number's text after them. Pending when the input
// stops before the text is complete; `skipped` tells whether any separator came first.
TReadResult NumberText(TInputSource& in, uint64_t& p, std::string& text, bool& skipped,
                       bool& atEnd) {
  skipped = false;
  int c;
  while (IsSeparator(c = in.At(p))) {
    ++p;
    skipped = true;
  }
  if (c == kInputPending)
    return TReadResult::Pending;
  atEnd = c == kInputEnd;
  text.clear();
  while (!atEnd && text.size() < kMaxPascalString) {
    c = in.At(p);
    if (c == kInputPending)
      return TReadResult::Pending;
    if (c == kInputEnd || IsSeparator(c))
      break;
    text += static_cast<char>(c);
    ++p;
  }
  return TReadResult::Done;
}

} // namespace

TReadResult ReadInteger(TInputSource& in, uint64_t& pos, int64_t& value, std::string& text) {
  uint64_t p = pos;
  bool skipped = false, atEnd = false;
  if (NumberText(in, p, text, skipped, atEnd) == TReadResult::Pending)
    return TReadResult::Pending;
  value = 0;
  if (!atEnd) {
    switch (ParseIntegerToken(text, value)) {
    case TParse::Invalid:
      return TReadResult::NoNumber;
    case TParse::TooLarge:
      return TReadResult::TooLarge;
    case TParse::Ok:
      break;
    }
  }
  pos = p;
  return TReadResult::Done;
}

TReadResult ReadReal(TInputSource& in, uint64_t& pos, double& value, std::string& text) {
  uint64_t p = pos;
  bool skipped = false, atEnd = false;
  if (NumberText(in, p, text, skipped, atEnd) == TReadResult::Pending)
    return TReadResult::Pending;
  value = 0;
  if (atEnd && skipped) {
    pos = p;
    return TReadResult::Done;
  }
  switch (ParseRealToken(text, value)) {
  case TParse::Invalid:
    return TReadResult::NoNumber;
  case TParse::TooLarge:
    return TReadResult::TooLarge;
  case TParse::Ok:
    break;
  }
  pos = p;
  return TReadResult::Done;
}

TReadResult ReadString(TInputSource& in, uint64_t& pos, std::string& value) {
  uint64_t p = pos;
  std::string text;
  // The line must be complete before any of it is taken.
  while (true) {
    const int c = in.At(p);
    if (c == kInputPending)
      return TReadResult::Pending;
    if (c == kInputEnd || c == '\n' || c == '\r')
      break;
    if (text.size() == kMaxPascalString)
      break;
    text += static_cast<char>(c);
    ++p;
  }
  value = std::move(text);
  pos = p;
  return TReadResult::Done;
}

TReadResult SkipLine(TInputSource& in, uint64_t& pos) {
  uint64_t p = pos;
  while (true) {
    const int c = in.At(p);
    if (c == kInputPending)
      return TReadResult::Pending;
    if (c == kInputEnd)
      break;
    ++p;
    if (c == '\n')
      break;
    if (c == '\r') {
      // CR LF is one line end, CR alone another.
      const int next = in.At(p);
      if (next == kInputPending)
        return TReadResult::Pending;
      if (next == '\n')
        ++p;
      break;
    }
  }
  pos = p;
  return TReadResult::Done;
}

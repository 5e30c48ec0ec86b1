// SPDX-License-Identifier: MIT
// Structogram files that blind mutation rarely builds: long runs of one record, chains of
// 100 000 elements, nesting up to the reader's limit and one past it, texts of megabytes. An
// input "GEN" k c0 c1 c2 t... asks for file kind k % 9 with a count from c0..c2 (up to 1000, the
// nesting up to 100) and texts made of t. A huge file instead, 100 000 records or nesting at the
// limit - 2 + k / 9 % 3, needs c1 = c2 = 0xFF and c0 the sum of t's bytes: huge files take
// seconds each under the sanitizers, so the seeds ask for them, and their mutations, which
// mostly change t, give small ones that reach the same code thousands of times faster.
#pragma once

#include "model/nesting.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

// When data asks for a generated file, writes it to out and returns true.
inline bool GeneratedInput(const uint8_t* data, size_t size, std::string& out) {
  if (size < 7 || std::memcmp(data, "GEN", 3) != 0)
    return false;
  const unsigned kind = data[3] % 9;
  const uint32_t raw = data[4] | (uint32_t{data[5]} << 8) | (uint32_t{data[6]} << 16);
  const std::string text(reinterpret_cast<const char*>(data) + 7, size - 7);
  uint8_t sum = 0;
  for (char c : text)
    sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(c));
  const bool huge = data[4] == sum && data[5] == 0xFF && data[6] == 0xFF;
  const uint32_t count = huge ? 100000 : raw % 1001;
  // One below, at, or one past the nesting limit; small ones stay small because the indented
  // exports of a program nested 2000 deep are tens of megabytes.
  const uint32_t depth = huge ? kMaxNestingDepth - 2 + data[3] / 9 % 3 : count % 101;
  const auto repeat = [&](const std::string& piece, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i)
      out += piece;
  };
  out = "B:gesamtes Programm\x01";
  switch (kind) {
  case 0: // tags and chain ends only, no texts
    repeat(text.empty() ? std::string("A:") : text.substr(0, 2), count);
    break;
  case 1: // a long chain of statements
    repeat("A:" + text + "\x01", count);
    out += "\x02\x02";
    break;
  case 2: // a long chain of loops, each with an empty body
    repeat("W:" + text + "\x01" + "B:b\x01\x02\x02\x02\x02", count);
    out += "\x02\x02";
    break;
  case 3: // loops each following the one before's body block: nesting without blocks
    repeat(std::string("W:\x01xx\x01\x02\x02", 9), count);
    break;
  case 4: // blocks nested around the limit
    repeat("B:" + text + "\x01", depth);
    repeat("\x02\x02", depth + 1);
    break;
  case 5: // loops nested around the limit
    repeat("R:" + text + "\x01" + "B:r\x01", depth);
    repeat("\x02\x02\x02\x02", depth);
    out += "\x02\x02";
    break;
  case 6: // one text of up to two megabytes
    out += "A:" + std::string(count * 20 + text.size(), text.empty() ? 'x' : text[0]) + "\x01";
    out += "\x02\x02";
    break;
  case 7: // decisions, each in the no-branch of the one before
    repeat("I:" + text + "\x01" + "B:j\x01\x02\x02\x02\x02" + "B:n\x01", depth);
    repeat("\x02\x02\x02\x02", depth);
    out += "\x02\x02";
    break;
  default: // the input's own bytes, repeated
    repeat(text, huge ? 20000 : count);
    break;
  }
  return true;
}

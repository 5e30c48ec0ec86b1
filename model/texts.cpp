// SPDX-License-Identifier: MIT
#include "model/texts.h"

#include <atomic>
#include <vector>

namespace {

std::atomic<TTranslator> gTranslator{nullptr};

} // namespace

void SetTranslator(TTranslator translator) { gTranslator.store(translator); }

std::string Tr(const char* context, const char* german) {
  if (const TTranslator translator = gTranslator.load()) {
    std::string translated = translator(context, german);
    if (!translated.empty())
      return translated;
  }
  return german;
}

std::string Format(const std::string& pattern, std::initializer_list<std::string> args) {
  const std::vector<std::string> values(args);
  std::string out;
  out.reserve(pattern.size() + 16);
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
      const auto n = static_cast<std::size_t>(pattern[i + 1] - '1');
      if (n < values.size()) {
        out += values[n];
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

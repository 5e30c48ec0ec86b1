// SPDX-License-Identifier: MIT
#include "model/text_search.h"

#include "model/element_order.h"

#include <unordered_set>

namespace {

// Windows-1252 lower case: ASCII, the Latin-1 letters, and the few letters of 0x80 to 0x9F.
unsigned char Folded(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
    return static_cast<unsigned char>(c + 0x20);
  switch (c) {
  case 0x8A: // Š
  case 0x8C: // Œ
  case 0x8E: // Ž
    return static_cast<unsigned char>(c + 0x10);
  case 0x9F: // Ÿ
    return 0xFF;
  default:
    return c;
  }
}

bool IsWordByte(unsigned char c) {
  return (c >= '0' && c <= '9') || c == '_' || Folded(c) != c || (c >= 'a' && c <= 'z') ||
         c == 0x9A || c == 0x9C || c == 0x9E || c == 0xAA || c == 0xB5 || c == 0xBA ||
         (c >= 0xDF && c != 0xF7);
}

bool MatchesAt(const std::string& text, const std::string& pattern, std::size_t at,
               const TSearchOptions& options) {
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const auto a = static_cast<unsigned char>(text[at + i]);
    const auto b = static_cast<unsigned char>(pattern[i]);
    if (options.MatchCase ? a != b : Folded(a) != Folded(b))
      return false;
  }
  if (!options.WholeWords)
    return true;
  const bool before = at > 0 && IsWordByte(static_cast<unsigned char>(text[at - 1]));
  const std::size_t end = at + pattern.size();
  const bool after = end < text.size() && IsWordByte(static_cast<unsigned char>(text[end]));
  return !before && !after;
}

} // namespace

std::size_t FindInText(const std::string& text, const std::string& pattern, std::size_t from,
                       const TSearchOptions& options) {
  if (pattern.empty() || pattern.size() > text.size())
    return std::string::npos;
  for (std::size_t at = from; at + pattern.size() <= text.size(); ++at)
    if (MatchesAt(text, pattern, at, options))
      return at;
  return std::string::npos;
}

int ReplaceInText(std::string& text, const std::string& pattern, const std::string& replacement,
                  const TSearchOptions& options) {
  int count = 0;
  std::string out;
  std::size_t done = 0;
  for (std::size_t at = FindInText(text, pattern, 0, options); at != std::string::npos;
       at = FindInText(text, pattern, done, options)) {
    out.append(text, done, at - done);
    out += replacement;
    done = at + pattern.size();
    ++count;
  }
  if (count > 0) {
    out.append(text, done, std::string::npos);
    text = std::move(out);
  }
  return count;
}

std::vector<TElement*> SearchableElements(TBlock& root) {
  const std::vector<const TElement*> order = ElementsInOrder(root);
  std::unordered_set<const TElement*> branches;
  for (const TElement* e : order)
    if (const TBedingung* c = As<TBedingung>(e))
      branches.insert({c->Branch1, c->Branch2});
  std::vector<TElement*> out;
  out.reserve(order.size());
  for (const TElement* e : order)
    if (e != &root && !branches.count(e))
      out.push_back(const_cast<TElement*>(e)); // an element of root, which the caller may change
  return out;
}

TTextMatch FindNextInProgram(TBlock& root, const std::string& pattern,
                             const TSearchOptions& options, const TElement* from,
                             std::size_t fromOffset) {
  const std::vector<TElement*> elements = SearchableElements(root);
  const std::size_t n = elements.size();
  std::size_t start = 0;
  while (from && start < n && elements[start] != from)
    ++start;
  if (start == n) {
    start = 0;
    fromOffset = 0;
  }
  // Once round, the element the search begins in first from fromOffset, last from its start.
  for (std::size_t k = 0; k <= n && n > 0; ++k) {
    TElement* e = elements[(start + k) % n];
    const std::size_t at = FindInText(e->Text, pattern, k == 0 ? fromOffset : 0, options);
    if (at != std::string::npos && (k < n || at < fromOffset))
      return {e, at};
  }
  return {};
}

// SPDX-License-Identifier: MIT
#include "render/text_extent_cache.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// Many texts, some alike but for their last byte, empty, long or holding zero bytes: each finds
// its own extent through every growth of the table, and a text never inserted finds none.
TEST(TextExtentCache, FindsWhatWasInsertedAndNothingElse) {
  std::mt19937 random(3);
  std::vector<std::string> texts{"", std::string(1, '\0'), std::string(5000, 'x')};
  for (int i = 0; i < 40000; ++i) {
    std::string text(random() % 24, 'a');
    for (char& c : text)
      c = static_cast<char>('a' + random() % 3);
    texts.push_back(text + std::to_string(i));
  }
  TTextExtentCache cache;
  const auto extentOf = [](std::size_t i) {
    return TSize{static_cast<int32_t>(i), static_cast<int32_t>(i % 13)};
  };
  for (std::size_t i = 0; i < texts.size(); ++i)
    cache.Insert(texts[i], extentOf(i));
  cache.Insert(texts[7], extentOf(7)); // again: still one entry
  EXPECT_EQ(cache.Size(), texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const TSize* found = cache.Find(texts[i]);
    ASSERT_NE(found, nullptr) << i;
    EXPECT_EQ(*found, extentOf(i)) << i;
  }
  for (const char* absent : {"b", "zz", "a40000"})
    EXPECT_EQ(cache.Find(absent), nullptr) << absent;
  cache.Clear();
  EXPECT_EQ(cache.Find(texts[5]), nullptr);
}

} // namespace

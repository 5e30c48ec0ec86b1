// SPDX-License-Identifier: MIT
// Text extents by text, for one font: looked up for every figure of every drawing, so kept in
// one flat table of small slots that finds a text with one hash and mostly one comparison; the
// texts themselves lie one after another in one buffer.
#pragma once

#include "render/surface.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TTextExtentCache {
public:
  // The extent noted for text, or nullptr.
  const TSize* Find(std::string_view text) const {
    if (slots_.empty())
      return nullptr;
    const uint64_t hash = Hash(text);
    for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
      const TSlot& slot = slots_[i];
      if (slot.hash == 0)
        return nullptr;
      if (slot.hash == hash && Text(slot) == text)
        return &slot.extent;
    }
  }

  void Insert(std::string_view text, TSize extent) {
    if ((used_ + 1) * 4 > slots_.size() * 3)
      Grow();
    const uint64_t hash = Hash(text);
    std::size_t i = hash & mask_;
    for (; slots_[i].hash != 0; i = (i + 1) & mask_) {
      if (slots_[i].hash == hash && Text(slots_[i]) == text) {
        slots_[i].extent = extent;
        return;
      }
    }
    slots_[i] = {hash, texts_.size(), text.size(), extent};
    texts_.append(text);
    ++used_;
  }

  std::size_t Size() const { return used_; }
  std::size_t TextBytes() const { return texts_.size(); }
  void Clear() {
    slots_.clear();
    texts_.clear();
    used_ = 0;
    mask_ = 0;
  }

private:
  struct TSlot {
    uint64_t hash = 0; // never 0 for a slot in use
    std::size_t offset = 0;
    std::size_t length = 0;
    TSize extent;
  };

  std::string_view Text(const TSlot& slot) const {
    return std::string_view(texts_.data() + slot.offset, slot.length);
  }

  // FNV-1a: texts are short, and this is quicker than anything heavier for them.
  static uint64_t Hash(std::string_view text) {
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : text)
      h = (h ^ c) * 1099511628211ull;
    h ^= h >> 32;
    return h == 0 ? 1 : h;
  }

  void Grow() {
    std::vector<TSlot> old(slots_.empty() ? 1024 : slots_.size() * 2);
    old.swap(slots_);
    mask_ = slots_.size() - 1;
    for (const TSlot& slot : old) {
      if (slot.hash == 0)
        continue;
      std::size_t i = slot.hash & mask_;
      while (slots_[i].hash != 0)
        i = (i + 1) & mask_;
      slots_[i] = slot;
    }
  }

  std::vector<TSlot> slots_;
  std::string texts_;
  std::size_t used_ = 0;
  std::size_t mask_ = 0;
};

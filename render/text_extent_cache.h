// SPDX-License-Identifier: MIT
// Text extents by text, for one font: looked up for every figure of every drawing, so kept in
// one flat table that finds a text with one hash and mostly one comparison.
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
      if (!slot.used)
        return nullptr;
      if (slot.hash == hash && slot.text == text)
        return &slot.extent;
    }
  }

  void Insert(std::string_view text, TSize extent) {
    if ((used_ + 1) * 4 > slots_.size() * 3)
      Grow();
    const uint64_t hash = Hash(text);
    std::size_t i = hash & mask_;
    while (slots_[i].used) {
      if (slots_[i].hash == hash && slots_[i].text == text) {
        slots_[i].extent = extent;
        return;
      }
      i = (i + 1) & mask_;
    }
    slots_[i] = {std::string(text), hash, extent, true};
    ++used_;
  }

  std::size_t Size() const { return used_; }
  void Clear() {
    slots_.clear();
    used_ = 0;
    mask_ = 0;
  }

private:
  struct TSlot {
    std::string text;
    uint64_t hash = 0;
    TSize extent;
    bool used = false;
  };

  // FNV-1a: texts are short, and this is quicker than anything heavier for them.
  static uint64_t Hash(std::string_view text) {
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : text)
      h = (h ^ c) * 1099511628211ull;
    return h ^ (h >> 32);
  }

  void Grow() {
    std::vector<TSlot> old;
    old.swap(slots_);
    slots_.resize(old.empty() ? 1024 : old.size() * 2);
    mask_ = slots_.size() - 1;
    used_ = 0;
    for (TSlot& slot : old) {
      if (!slot.used)
        continue;
      std::size_t i = slot.hash & mask_;
      while (slots_[i].used)
        i = (i + 1) & mask_;
      slots_[i] = std::move(slot);
      ++used_;
    }
  }

  std::vector<TSlot> slots_;
  std::size_t used_ = 0;
  std::size_t mask_ = 0;
};

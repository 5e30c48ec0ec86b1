// SPDX-License-Identifier: MIT
// A number for each element of a tree, found by the element's address: an open-addressing table,
// since programs of a hundred thousand elements are indexed when they are typed and run.
#pragma once

#include "model/element.h"

#include <cstdint>
#include <vector>

class TElementIndex {
public:
  void Reserve(std::size_t count) {
    std::size_t size = 16;
    while (size < count * 2)
      size *= 2;
    Rehash(size);
  }
  // Keeps the first number given to an element.
  void Add(const TElement* e, uint32_t value) {
    if ((used_ + 1) * 2 > slots_.size())
      Rehash(slots_.empty() ? 16 : slots_.size() * 2);
    std::size_t i = Home(e);
    while (slots_[i].Key && slots_[i].Key != e)
      i = (i + 1) & (slots_.size() - 1);
    if (!slots_[i].Key) {
      slots_[i] = {e, value};
      ++used_;
    }
  }
  // The element's number, or `missing`.
  uint32_t Find(const TElement* e, uint32_t missing) const {
    if (slots_.empty())
      return missing;
    for (std::size_t i = Home(e);; i = (i + 1) & (slots_.size() - 1)) {
      if (slots_[i].Key == e)
        return slots_[i].Value;
      if (!slots_[i].Key)
        return missing;
    }
  }
  bool Empty() const { return used_ == 0; }
  void Clear() {
    slots_.clear();
    used_ = 0;
    shift_ = 64;
  }

private:
  struct TSlot {
    const TElement* Key = nullptr;
    uint32_t Value = 0;
  };
  std::size_t Home(const TElement* e) const {
    // Fibonacci hashing spreads neighbouring addresses over the table.
    return static_cast<std::size_t>((reinterpret_cast<uintptr_t>(e) * 0x9E3779B97F4A7C15ull) >>
                                    shift_);
  }
  void Rehash(std::size_t size) {
    std::vector<TSlot> old;
    old.swap(slots_);
    slots_.assign(size, TSlot{});
    shift_ = 64;
    for (std::size_t n = size; n > 1; n >>= 1)
      --shift_;
    used_ = 0;
    for (const TSlot& s : old)
      if (s.Key)
        Add(s.Key, s.Value);
  }
  std::vector<TSlot> slots_;
  std::size_t used_ = 0;
  int shift_ = 64;
};

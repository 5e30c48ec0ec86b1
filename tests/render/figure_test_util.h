// SPDX-License-Identifier: MIT
// Shared checks on recorded drawing calls.
#pragma once

#include "render/recording_surface.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A recording surface with the extents the geometry examples use: "ja" and "nein" 13 high.
inline void UseExampleExtents(RecordingSurface& s) {
  s.SetExtent("ja", 12, 13);
  s.SetExtent("nein", 24, 13);
}

// The first recorded call with exactly this text, or nullptr.
inline const RecordingSurface::Call* FindCall(const RecordingSurface& s, const std::string& text) {
  for (const auto& c : s.calls)
    if (c.text == text) return &c;
  return nullptr;
}

// Checks that `expected` occurs in the recorded calls in this order (other calls may come
// between).
inline ::testing::AssertionResult InOrder(const RecordingSurface& s,
                                          const std::vector<std::string>& expected) {
  size_t next = 0;
  for (const auto& c : s.calls)
    if (next < expected.size() && c.text == expected[next]) ++next;
  if (next == expected.size()) return ::testing::AssertionSuccess();
  std::string all;
  for (const auto& c : s.calls) all += "  " + c.text + "\n";
  return ::testing::AssertionFailure()
         << "missing in order: " << expected[next] << "\nrecorded:\n" << all;
}

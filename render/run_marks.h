// SPDX-License-Identifier: MIT
// What a run shows on the figures of every window: the element that runs next (or failed), the
// breakpoints, and the blocks, decisions and loops that element lies in, so that a collapsed
// block can stand for it. Windows show them only on screen, never in pictures or printouts.
#pragma once

#include "render/surface.h"

#include <unordered_set>

class TElement;

struct TRunMarks {
  const TElement* Current = nullptr;
  bool Failed = false;
  std::unordered_set<const TElement*> Around;
  std::unordered_set<const TElement*> Breakpoints;

  bool IsCurrent(const TElement* e) const { return e && e == Current; }
  bool Contains(const TElement* e) const { return Around.count(e) > 0; }
  bool IsBreakpoint(const TElement* e) const { return Breakpoints.count(e) > 0; }
};

constexpr TColor kRunCurrentFill = 0xC8F0C8; // light green: runs next
constexpr TColor kRunFailedFill = 0xBEBEFF;  // light red: failed
constexpr TColor kBreakpointFill = kRed;
constexpr TColor kBreakpointPen = 0x000080; // dark red

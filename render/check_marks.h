// SPDX-License-Identifier: MIT
// The elements the checks found something at, marked on their figures while the user wants to
// see them. Like a run's marks they are drawn on screen only, never in pictures or printouts.
#pragma once

#include "model/element_index.h"
#include "render/surface.h"

#include <cstdint>

class TElement;

struct TCheckMarks {
  static constexpr uint32_t kNone = UINT32_MAX;
  // Each element with findings, and where its first finding stands in the list of them.
  TElementIndex First;

  bool Has(const TElement* e) const { return First.Find(e, kNone) != kNone; }
};

constexpr TColor kCheckMarkFill = 0x00A5FF; // orange
constexpr TColor kCheckMarkPen = 0x003A6B;  // dark brown

// A warning triangle with an exclamation mark, centred at (x, y), 13 wide and 12 high; pen and
// brush are left as they were.
void DrawCheckMark(TSurface& surface, int32_t x, int32_t y);
// A corner flag filling the top right corner (right, top) of a box, 9 pixels along each edge,
// for notations whose boxes leave no room beside them.
void DrawCheckFlag(TSurface& surface, int32_t right, int32_t top);

// SPDX-License-Identifier: MIT
// Per-window display state and the drawing helpers all figures share.
#pragma once

#include "render/surface.h"

class TElement;
class TBlock;
struct TRunMarks;
struct TCheckMarks;

// How a window draws its block: as a flowchart, or as a Nassi-Shneiderman diagram.
enum class TNotation { Flow, Nsd };

class TDisplayOptions {
public:
  static constexpr int kCapacity = 100;

  TElement* DrawRoot = nullptr;
  TElement* Selected[kCapacity] = {};  // positions 1..100 stored at 0..99
  TRect SelectedRect;
  TBlock* Collapsed[kCapacity] = {};
  TElement* DropTarget = nullptr;
  bool DropAfter = false;
  bool UseColor = true;
  int32_t Spacing = 6;
  bool PrintMode = false;
  int32_t SelectedCount = 0;
  int32_t CollapsedCount = 0;
  TNotation Notation = TNotation::Flow;
  // A run's marks, drawn on screen only (nullptr: no run and no breakpoint).
  const TRunMarks* Marks = nullptr;
  // The checks' findings, drawn on screen only while they are to be shown (nullptr: none).
  const TCheckMarks* Checks = nullptr;

  bool IsSelected(const TElement* e) const;
  TElement* CurrentSelection() const;
  bool IsCollapsed(const TBlock* b) const;
  // Removes the block when listed, else appends it; returns false when a 101st block is refused.
  bool ToggleCollapsed(TBlock* b);
  // Appends unless listed; returns false when the list is full and the entry is refused.
  bool AddSelection(TElement* e);
  void ClearSelection();
};

void HighlightColors(TSurface& surface);
void NormalColors(TSurface& surface);
void DrawArrow(TSurface& surface, int kind, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
               bool highlight, bool printMode);

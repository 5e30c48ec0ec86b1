// SPDX-License-Identifier: MIT
#include "render/display_options.h"

#include "model/element.h"

bool TDisplayOptions::IsSelected(const TElement* e) const {
  for (int32_t i = 0; i < SelectedCount; ++i)
    if (Selected[i] == e) return true;
  return false;
}

TElement* TDisplayOptions::CurrentSelection() const {
  return SelectedCount == 0 ? nullptr : Selected[SelectedCount - 1];
}

bool TDisplayOptions::IsCollapsed(const TBlock* b) const {
  for (int32_t i = 0; i < CollapsedCount; ++i)
    if (Collapsed[i] == b) return true;
  return false;
}

bool TDisplayOptions::ToggleCollapsed(TBlock* b) {
  bool found = false;
  for (int32_t i = 0; i < CollapsedCount; ++i) {
    if (found)
      Collapsed[i - 1] = Collapsed[i];
    else if (Collapsed[i] == b)
      found = true;
  }
  if (found) {
    Collapsed[--CollapsedCount] = nullptr;
    return true;
  }
  if (CollapsedCount == kCapacity) return false;
  Collapsed[CollapsedCount++] = b;
  return true;
}

bool TDisplayOptions::AddSelection(TElement* e) {
  if (IsSelected(e)) return true;
  if (SelectedCount == kCapacity) return false;
  Selected[SelectedCount++] = e;
  return true;
}

void TDisplayOptions::ClearSelection() {
  for (int32_t i = 0; i < SelectedCount; ++i) Selected[i] = nullptr;
  SelectedCount = 0;
}

void HighlightColors(TSurface& surface) {
  surface.SetPenColor(kRed);
  surface.SetFontColor(kRed);
}

void NormalColors(TSurface& surface) {
  surface.SetPenColor(kBlack);
  surface.SetFontColor(kBlack);
}

void DrawArrow(TSurface& surface, int kind, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
               bool highlight, bool printMode) {
  const TColor brush = surface.GetBrushColor();
  surface.SetBrushColor(kBlack);
  int32_t s = 10;
  if (!printMode) {
    s = 2;
    if (highlight) {
      surface.SetPenColor(kRed);
      surface.SetBrushColor(kRed);
    }
  }
  surface.MoveTo(x1, y1);
  surface.LineTo(x2, y2);
  if (kind == 0) {
    const TPoint head[3] = {{x2 - s, y2 - s}, {x2 + s, y2 - s}, {x2, y2}};
    surface.Polygon(head, 3);
  } else if (kind == 2) {
    const TPoint head[3] = {{x2 - s, y2 - s}, {x2 - s, y2 + s}, {x2, y2}};
    surface.Polygon(head, 3);
  } else if (kind == 4) {
    surface.LineTo(x2, y2 + 1);
  }
  if (highlight) surface.SetPenColor(kBlack);
  surface.SetBrushColor(brush);
}

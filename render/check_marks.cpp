// SPDX-License-Identifier: MIT
#include "render/check_marks.h"

void DrawCheckMark(TSurface& s, int32_t x, int32_t y) {
  const TColor pen = s.GetPenColor(), brush = s.GetBrushColor();
  s.SetPenColor(kCheckMarkPen);
  s.SetBrushColor(kCheckMarkFill);
  const TPoint triangle[3] = {{x, y - 6}, {x + 6, y + 5}, {x - 6, y + 5}};
  s.Polygon(triangle, 3);
  s.SetBrushColor(kCheckMarkPen);
  s.FillRect(x, y - 2, x + 1, y + 2);
  s.FillRect(x, y + 3, x + 1, y + 4);
  s.SetPenColor(pen);
  s.SetBrushColor(brush);
}

void DrawCheckFlag(TSurface& s, int32_t right, int32_t top) {
  const TColor pen = s.GetPenColor(), brush = s.GetBrushColor();
  s.SetPenColor(kCheckMarkPen);
  s.SetBrushColor(kCheckMarkFill);
  const TPoint flag[3] = {{right - 9, top}, {right, top}, {right, top + 9}};
  s.Polygon(flag, 3);
  s.SetPenColor(pen);
  s.SetBrushColor(brush);
}

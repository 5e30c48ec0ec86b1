// SPDX-License-Identifier: MIT
#include "render/svg_export.h"

#include "model/stream.h"
#include "render/diagram_paint.h"
#include "render/svg_surface.h"

void ExportSvg(TBlock& root, TPictureToolkit& toolkit, const std::string& path,
               const TDisplayOptions* shown) {
  TFileWriteStream file(path);
  TSvgSurface surface(file, toolkit);
  TDisplayOptions display = PictureDisplay(shown);
  // The size opens the file, so the tree is measured before anything is drawn.
  TPicturePainter painter(surface, root, display);
  const TSize size = painter.RootSize();
  surface.Begin(size.cx + 50, size.cy + 50, root.Text, kScreenBackground);
  painter.Paint(surface, nullptr);
  surface.Finish();
  file.Commit();
}

// SPDX-License-Identifier: MIT
#include "render/picture_export.h"

#include "render/pdf_export.h"
#include "render/png_export.h"
#include "render/qt_picture_toolkit.h"
#include "render/svg_export.h"
#include "model/texts.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace {

bool HasExtension(const std::string& path, const std::string& extension) {
  if (path.size() < extension.size())
    return false;
  return std::equal(extension.rbegin(), extension.rend(), path.rbegin(), [](char a, char b) {
    return a == std::tolower(static_cast<unsigned char>(b));
  });
}

} // namespace

void ExportPicture(TBlock& root, const std::string& path, const TDisplayOptions* shown) {
  if (HasExtension(path, ".png")) {
    QtPictureToolkit toolkit;
    ExportPng(root, toolkit, path, 0, PngColours::Palette, shown);
  } else if (HasExtension(path, ".svg")) {
    QtPictureToolkit toolkit;
    ExportSvg(root, toolkit, path, shown);
  } else if (HasExtension(path, ".pdf")) {
    ExportPdf(root, path, shown);
  } else {
    throw std::runtime_error(Format(Tr("Bild", "Unbekanntes Bildformat: %1"), {path}));
  }
}

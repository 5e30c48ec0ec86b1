// SPDX-License-Identifier: MIT
#include "render/png_export.h"


#include "model/stream.h"
#include "model/texts.h"
#include "render/diagram_paint.h"
#include "render/png_writer.h"
#include "render/raster_surface.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace {

constexpr TColor kBackground = 0xF5F5F5;
constexpr int64_t kStripBytes = 16 << 20;

uint32_t Rgb(TColor c) {
  return (c & 0xFF) << 16 | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// Draws nothing and notes every colour the figures set; texts measure as on the picture, so the
// walk takes the painting's course.
class ColourProbe : public TSurface {
public:
  explicit ColourProbe(TPictureToolkit& toolkit) : toolkit_(toolkit) {}

  void SetPenColor(TColor c) override { pen_ = Note(c); }
  TColor GetPenColor() const override { return pen_; }
  void SetPenWidth(int) override {}
  void SetPenStyle(TPenStyle) override {}
  void SetBrushColor(TColor c) override { brush_ = Note(c); }
  TColor GetBrushColor() const override { return brush_; }
  void SetFontColor(TColor c) override { Note(c); }
  void SetFontSize(int points) override { toolkit_.SetFontSize(points); }
  void SetFontName(const std::string& face) override { toolkit_.SetFontName(face); }
  void MoveTo(int32_t, int32_t) override {}
  void LineTo(int32_t, int32_t) override {}
  void Polygon(const TPoint*, int) override {}
  void Rectangle(int32_t, int32_t, int32_t, int32_t) override {}
  void FillRect(int32_t, int32_t, int32_t, int32_t) override {}
  void Ellipse(int32_t, int32_t, int32_t, int32_t) override {}
  void TextOut(int32_t, int32_t, const std::string&) override {}
  TSize TextExtent(const std::string& text) override { return toolkit_.TextExtent(text); }

  // The colours noted, with those a fresh surface starts with and the background.
  std::vector<uint32_t> colours{Rgb(kBlack), Rgb(kWhite), Rgb(kBackground)};

private:
  TColor Note(TColor c) {
    if (std::find(colours.begin(), colours.end(), Rgb(c)) == colours.end())
      colours.push_back(Rgb(c));
    return c;
  }
  TPictureToolkit& toolkit_;
  TColor pen_ = kBlack, brush_ = kWhite;
};

[[noreturn]] void TooLarge(int64_t width, int64_t height) {
  throw std::runtime_error(
      Format(Tr("Bild", "Das Bild wäre mit %1 × %2 Pixeln zu groß; bitte als SVG exportieren."),
             {std::to_string(width), std::to_string(height)}));
}

// Paints the picture strip by strip into the file. With a palette, returns false (the file left
// as it was) when a pixel's colour is not in it.
bool WritePng(TPicturePainter& painter, TPictureToolkit& toolkit, const std::string& path,
              int64_t width, int64_t height, int stripRows, const std::vector<uint32_t>& palette) {
  const int64_t pixelBytes = palette.empty() ? 4 : 1;
  int64_t rows = stripRows > 0 ? stripRows : kStripBytes / (width * pixelBytes);
  rows = std::max<int64_t>(1, std::min(rows, height));
  TRasterSurface surface(toolkit, static_cast<int32_t>(width), palette);
  std::vector<uint8_t> rgb(palette.empty() ? static_cast<size_t>(3 * width) : 0);

  TFileWriteStream file(path);
  TPngWriter png(file, static_cast<uint32_t>(width), static_cast<uint32_t>(height), palette);
  for (int64_t top = 0; top < height; top += rows) {
    const int32_t count = static_cast<int32_t>(std::min(rows, height - top));
    surface.StartStrip(top, count, kBackground);
    const TRect clip{0, static_cast<int32_t>(top), static_cast<int32_t>(width),
                     static_cast<int32_t>(top + count)};
    painter.Paint(surface, &clip);
    if (surface.MissedColour())
      return false;
    for (int32_t i = 0; i < count; ++i) {
      if (palette.empty()) {
        const auto* words = reinterpret_cast<const uint32_t*>(surface.Row(i));
        for (int64_t x = 0; x < width; ++x) {
          rgb[3 * x] = static_cast<uint8_t>(words[x] >> 16);
          rgb[3 * x + 1] = static_cast<uint8_t>(words[x] >> 8);
          rgb[3 * x + 2] = static_cast<uint8_t>(words[x]);
        }
        png.WriteRow(rgb.data());
      } else {
        png.WriteRow(surface.Row(i));
      }
    }
  }
  png.Finish();
  file.Commit();
  return true;
}

} // namespace

void ExportPng(TBlock& root, TPictureToolkit& toolkit, const std::string& path, int stripRows,
               PngColours colours, const TDisplayOptions* shown) {
  ColourProbe probe(toolkit);
  TDisplayOptions display = PictureDisplay(shown);
  // Measured once; the probe and every strip draw from the same sizes.
  TPicturePainter painter(probe, root, display);
  const int64_t width = int64_t{painter.RootSize().cx} + 50;
  const int64_t height = int64_t{painter.RootSize().cy} + 50;
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels)
    TooLarge(width, height);

  if (colours != PngColours::TrueColour) {
    // A handful of colours: one byte per pixel instead of three.
    painter.Paint(probe, nullptr);
    std::vector<uint32_t> palette = probe.colours;
    if (colours == PngColours::PaletteWithoutBackground)
      palette.erase(std::remove(palette.begin(), palette.end(), Rgb(kBackground)), palette.end());
    if (palette.size() <= 256 &&
        WritePng(painter, toolkit, path, width, height, stripRows, palette))
      return;
  }
  WritePng(painter, toolkit, path, width, height, stripRows, {});
}

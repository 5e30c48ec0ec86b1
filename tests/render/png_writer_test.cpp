// SPDX-License-Identifier: MIT
// The PNG encoder against Qt's PNG reader: every pixel back as written.
#include "render/png_writer.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

// Bytes whose values occur with Fibonacci frequencies: their Huffman tree is deeper than the 15
// levels deflate allows, so the encoder has to shorten it.
std::vector<uint8_t> SkewedBytes(size_t count) {
  std::vector<uint8_t> values;
  uint64_t a = 1, b = 1;
  for (int v = 1; v <= 24; ++v) {
    values.insert(values.end(), a, static_cast<uint8_t>(v * 7));
    const uint64_t c = a + b;
    a = b;
    b = c;
  }
  std::mt19937 rng(3);
  std::vector<uint8_t> out(count);
  for (uint8_t& byte : out)
    byte = values[rng() % values.size()];
  // Runs and rows that repeat the one above, as a diagram has them.
  std::fill(out.begin() + static_cast<ptrdiff_t>(count / 3),
            out.begin() + static_cast<ptrdiff_t>(count / 2), uint8_t{7});
  return out;
}

TEST(PngWriterTest, EveryPixelComesBack) {
  constexpr uint32_t kWidth = 700, kHeight = 1600; // several deflate blocks
  for (bool indexed : {true, false}) {
    std::vector<uint32_t> palette;
    if (indexed)
      for (uint32_t i = 0; i < 256; ++i)
        palette.push_back(i * 0x010203u & 0xFFFFFF);
    const size_t rowBytes = indexed ? kWidth : 3 * kWidth;
    const std::vector<uint8_t> pixels = SkewedBytes(rowBytes * kHeight);
    TMemoryStream out;
    TPngWriter png(out, kWidth, kHeight, palette);
    for (uint32_t y = 0; y < kHeight; ++y)
      png.WriteRow(pixels.data() + y * rowBytes);
    png.Finish();

    QImage image;
    ASSERT_TRUE(image.loadFromData(reinterpret_cast<const uchar*>(out.Data.data()),
                                   static_cast<int>(out.Data.size()), "PNG"));
    ASSERT_EQ(image.size(), QSize(kWidth, kHeight));
    for (uint32_t y = 0; y < kHeight; ++y) {
      const uint8_t* row = pixels.data() + y * rowBytes;
      for (uint32_t x = 0; x < kWidth; ++x) {
        const QRgb expected = indexed ? palette[row[x]] | 0xFF000000u
                                      : qRgb(row[3 * x], row[3 * x + 1], row[3 * x + 2]);
        if (image.pixel(static_cast<int>(x), static_cast<int>(y)) != expected) {
          ADD_FAILURE() << (indexed ? "indexed" : "RGB") << " pixel " << x << "," << y;
          return;
        }
      }
    }
  }
}

} // namespace

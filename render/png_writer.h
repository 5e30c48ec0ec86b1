// SPDX-License-Identifier: MIT
// A PNG encoder fed one row at a time, so a picture of any height needs the memory of one row.
// Each row is filtered against the one above and compressed as runs of equal bytes, in deflate
// blocks with Huffman codes made for each block: the flat colours of a diagram shrink to a few
// bytes per row, at a fraction of the time a general compressor takes.
#pragma once

#include "model/stream.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class TPngWriter {
public:
  // palette: colours 0x00RRGGBB (1 to 256) for rows of one index byte per pixel; empty for rows
  // of R, G, B bytes. Writes the file's header at once.
  TPngWriter(TStream& out, uint32_t width, uint32_t height, const std::vector<uint32_t>& palette);
  TPngWriter(const TPngWriter&) = delete;
  TPngWriter& operator=(const TPngWriter&) = delete;

  // The next row, top to bottom.
  void WriteRow(const uint8_t* pixels);
  // After the last row: the end of the data and of the file.
  void Finish();

private:
  void Chunk(const char* type, const uint8_t* data, size_t size);
  void Bits(uint32_t value, int count);
  void Run(uint8_t byte, size_t count);
  // Writes the symbols gathered so far as one deflate block.
  void Block(bool last);
  void FlushData(bool all);

  TStream& out_;
  size_t rowBytes_;
  std::vector<uint8_t> previous_;
  // Deflate symbols of the current block: a literal byte (0 to 255) or, from 256 on, a match of
  // (symbol - 256) bytes at distance 1.
  std::vector<uint16_t> symbols_;
  std::vector<uint8_t> data_; // compressed bytes not yet written as a chunk
  uint64_t bits_ = 0;
  int bitCount_ = 0;
  int lastByte_ = -1; // the byte a distance-1 match repeats
  uint64_t adlerA_ = 1, adlerB_ = 0;
};

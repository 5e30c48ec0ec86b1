// SPDX-License-Identifier: MIT
#include "render/png_writer.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr uint32_t kAdler = 65521;
constexpr size_t kChunkBytes = 1 << 16;

uint32_t Crc(uint32_t crc, const uint8_t* data, size_t size) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k)
        c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  for (size_t i = 0; i < size; ++i)
    crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return crc;
}

void PutBigEndian(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value >> 24);
  at[1] = static_cast<uint8_t>(value >> 16);
  at[2] = static_cast<uint8_t>(value >> 8);
  at[3] = static_cast<uint8_t>(value);
}

// Huffman codes go into the stream from their highest bit on; the bit writer takes the lowest
// bit first.
uint32_t Reversed(uint32_t code, int length) {
  uint32_t r = 0;
  for (int i = 0; i < length; ++i)
    r |= ((code >> i) & 1) << (length - 1 - i);
  return r;
}

struct Code {
  uint32_t bits = 0;
  int length = 0;
};

// Deflate's fixed code for a literal or length symbol (0 to 287).
Code FixedSymbol(int symbol) {
  if (symbol < 144)
    return {Reversed(0x30 + symbol, 8), 8};
  if (symbol < 256)
    return {Reversed(0x190 + symbol - 144, 9), 9};
  if (symbol < 280)
    return {Reversed(symbol - 256, 7), 7};
  return {Reversed(0xC0 + symbol - 280, 8), 8};
}

struct Tables {
  Code literal[256];
  Code match[259]; // a match of 3 to 258 bytes at distance 1: length symbol, extra bits, distance
  Code end;
  Tables() {
    for (int b = 0; b < 256; ++b)
      literal[b] = FixedSymbol(b);
    end = FixedSymbol(256);
    static const int base[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                 31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
    static const int extra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    for (int length = 3; length <= 258; ++length) {
      int i = 28;
      while (base[i] > length)
        --i;
      const Code symbol = FixedSymbol(257 + i);
      Code c = symbol;
      c.bits |= static_cast<uint32_t>(length - base[i]) << c.length;
      c.length += extra[i];
      c.length += 5; // distance code 0 (distance 1): five zero bits
      match[length] = c;
    }
  }
};

const Tables& Fixed() {
  static const Tables tables;
  return tables;
}

// The end of the run of `value` that starts at data[from], looking no further than size.
size_t RunEnd(const uint8_t* data, size_t from, size_t size, uint8_t value) {
  const uint64_t pattern = 0x0101010101010101ull * value;
  size_t i = from;
  while (i + 8 <= size) {
    uint64_t word;
    std::memcpy(&word, data + i, 8);
    if (word != pattern)
      break;
    i += 8;
  }
  while (i < size && data[i] == value)
    ++i;
  return i;
}

} // namespace

TPngWriter::TPngWriter(TStream& out, uint32_t width, uint32_t height,
                       const std::vector<uint32_t>& palette)
    : out_(out), rowBytes_(palette.empty() ? 3 * size_t{width} : size_t{width}) {
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  out_.WriteBuffer(kSignature, sizeof kSignature);
  uint8_t header[13];
  PutBigEndian(header, width);
  PutBigEndian(header + 4, height);
  header[8] = 8;                            // bits per sample
  header[9] = palette.empty() ? 2 : 3;      // RGB or indexed colour
  header[10] = header[11] = header[12] = 0; // deflate, adaptive filters, no interlace
  Chunk("IHDR", header, sizeof header);
  if (!palette.empty()) {
    std::vector<uint8_t> plte;
    for (uint32_t c : palette) {
      plte.push_back(static_cast<uint8_t>(c >> 16));
      plte.push_back(static_cast<uint8_t>(c >> 8));
      plte.push_back(static_cast<uint8_t>(c));
    }
    Chunk("PLTE", plte.data(), plte.size());
  }
  previous_.assign(rowBytes_, 0);
  filtered_.resize(rowBytes_ + 1);
  data_ = {0x78, 0x01}; // zlib: deflate with a 32 KiB window
  Bits(0, 1);           // a block that is not the last ...
  Bits(1, 2);           // ... in the fixed code
}

void TPngWriter::Chunk(const char* type, const uint8_t* data, size_t size) {
  uint8_t head[8];
  PutBigEndian(head, static_cast<uint32_t>(size));
  std::memcpy(head + 4, type, 4);
  uint8_t tail[4];
  PutBigEndian(tail, Crc(Crc(0xFFFFFFFFu, head + 4, 4), data, size) ^ 0xFFFFFFFFu);
  out_.WriteBuffer(head, sizeof head);
  if (size > 0)
    out_.WriteBuffer(data, size);
  out_.WriteBuffer(tail, sizeof tail);
}

void TPngWriter::Bits(uint32_t value, int count) {
  bits_ |= uint64_t{value} << bitCount_;
  bitCount_ += count;
  while (bitCount_ >= 8) {
    data_.push_back(static_cast<uint8_t>(bits_));
    bits_ >>= 8;
    bitCount_ -= 8;
  }
}

void TPngWriter::Literal(uint8_t byte) {
  const Code& c = Fixed().literal[byte];
  Bits(c.bits, c.length);
  lastByte_ = byte;
}

// `count` bytes of one value: a literal unless the stream already ends in it, then matches that
// repeat the byte before them.
void TPngWriter::Run(uint8_t byte, size_t count) {
  // Adler-32 of the run in closed form: a grows by count * byte, b by count * a plus
  // byte * count * (count + 1) / 2.
  const uint64_t n = count % kAdler;
  const uint64_t triangle = (count % 2 == 0) ? (count / 2 % kAdler) * ((count + 1) % kAdler)
                                             : (count % kAdler) * ((count + 1) / 2 % kAdler);
  adlerB_ = static_cast<uint32_t>((adlerB_ + n * adlerA_ + byte * (triangle % kAdler)) % kAdler);
  adlerA_ = static_cast<uint32_t>((adlerA_ + n * byte) % kAdler);

  if (lastByte_ != byte) {
    Literal(byte);
    --count;
  }
  const Tables& t = Fixed();
  while (count >= 3) {
    const size_t length = std::min<size_t>(count, 258);
    Bits(t.match[length].bits, t.match[length].length);
    count -= length;
  }
  while (count-- > 0)
    Literal(byte);
}

void TPngWriter::WriteRow(const uint8_t* pixels) {
  // Filter "up": each byte less the one above, so rows that repeat their predecessor are zeros.
  filtered_[0] = 2;
  for (size_t i = 0; i < rowBytes_; ++i)
    filtered_[i + 1] = static_cast<uint8_t>(pixels[i] - previous_[i]);
  std::memcpy(previous_.data(), pixels, rowBytes_);
  const size_t size = filtered_.size();
  for (size_t i = 0; i < size;) {
    const size_t end = RunEnd(filtered_.data(), i + 1, size, filtered_[i]);
    Run(filtered_[i], end - i);
    i = end;
  }
  FlushData(false);
}

void TPngWriter::FlushData(bool all) {
  if (!all && data_.size() < kChunkBytes)
    return;
  Chunk("IDAT", data_.data(), data_.size());
  data_.clear();
}

void TPngWriter::Finish() {
  const Tables& t = Fixed();
  Bits(t.end.bits, t.end.length);
  Bits(1, 1); // the last block, empty
  Bits(1, 2);
  Bits(t.end.bits, t.end.length);
  Bits(0, (8 - bitCount_) % 8);
  uint8_t adler[4];
  PutBigEndian(adler, adlerB_ << 16 | adlerA_);
  data_.insert(data_.end(), adler, adler + 4);
  FlushData(true);
  Chunk("IEND", nullptr, 0);
}

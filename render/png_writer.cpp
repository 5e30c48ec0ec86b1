// SPDX-License-Identifier: MIT
#include "render/png_writer.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr uint64_t kAdler = 65521;
constexpr size_t kChunkBytes = 1 << 16;

// CRC-32 of PNG chunks, eight bytes per step.
uint32_t Crc(uint32_t crc, const uint8_t* data, size_t size) {
  static const auto tables = [] {
    std::array<std::array<uint32_t, 256>, 8> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[0][n] = c;
    }
    for (uint32_t n = 0; n < 256; ++n)
      for (int k = 1; k < 8; ++k) t[k][n] = (t[k - 1][n] >> 8) ^ t[0][t[k - 1][n] & 0xFF];
    return t;
  }();
  size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    const uint32_t low = crc ^ (uint32_t{data[i]} | uint32_t{data[i + 1]} << 8 |
                                uint32_t{data[i + 2]} << 16 | uint32_t{data[i + 3]} << 24);
    crc = tables[7][low & 0xFF] ^ tables[6][(low >> 8) & 0xFF] ^ tables[5][(low >> 16) & 0xFF] ^
          tables[4][low >> 24] ^ tables[3][data[i + 4]] ^ tables[2][data[i + 5]] ^
          tables[1][data[i + 6]] ^ tables[0][data[i + 7]];
  }
  for (; i < size; ++i) crc = tables[0][(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
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
  for (int i = 0; i < length; ++i) r |= ((code >> i) & 1) << (length - 1 - i);
  return r;
}

struct Code {
  uint32_t bits = 0;
  int length = 0;
};

// Deflate's fixed code for a literal or length symbol (0 to 287).
Code FixedSymbol(int symbol) {
  if (symbol < 144) return {Reversed(0x30 + symbol, 8), 8};
  if (symbol < 256) return {Reversed(0x190 + symbol - 144, 9), 9};
  if (symbol < 280) return {Reversed(symbol - 256, 7), 7};
  return {Reversed(0xC0 + symbol - 280, 8), 8};
}

// The first position from `from` on where a and b differ, or size.
size_t EqualEnd(const uint8_t* a, const uint8_t* b, size_t from, size_t size) {
  size_t i = from;
  for (; i + 8 <= size; i += 8) {
    uint64_t x, y;
    std::memcpy(&x, a + i, 8);
    std::memcpy(&y, b + i, 8);
    if (x != y) {
      const uint64_t d = x ^ y;  // the lowest differing byte is the first in memory
      return i + static_cast<size_t>(__builtin_ctzll(d) / 8);
    }
  }
  while (i < size && a[i] == b[i]) ++i;
  return i;
}

}  // namespace

// What the encoder writes, as bits ready for the bit writer.
struct TPngWriter::Codes {
  Code literal[256];
  Code match[259];  // 3 to 258 bytes at distance 1: length symbol, extra bits, distance code 0
  Code end;

  Codes() {
    for (int b = 0; b < 256; ++b) literal[b] = FixedSymbol(b);
    end = FixedSymbol(256);
    static const int base[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                 31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
    static const int extra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    for (int length = 3; length <= 258; ++length) {
      int i = 28;
      while (base[i] > length) --i;
      Code c = FixedSymbol(257 + i);
      c.bits |= static_cast<uint32_t>(length - base[i]) << c.length;
      c.length += extra[i] + 5;  // then the five zero bits of distance code 0
      match[length] = c;
    }
  }

  static const Codes& Fixed() {
    static const Codes codes;
    return codes;
  }
};

TPngWriter::TPngWriter(TStream& out, uint32_t width, uint32_t height,
                       const std::vector<uint32_t>& palette)
    : out_(out), codes_(Codes::Fixed()),
      rowBytes_(palette.empty() ? 3 * size_t{width} : size_t{width}) {
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  out_.WriteBuffer(kSignature, sizeof kSignature);
  uint8_t header[13];
  PutBigEndian(header, width);
  PutBigEndian(header + 4, height);
  header[8] = 8;                             // bits per sample
  header[9] = palette.empty() ? 2 : 3;       // RGB or indexed colour
  header[10] = header[11] = header[12] = 0;  // deflate, adaptive filters, no interlace
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
  data_ = {0x78, 0x01};  // zlib: deflate with a 32 KiB window
  Bits(0, 1);            // a block that is not the last ...
  Bits(1, 2);            // ... in the fixed code
}

void TPngWriter::Chunk(const char* type, const uint8_t* data, size_t size) {
  uint8_t head[8];
  PutBigEndian(head, static_cast<uint32_t>(size));
  std::memcpy(head + 4, type, 4);
  uint8_t tail[4];
  PutBigEndian(tail, Crc(Crc(0xFFFFFFFFu, head + 4, 4), data, size) ^ 0xFFFFFFFFu);
  out_.WriteBuffer(head, sizeof head);
  if (size > 0) out_.WriteBuffer(data, size);
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
  Bits(codes_.literal[byte].bits, codes_.literal[byte].length);
  lastByte_ = byte;
}

// `count` bytes of one value: a literal unless the stream already ends in it, then matches that
// repeat the byte before them.
void TPngWriter::Run(uint8_t byte, size_t count) {
  // Adler-32 in closed form: a grows by count * byte, b by count * a plus
  // byte * count * (count + 1) / 2. The sums are reduced modulo 65521 once a row, or at once
  // where they could overflow.
  if (count > (size_t{1} << 20) || adlerB_ > (uint64_t{1} << 60)) {
    const uint64_t n = count % kAdler;
    const uint64_t triangle = count % 2 == 0 ? (count / 2 % kAdler) * ((count + 1) % kAdler)
                                             : (count % kAdler) * ((count + 1) / 2 % kAdler);
    adlerA_ %= kAdler;
    adlerB_ = (adlerB_ + n * adlerA_ + byte * (triangle % kAdler)) % kAdler;
    adlerA_ = (adlerA_ + n * byte) % kAdler;
  } else {
    adlerB_ += count * adlerA_ + byte * (count * (count + 1) / 2);
    adlerA_ += count * byte;
  }

  if (lastByte_ != byte) {
    Literal(byte);
    --count;
  }
  while (count >= 3) {
    const size_t length = std::min<size_t>(count, 258);
    Bits(codes_.match[length].bits, codes_.match[length].length);
    count -= length;
  }
  while (count-- > 0) Literal(byte);
}

void TPngWriter::WriteRow(const uint8_t* pixels) {
  // Filter "up": each byte less the one above, so what repeats the row above is zeros. Runs are
  // found on the pixels themselves, eight bytes at a time where they equal the row above.
  const uint8_t* above = previous_.data();
  Run(2, 1);
  for (size_t i = 0; i < rowBytes_;) {
    size_t end = i + 1;
    if (pixels[i] == above[i]) {
      end = EqualEnd(pixels, above, end, rowBytes_);
      Run(0, end - i);
    } else {
      const uint8_t value = static_cast<uint8_t>(pixels[i] - above[i]);
      while (end < rowBytes_ && static_cast<uint8_t>(pixels[end] - above[end]) == value) ++end;
      Run(value, end - i);
    }
    i = end;
  }
  adlerA_ %= kAdler;
  adlerB_ %= kAdler;
  std::memcpy(previous_.data(), pixels, rowBytes_);
  FlushData(false);
}

void TPngWriter::FlushData(bool all) {
  if (!all && data_.size() < kChunkBytes) return;
  Chunk("IDAT", data_.data(), data_.size());
  data_.clear();
}

void TPngWriter::Finish() {
  Bits(codes_.end.bits, codes_.end.length);
  Bits(1, 1);  // the last block, empty
  Bits(1, 2);
  Bits(codes_.end.bits, codes_.end.length);
  Bits(0, (8 - bitCount_) % 8);
  uint8_t adler[4];
  PutBigEndian(adler, static_cast<uint32_t>(adlerB_ << 16 | adlerA_));
  data_.insert(data_.end(), adler, adler + 4);
  FlushData(true);
  Chunk("IEND", nullptr, 0);
}

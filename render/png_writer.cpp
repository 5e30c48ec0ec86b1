// SPDX-License-Identifier: MIT
#include "render/png_writer.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <queue>
#include <utility>

namespace {

constexpr uint64_t kAdler = 65521;
constexpr size_t kChunkBytes = 1 << 16;

// CRC-32 of PNG chunks, eight bytes per step.
uint32_t Crc(uint32_t crc, const uint8_t* data, size_t size) {
  static const auto tables = [] {
    std::array<std::array<uint32_t, 256>, 8> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k)
        c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[0][n] = c;
    }
    for (uint32_t n = 0; n < 256; ++n)
      for (int k = 1; k < 8; ++k)
        t[k][n] = (t[k - 1][n] >> 8) ^ t[0][t[k - 1][n] & 0xFF];
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
  for (; i < size; ++i)
    crc = tables[0][(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return crc;
}

void PutBigEndian(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value >> 24);
  at[1] = static_cast<uint8_t>(value >> 16);
  at[2] = static_cast<uint8_t>(value >> 8);
  at[3] = static_cast<uint8_t>(value);
}

constexpr size_t kBlockSymbols = 1 << 18;

// Deflate's length symbols 257 to 285: the shortest length each stands for, and its extra bits.
constexpr int kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                 31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr int kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};

// Length symbol (257 to 285) of a match length (3 to 258), from a table made once.
int LengthSymbol(int length) {
  static const auto table = [] {
    std::array<uint8_t, 259> t{};
    for (int l = 3; l <= 258; ++l) {
      int i = 28;
      while (kLengthBase[i] > l)
        --i;
      t[l] = static_cast<uint8_t>(i);
    }
    return t;
  }();
  return 257 + table[length];
}

// Code lengths of a Huffman code for the frequencies, none longer than limit: a Huffman tree,
// then, where it is too deep, the longest codes shortened and others lengthened until the
// lengths fit again (Kraft's sum exactly one), the shortest codes going to the most frequent
// symbols. Symbols of frequency 0 get no code; at least two symbols get one.
std::vector<uint8_t> CodeLengths(std::vector<uint32_t> freq, int limit) {
  const size_t n = freq.size();
  size_t used = 0;
  for (uint32_t f : freq)
    used += f > 0;
  for (size_t s = 0; used < 2 && s < n; ++s)
    if (freq[s] == 0) {
      freq[s] = 1;
      ++used;
    }
  // The tree: leaves 0 .. n - 1, inner nodes after them.
  std::vector<uint64_t> weight(freq.begin(), freq.end());
  std::vector<int> parent(n, -1);
  using Node = std::pair<uint64_t, int>;
  std::priority_queue<Node, std::vector<Node>, std::greater<Node>> queue;
  for (size_t s = 0; s < n; ++s)
    if (freq[s] > 0)
      queue.push({freq[s], static_cast<int>(s)});
  while (queue.size() > 1) {
    const Node a = queue.top();
    queue.pop();
    const Node b = queue.top();
    queue.pop();
    const int inner = static_cast<int>(weight.size());
    weight.push_back(a.first + b.first);
    parent.push_back(-1);
    parent[static_cast<size_t>(a.second)] = inner;
    parent[static_cast<size_t>(b.second)] = inner;
    queue.push({a.first + b.first, inner});
  }
  std::vector<int> count(static_cast<size_t>(limit) + 1, 0);
  for (size_t s = 0; s < n; ++s) {
    if (freq[s] == 0)
      continue;
    int depth = 0;
    for (int p = parent[s]; p >= 0; p = parent[static_cast<size_t>(p)])
      ++depth;
    ++count[static_cast<size_t>(std::min(depth, limit))];
  }
  uint64_t kraft = 0;
  for (int l = 1; l <= limit; ++l)
    kraft += uint64_t{static_cast<uint64_t>(count[static_cast<size_t>(l)])} << (limit - l);
  while (kraft > (uint64_t{1} << limit)) {
    --count[static_cast<size_t>(limit)];
    for (int l = limit - 1; l > 0; --l)
      if (count[static_cast<size_t>(l)] > 0) {
        --count[static_cast<size_t>(l)];
        count[static_cast<size_t>(l) + 1] += 2;
        break;
      }
    --kraft;
  }
  std::vector<int> order;
  for (size_t s = 0; s < n; ++s)
    if (freq[s] > 0)
      order.push_back(static_cast<int>(s));
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return freq[static_cast<size_t>(a)] > freq[static_cast<size_t>(b)];
  });
  std::vector<uint8_t> lengths(n, 0);
  size_t next = 0;
  for (int l = 1; l <= limit; ++l)
    for (int k = 0; k < count[static_cast<size_t>(l)]; ++k)
      lengths[static_cast<size_t>(order[next++])] = static_cast<uint8_t>(l);
  return lengths;
}

// The canonical codes of the lengths, bit-reversed: Huffman codes go into the stream from their
// highest bit on, and the bit writer takes the lowest bit first.
std::vector<uint32_t> Codes(const std::vector<uint8_t>& lengths) {
  int count[16] = {};
  for (uint8_t l : lengths)
    ++count[l];
  count[0] = 0;
  uint32_t next[16] = {};
  uint32_t code = 0;
  for (int l = 1; l < 16; ++l) {
    code = (code + static_cast<uint32_t>(count[l - 1])) << 1;
    next[l] = code;
  }
  std::vector<uint32_t> codes(lengths.size(), 0);
  for (size_t s = 0; s < lengths.size(); ++s) {
    const int l = lengths[s];
    if (l == 0)
      continue;
    const uint32_t c = next[l]++;
    uint32_t reversed = 0;
    for (int i = 0; i < l; ++i)
      reversed |= ((c >> i) & 1) << (l - 1 - i);
    codes[s] = reversed;
  }
  return codes;
}

// The first position from `from` on where a and b differ, or size.
size_t EqualEnd(const uint8_t* a, const uint8_t* b, size_t from, size_t size) {
  size_t i = from;
  for (; i + 8 <= size; i += 8) {
    uint64_t x, y;
    std::memcpy(&x, a + i, 8);
    std::memcpy(&y, b + i, 8);
    if (x != y) {
      const uint64_t d = x ^ y; // the lowest differing byte is the first in memory
      return i + static_cast<size_t>(__builtin_ctzll(d) / 8);
    }
  }
  while (i < size && a[i] == b[i])
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
  data_ = {0x78, 0x01}; // zlib: deflate with a 32 KiB window
  symbols_.reserve(kBlockSymbols);
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
    symbols_.push_back(byte);
    lastByte_ = byte;
    --count;
  }
  for (; count >= 3; count -= std::min<size_t>(count, 258))
    symbols_.push_back(static_cast<uint16_t>(256 + std::min<size_t>(count, 258)));
  for (; count > 0; --count)
    symbols_.push_back(byte);
}

void TPngWriter::Block(bool last) {
  // Literal and length symbols with the end of the block (256); the one distance is code 0.
  std::vector<uint32_t> freq(286, 0);
  for (uint16_t s : symbols_)
    ++freq[s < 256 ? s : static_cast<size_t>(LengthSymbol(s - 256))];
  ++freq[256];
  const std::vector<uint8_t> lengths = CodeLengths(freq, 15);
  const std::vector<uint32_t> codes = Codes(lengths);
  size_t hlit = 286;
  while (hlit > 257 && lengths[hlit - 1] == 0)
    --hlit;

  // The code lengths, literal/length code then the distance code's single length of one, as
  // code-length symbols: 0 to 15 a length, 16 the previous one 3 to 6 times, 17 and 18 runs of
  // 3 to 10 and 11 to 138 zeros.
  std::vector<uint8_t> all(lengths.begin(), lengths.begin() + static_cast<ptrdiff_t>(hlit));
  all.push_back(1);
  std::vector<std::pair<uint8_t, uint8_t>> runs; // symbol, extra bits' value
  for (size_t i = 0; i < all.size();) {
    size_t j = i + 1;
    while (j < all.size() && all[j] == all[i])
      ++j;
    size_t n = j - i;
    if (all[i] == 0) {
      while (n >= 11) {
        const size_t k = std::min<size_t>(n, 138);
        runs.push_back({18, static_cast<uint8_t>(k - 11)});
        n -= k;
      }
      if (n >= 3) {
        runs.push_back({17, static_cast<uint8_t>(n - 3)});
        n = 0;
      }
    } else {
      runs.push_back({all[i], 0});
      --n;
      while (n >= 3) {
        const size_t k = std::min<size_t>(n, 6);
        runs.push_back({16, static_cast<uint8_t>(k - 3)});
        n -= k;
      }
    }
    for (; n > 0; --n)
      runs.push_back({all[i], 0});
    i = j;
  }
  std::vector<uint32_t> runFreq(19, 0);
  for (const auto& r : runs)
    ++runFreq[r.first];
  const std::vector<uint8_t> runLengths = CodeLengths(runFreq, 7);
  const std::vector<uint32_t> runCodes = Codes(runLengths);
  static const int kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
  int hclen = 19;
  while (hclen > 4 && runLengths[static_cast<size_t>(kOrder[hclen - 1])] == 0)
    --hclen;

  Bits(last ? 1 : 0, 1);
  Bits(2, 2); // dynamic Huffman codes
  Bits(static_cast<uint32_t>(hlit - 257), 5);
  Bits(0, 5); // one distance code
  Bits(static_cast<uint32_t>(hclen - 4), 4);
  for (int i = 0; i < hclen; ++i)
    Bits(runLengths[static_cast<size_t>(kOrder[i])], 3);
  static const int kRunExtra[19] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 3, 7};
  for (const auto& r : runs) {
    Bits(runCodes[r.first], runLengths[r.first]);
    Bits(r.second, kRunExtra[r.first]);
  }

  // The one distance code has length one: a zero bit after each length.
  for (uint16_t s : symbols_) {
    if (s < 256) {
      Bits(codes[s], lengths[s]);
      continue;
    }
    const int length = s - 256;
    const int symbol = LengthSymbol(length);
    Bits(codes[static_cast<size_t>(symbol)], lengths[static_cast<size_t>(symbol)]);
    Bits(static_cast<uint32_t>(length - kLengthBase[symbol - 257]), kLengthExtra[symbol - 257] + 1);
  }
  Bits(codes[256], lengths[256]);
  symbols_.clear();
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
      while (end < rowBytes_ && static_cast<uint8_t>(pixels[end] - above[end]) == value)
        ++end;
      Run(value, end - i);
    }
    i = end;
  }
  adlerA_ %= kAdler;
  adlerB_ %= kAdler;
  std::memcpy(previous_.data(), pixels, rowBytes_);
  if (symbols_.size() >= kBlockSymbols) {
    Block(false);
    FlushData(false);
  }
}

void TPngWriter::FlushData(bool all) {
  if (!all && data_.size() < kChunkBytes)
    return;
  Chunk("IDAT", data_.data(), data_.size());
  data_.clear();
}

void TPngWriter::Finish() {
  Block(true);
  Bits(0, (8 - bitCount_) % 8);
  uint8_t adler[4];
  PutBigEndian(adler, static_cast<uint32_t>(adlerB_ << 16 | adlerA_));
  data_.insert(data_.end(), adler, adler + 4);
  FlushData(true);
  Chunk("IEND", nullptr, 0);
}

// SPDX-License-Identifier: MIT
// The standard input of a running program, and read/readln as Free Pascal reads from it. Reading
// never consumes anything it cannot finish: when the input has not arrived yet, the position is
// left as it was and the read is tried again later.
#pragma once

#include <cstdint>
#include <string>

constexpr int kInputEnd = -1;     // the input is closed
constexpr int kInputPending = -2; // more may come, but it is not there yet

class TInputSource {
public:
  virtual ~TInputSource() = default;
  // The byte at position pos (counted from the start of the input), kInputEnd or kInputPending.
  virtual int At(uint64_t pos) = 0;
  // Nothing before pos will be asked for again.
  virtual void Forget(uint64_t /*pos*/) {}
};

// Input that is all there from the start (tests, the fuzz target); it ends after its bytes.
class TStringInput : public TInputSource {
public:
  explicit TStringInput(std::string bytes) : bytes_(std::move(bytes)) {}
  int At(uint64_t pos) override {
    return pos < bytes_.size() ? static_cast<unsigned char>(bytes_[pos]) : kInputEnd;
  }

private:
  std::string bytes_;
};

// Input typed line by line, as the editor's console passes it on; it ends only when closed.
class TTypedInput : public TInputSource {
public:
  void AddLine(const std::string& line) { bytes_ += line + '\n'; }
  void Close() { closed_ = true; }
  bool Closed() const { return closed_; }
  int At(uint64_t pos) override {
    if (pos < bytes_.size())
      return static_cast<unsigned char>(bytes_[pos]);
    return closed_ ? kInputEnd : kInputPending;
  }

private:
  std::string bytes_;
  bool closed_ = false;
};

enum class TReadResult { Done, Pending, NoNumber, TooLarge };

// read(x) of an integer, a real or a string, and the end of readln (up to and over the next line
// end); pos moves only on Done. A number skips blanks, tabs and line ends and takes the bytes up
// to the next one as its text; at the end of the input an integer reads 0, a real reads 0 only
// where blanks came before. A string takes the rest of the line, at most 255 bytes.
TReadResult ReadInteger(TInputSource& in, uint64_t& pos, int64_t& value, std::string& text);
TReadResult ReadReal(TInputSource& in, uint64_t& pos, double& value, std::string& text);
TReadResult ReadString(TInputSource& in, uint64_t& pos, std::string& value);
TReadResult SkipLine(TInputSource& in, uint64_t& pos);

// SPDX-License-Identifier: MIT
// The compiled form of a program's texts: typed expression nodes and actions that work on the
// run's variables. Internal to the interpreter; built by the compiler, run by the machine.
#pragma once

#include "language/pascal_values.h"
#include "language/program_input.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

// One variable's value; which member holds it follows from the variable's type.
union TCell {
  int64_t I;
  double R;
  bool B;
};

// A failure while the program runs; the machine adds the element's text.
class TRunError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// What a run writes: appended to, and cut back when a step is taken back.
class TOutputSink {
public:
  virtual ~TOutputSink() = default;
  virtual void Write(const char* data, std::size_t size) = 0;
  // Bytes written so far.
  virtual uint64_t Length() const = 0;
  // Drops everything from length on (only where steps can be taken back).
  virtual void Truncate(uint64_t length) = 0;
};

// Pascal's random numbers: the Mersenne twister seeded with randseed, as Free Pascal draws them.
struct TRandom {
  uint32_t Seed = 0;
  uint64_t Draws = 0;
  std::mt19937 Engine{0};

  uint32_t Next() {
    ++Draws;
    return static_cast<uint32_t>(Engine());
  }
  // The state after `draws` numbers from `seed`.
  void Reset(uint32_t seed, uint64_t draws) {
    Seed = seed;
    Engine.seed(seed);
    Engine.discard(draws);
    Draws = draws;
  }
};

class TChangeLog;

// Everything compiled code reads and changes while the program runs.
struct TRunState {
  std::vector<TCell> Cells;        // one per variable (strings: unused), then hidden slots
  std::vector<TPasString> Strings; // one per variable (only the string variables use theirs)
  TOutputSink* Output = nullptr;
  TInputSource* Input = nullptr;
  uint64_t InputPos = 0;
  TRandom Random;
  bool FixedSeed = false; // randomize keeps the seed, so that runs repeat
  int ExitCode = 0;
  TChangeLog* Log = nullptr; // set while steps are recorded for taking them back

  void SetCell(uint32_t slot, TCell value);
  void SetString(uint32_t slot, std::string_view value);
  void SetInputPos(uint64_t pos);
  // Draws the next random number; a recorded step notes where the generator stood.
  uint32_t NextRandom();
  void Reseed(uint32_t seed);
};

// Notes a change for taking the step back (defined with the history).
void RecordCell(TChangeLog& log, uint32_t slot, TCell before, TCell after);
void RecordString(TChangeLog& log, uint32_t slot, std::string_view before, std::string_view after);
void RecordInput(TChangeLog& log, uint64_t before, uint64_t after);
void RecordRandom(TChangeLog& log, uint32_t seed, uint64_t draws);

inline void TRunState::SetCell(uint32_t slot, TCell value) {
  if (Log)
    RecordCell(*Log, slot, Cells[slot], value);
  Cells[slot] = value;
}

inline void TRunState::SetString(uint32_t slot, std::string_view value) {
  if (Log)
    RecordString(*Log, slot, Strings[slot].View(), value.substr(0, kMaxPascalString));
  Strings[slot].Assign(value);
}

inline void TRunState::SetInputPos(uint64_t pos) {
  if (Log && pos != InputPos)
    RecordInput(*Log, InputPos, pos);
  InputPos = pos;
  Input->Forget(pos);
}

inline uint32_t TRunState::NextRandom() {
  if (Log)
    RecordRandom(*Log, Random.Seed, Random.Draws);
  return Random.Next();
}

inline void TRunState::Reseed(uint32_t seed) {
  if (Log)
    RecordRandom(*Log, Random.Seed, Random.Draws);
  Random.Reset(seed, 0);
}

// Every compiled node; the arena destroys them through this.
class TNode {
public:
  virtual ~TNode() = default;
};

class TIntNode : public TNode {
public:
  virtual int64_t Eval(TRunState& s) const = 0;
  // Variables and constants say so, for operations that read them in place.
  enum class TLeaf : uint8_t { None, Variable, Constant } Leaf = TLeaf::None;
};
class TRealNode : public TNode {
public:
  virtual double Eval(TRunState& s) const = 0;
};
class TBoolNode : public TNode {
public:
  virtual bool Eval(TRunState& s) const = 0;
};
class TStrNode : public TNode {
public:
  virtual void Eval(TRunState& s, TPasString& out) const = 0;
};

// How control goes on after an action.
enum class TFlow : uint8_t { Next, Break, Halt, Pending };

class TAction : public TNode {
public:
  virtual TFlow Exec(TRunState& s) const = 0;
};

// Owns every node of a compiled program; nodes point at each other freely. Nodes are placed in
// large blocks, since a big program has hundreds of thousands of them.
class TNodeArena {
public:
  TNodeArena() = default;
  TNodeArena(const TNodeArena&) = delete;
  TNodeArena& operator=(const TNodeArena&) = delete;
  ~TNodeArena() {
    for (auto it = nodes_.rbegin(); it != nodes_.rend(); ++it)
      (*it)->~TNode();
  }

  template <class T, class... A> T* Make(A&&... args) {
    static_assert(alignof(T) <= alignof(std::max_align_t), "over-aligned node");
    constexpr std::size_t size = (sizeof(T) + alignof(std::max_align_t) - 1) &
                                 ~(alignof(std::max_align_t) - 1);
    if (blocks_.empty() || used_ + size > kBlockSize) {
      blocks_.push_back(std::make_unique<std::max_align_t[]>(kBlockSize / sizeof(std::max_align_t)));
      used_ = 0;
    }
    void* place = reinterpret_cast<char*>(blocks_.back().get()) + used_;
    used_ += size;
    T* node = new (place) T(std::forward<A>(args)...);
    nodes_.push_back(node);
    return node;
  }
  std::size_t Size() const { return nodes_.size(); }

private:
  static constexpr std::size_t kBlockSize = 64 * 1024;
  std::vector<std::unique_ptr<std::max_align_t[]>> blocks_;
  std::size_t used_ = 0;
  std::vector<TNode*> nodes_;
};

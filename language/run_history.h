// SPDX-License-Identifier: MIT
// What each step of a run changed, so that steps can be taken back and the desk-check table can
// show the values after any step. A step costs what it changed (and a copy of all values every
// 256 steps); the oldest steps are given up when the history outgrows its memory budget.
#pragma once

#include "language/run_nodes.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

// One change a step made.
struct TChange {
  enum TKind : uint8_t { Cell, String, Input, Random } Kind = Cell;
  uint32_t Slot = 0;   // Cell, String: the slot; Random: the seed before
  uint64_t Before = 0; // Cell: the bits; String: offset of the text; Input: position; Random: draws
  uint64_t After = 0;
};

// Where a step began: enough, with its changes, to return there.
struct TStepRecord {
  uint32_t Step = 0;     // the program step it ran (its index in TRunProgram::Steps)
  uint32_t Action = 0;   // the statement's action it began with (a step resumed after input)
  uint32_t FirstChange = 0;
  uint64_t OutputLength = 0;
};

// The variables' values at one moment, for the desk-check table.
struct TValues {
  std::vector<TCell> Cells;          // one per variable
  std::vector<std::string> Strings; // one per variable (used by string variables)
};

class TChangeLog {
public:
  // variables: how many cells and strings belong to variables (the rest are hidden).
  TChangeLog(std::size_t variables, uint64_t budgetBytes);

  // Opens the record of a step; `now` are the values before it.
  void Begin(const TStepRecord& where, const TRunState& now);
  void Cell(uint32_t slot, TCell before, TCell after);
  void String(uint32_t slot, std::string_view before, std::string_view after);
  void Input(uint64_t before, uint64_t after);
  void Random(uint32_t seed, uint64_t draws);

  // The records kept: absolute step numbers from First() to First() + Count() - 1 (0-based).
  // The oldest are dropped once the history takes more than its budget.
  uint64_t First() const;
  uint64_t Count() const { return count_; }
  const TStepRecord& Record(uint64_t step) const;
  // Undoes the newest record's changes on `state` and drops the record; false when none is left.
  bool Undo(TRunState& state, TStepRecord& where);
  // The values after step `step`, and whether the step changed variable `variable`.
  void ValuesAfter(uint64_t step, TValues& out) const;
  bool Changed(uint64_t step, std::size_t variable) const;
  uint64_t Bytes() const { return bytes_; }

private:
  static constexpr uint64_t kChunkSteps = 65536;
  static constexpr uint64_t kSnapshotEvery = 256;
  struct TChunk {
    uint64_t First = 0;
    std::vector<TStepRecord> Records;
    std::vector<TChange> Changes;
    std::string Texts; // string values of the changes, each as a length byte and its bytes
    std::vector<TValues> Snapshots; // before records 0, 256, 512, ...
    uint64_t Bytes() const;
  };
  uint64_t AddText(TChunk& chunk, std::string_view text);
  std::string_view Text(const TChunk& chunk, uint64_t offset) const;
  const TChunk& ChunkOf(uint64_t step) const;
  void Apply(const TChunk& chunk, const TChange& c, TValues& values) const;
  void Trim();

  std::size_t variables_;
  uint64_t budget_;
  std::deque<TChunk> chunks_;
  uint64_t count_ = 0;
  uint64_t next_ = 0;  // absolute number of the next record
  uint64_t bytes_ = 0; // of the finished chunks
};

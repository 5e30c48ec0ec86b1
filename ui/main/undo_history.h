// SPDX-License-Identifier: MIT
// Ten snapshots of the whole document for "Rückgängig", position 1 the newest.
#pragma once

#include "model/element.h"

#include <cstdint>
#include <optional>
#include <string>

class TUndoHistory {
public:
  static constexpr int kSize = 10;

  // Discards the snapshots stepped back over, then records program as the newest, dropping the
  // oldest when all ten positions are taken.
  void PushUndo(const TBlock& program);
  // Disposes of the newest snapshot and closes the gap; position 10 becomes empty.
  void DropNewestUndo();
  // True when undo has a snapshot to step back to.
  bool CanStepBack() const;
  // Steps back one snapshot and returns a copy of it for the document, or nothing when there is
  // none. The copy is made before the position moves, so a failed copy changes nothing. The
  // first step back keeps current, the document it leaves, for stepping forward again.
  TOwned<TBlock> StepBack(const TBlock* current = nullptr);
  // True when redo has a state to step forward to: what an undo left, and no change since.
  bool CanStepForward() const;
  // Steps forward again through what StepBack took back and returns a copy of that state.
  TOwned<TBlock> StepForward();
  // Disposes of every snapshot; UndoPosition becomes 0.
  void Clear();

  // A copy of the snapshot at position 1..10, or nullptr.
  TOwned<TBlock> Snapshot(int position) const;
  int Count() const;
  int32_t UndoPosition() const { return UndoPosition_; }

private:
  // A snapshot is held as the document's file bytes: taking, keeping and dropping those costs a
  // fraction of a deep copy of the tree, and reading them back gives the same tree.
  std::optional<std::string> History[kSize]; // position p stored at p - 1
  // The document as the first step back found it; any new snapshot drops it.
  std::optional<std::string> RedoTop_;
  int32_t UndoPosition_ = 0;
};

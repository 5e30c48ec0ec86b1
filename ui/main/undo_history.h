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
  // As PushUndo, but the entry holds nothing: for a snapshot that is dropped again before
  // anything could step back to it. Stepping back to it does nothing.
  void PushPlaceholder();
  // Disposes of the newest snapshot and closes the gap; position 10 becomes empty.
  void DropNewestUndo();
  // True when undo has a snapshot to step back to.
  bool CanStepBack() const;
  // Steps back one snapshot: document becomes a copy of it, or nothing happens when there is
  // none. The copy is made first, so a failed copy changes nothing. The document replaced is
  // kept for stepping forward again after the first step back, and freed after later ones.
  bool StepBack(TOwned<TBlock>& document);
  // True when redo has a state to step forward to: what an undo left, and no change since.
  bool CanStepForward() const;
  // Steps forward again through what StepBack took back; the document replaced is freed.
  bool StepForward(TOwned<TBlock>& document);
  // Disposes of every snapshot; UndoPosition becomes 0.
  void Clear();

  // A copy of the snapshot at position 1..10, or nullptr.
  TOwned<TBlock> Snapshot(int position) const;
  int Count() const;
  int32_t UndoPosition() const { return UndoPosition_; }

private:
  // A snapshot is held as the document's file bytes: taking, keeping and dropping those costs a
  // fraction of a deep copy of the tree, and reading them back gives the same tree.
  void Push(std::string snapshot);
  std::optional<std::string> History[kSize]; // position p stored at p - 1
  // The document the first step back replaced, kept as it was; any new snapshot drops it.
  TOwned<TBlock> RedoTop_;
  int32_t UndoPosition_ = 0;
};

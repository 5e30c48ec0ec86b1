// SPDX-License-Identifier: MIT
// Ten snapshots of the whole document for "Rückgängig", position 1 the newest.
#pragma once

#include "model/element.h"

#include <cstdint>

class TUndoHistory {
public:
  static constexpr int kSize = 10;

  // Discards the snapshots stepped back over, then records a deep copy of program as the newest,
  // dropping the oldest when all ten positions are taken.
  void PushUndo(const TBlock& program);
  // Disposes of the newest snapshot and closes the gap; position 10 becomes empty.
  void DropNewestUndo();
  // True when undo has a snapshot to step back to.
  bool CanStepBack() const;
  // Steps back one snapshot and returns a copy of it for the document, or nothing when there is
  // none. The copy is made before the position moves, so a failed copy changes nothing.
  TOwned<TBlock> StepBack();
  // Disposes of every snapshot; UndoPosition becomes 0.
  void Clear();

  // The snapshot at position 1..10, or nullptr.
  const TBlock* Snapshot(int position) const;
  int Count() const;
  int32_t UndoPosition() const { return UndoPosition_; }

private:
  TOwned<TBlock> History[kSize];  // position p stored at p - 1
  int32_t UndoPosition_ = 0;
};

// SPDX-License-Identifier: MIT
#include "ui/main/undo_history.h"

#include <utility>

void TUndoHistory::PushUndo(const TBlock& program) {
  // Copy first: when it fails, the history stays as it was.
  TOwned<TBlock> snapshot = CreateCopy(program);
  while (UndoPosition_ > 0) {
    DropNewestUndo();
    --UndoPosition_;
  }
  History[kSize - 1].reset();
  for (int i = kSize - 1; i >= 1; --i) History[i] = std::move(History[i - 1]);
  History[0] = std::move(snapshot);
  UndoPosition_ = 0;
}

void TUndoHistory::DropNewestUndo() {
  History[0].reset();
  for (int i = 0; i < kSize - 1; ++i) History[i] = std::move(History[i + 1]);
  History[kSize - 1].reset();
}

bool TUndoHistory::CanStepBack() const {
  return UndoPosition_ < kSize && History[UndoPosition_] != nullptr;
}

TOwned<TBlock> TUndoHistory::StepBack() {
  if (!CanStepBack()) return nullptr;
  TOwned<TBlock> copy = CreateCopy(*History[UndoPosition_]);
  ++UndoPosition_;
  return copy;
}

void TUndoHistory::Clear() {
  for (auto& snapshot : History) snapshot.reset();
  UndoPosition_ = 0;
}

const TBlock* TUndoHistory::Snapshot(int position) const {
  return position >= 1 && position <= kSize ? History[position - 1].get() : nullptr;
}

int TUndoHistory::Count() const {
  int n = 0;
  while (n < kSize && History[n]) ++n;
  return n;
}

// SPDX-License-Identifier: MIT
#include "ui/main/undo_history.h"

#include "model/stream.h"
#include "model/structogram_file.h"

#include <utility>

namespace {

std::string Image(const TBlock& program) {
  TMemoryStream stream;
  SaveDocument(program, stream);
  return std::move(stream.Data);
}

TOwned<TBlock> Restore(const std::string& image) {
  TMemoryStream stream(image);
  return std::move(LoadDocument(stream).Root);
}

} // namespace

void TUndoHistory::PushUndo(const TBlock& program) {
  // Taken first: when it fails, the history stays as it was.
  std::string snapshot = Image(program);
  // A change after undo makes every state stepped back over unreachable, also for redo.
  RedoTop_.reset();
  while (UndoPosition_ > 0) {
    DropNewestUndo();
    --UndoPosition_;
  }
  for (int i = kSize - 1; i >= 1; --i)
    History[i] = std::move(History[i - 1]);
  History[0] = std::move(snapshot);
  UndoPosition_ = 0;
}

void TUndoHistory::DropNewestUndo() {
  for (int i = 0; i < kSize - 1; ++i)
    History[i] = std::move(History[i + 1]);
  History[kSize - 1].reset();
}

bool TUndoHistory::CanStepBack() const {
  return UndoPosition_ < kSize && History[UndoPosition_].has_value();
}

TOwned<TBlock> TUndoHistory::StepBack(const TBlock* current) {
  if (!CanStepBack())
    return nullptr;
  TOwned<TBlock> copy = Restore(*History[UndoPosition_]);
  if (UndoPosition_ == 0) {
    if (current)
      RedoTop_ = Image(*current);
    else
      RedoTop_.reset();
  }
  ++UndoPosition_;
  return copy;
}

bool TUndoHistory::CanStepForward() const {
  // After k steps back the document is snapshot k; forward lies snapshot k - 1, or for the
  // last step the document the first step back left.
  return UndoPosition_ > 1 || (UndoPosition_ == 1 && RedoTop_.has_value());
}

TOwned<TBlock> TUndoHistory::StepForward() {
  if (!CanStepForward())
    return nullptr;
  TOwned<TBlock> copy = Restore(UndoPosition_ > 1 ? *History[UndoPosition_ - 2] : *RedoTop_);
  --UndoPosition_;
  if (UndoPosition_ == 0)
    RedoTop_.reset();
  return copy;
}

void TUndoHistory::Clear() {
  for (auto& snapshot : History)
    snapshot.reset();
  RedoTop_.reset();
  UndoPosition_ = 0;
}

TOwned<TBlock> TUndoHistory::Snapshot(int position) const {
  if (position < 1 || position > kSize || !History[position - 1])
    return nullptr;
  return Restore(*History[position - 1]);
}

int TUndoHistory::Count() const {
  int n = 0;
  while (n < kSize && History[n])
    ++n;
  return n;
}

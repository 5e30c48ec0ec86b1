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

TOwned<TBlock> TUndoHistory::StepBack() {
  if (!CanStepBack())
    return nullptr;
  TOwned<TBlock> copy = Restore(*History[UndoPosition_]);
  ++UndoPosition_;
  return copy;
}

void TUndoHistory::Clear() {
  for (auto& snapshot : History)
    snapshot.reset();
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

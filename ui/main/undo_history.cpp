// SPDX-License-Identifier: MIT
#include "ui/main/undo_history.h"

#include "model/stream.h"
#include "model/structogram_file.h"

#include <utility>

namespace {

std::string Image(const TBlock& program, std::size_t expected) {
  TMemoryStream stream;
  // Snapshots of one document are of much the same size; growing to it piece by piece would
  // copy it several times.
  stream.Data.reserve(expected + expected / 8 + 64);
  SaveDocument(program, stream);
  return std::move(stream.Data);
}

TOwned<TBlock> Restore(const std::string& image) {
  TMemoryStream stream(image);
  return std::move(LoadDocument(stream).Root);
}

} // namespace

void TUndoHistory::PushPlaceholder() { Push(std::string()); }

void TUndoHistory::PushUndo(const TBlock& program) {
  // Taken first: when it fails, the history stays as it was.
  const std::size_t expected = History[0] ? History[0]->size() : History[1] ? History[1]->size() : 0;
  Push(Image(program, expected));
}

void TUndoHistory::Push(std::string snapshot) {
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
  // A placeholder (empty: a real snapshot is never) is nothing to step back to.
  return UndoPosition_ < kSize && History[UndoPosition_].has_value() &&
         !History[UndoPosition_]->empty();
}

bool TUndoHistory::StepBack(TOwned<TBlock>& document) {
  if (!CanStepBack())
    return false;
  TOwned<TBlock> copy = Restore(*History[UndoPosition_]);
  if (UndoPosition_ == 0)
    RedoTop_ = std::move(document);
  document = std::move(copy);
  ++UndoPosition_;
  return true;
}

bool TUndoHistory::CanStepForward() const {
  // After k steps back the document is snapshot k; forward lies snapshot k - 1, or for the
  // last step the document the first step back replaced.
  return (UndoPosition_ > 1 && !History[UndoPosition_ - 2]->empty()) ||
         (UndoPosition_ == 1 && RedoTop_ != nullptr);
}

bool TUndoHistory::StepForward(TOwned<TBlock>& document) {
  if (!CanStepForward())
    return false;
  document = UndoPosition_ > 1 ? Restore(*History[UndoPosition_ - 2]) : std::move(RedoTop_);
  --UndoPosition_;
  return true;
}

void TUndoHistory::Clear() {
  for (auto& snapshot : History)
    snapshot.reset();
  RedoTop_.reset();
  UndoPosition_ = 0;
}

TOwned<TBlock> TUndoHistory::Snapshot(int position) const {
  if (position < 1 || position > kSize || !History[position - 1] || History[position - 1]->empty())
    return nullptr;
  return Restore(*History[position - 1]);
}

int TUndoHistory::Count() const {
  int n = 0;
  while (n < kSize && History[n])
    ++n;
  return n;
}

// SPDX-License-Identifier: MIT
#include "language/run_history.h"

#include <algorithm>
#include <cstring>

namespace {

uint64_t Bits(TCell c) {
  uint64_t bits = 0;
  std::memcpy(&bits, &c, sizeof c);
  return bits;
}

TCell FromBits(uint64_t bits) {
  TCell c;
  std::memcpy(&c, &bits, sizeof c);
  return c;
}

} // namespace

void RecordCell(TChangeLog& log, uint32_t slot, TCell before, TCell after) {
  log.Cell(slot, before, after);
}
void RecordString(TChangeLog& log, uint32_t slot, std::string_view before, std::string_view after) {
  log.String(slot, before, after);
}
void RecordInput(TChangeLog& log, uint64_t before, uint64_t after) {
  log.Input(before, after);
}
void RecordRandom(TChangeLog& log, uint32_t seed, uint64_t draws) {
  log.Random(seed, draws);
}

TChangeLog::TChangeLog(std::size_t variables, uint64_t budgetBytes)
    : variables_(variables), budget_(budgetBytes) {}

uint64_t TChangeLog::TChunk::Bytes() const {
  uint64_t bytes = Records.capacity() * sizeof(TStepRecord) + Changes.capacity() * sizeof(TChange) +
                   Texts.capacity();
  for (const TValues& v : Snapshots) {
    bytes += v.Cells.size() * sizeof(TCell) + v.Strings.size() * sizeof(std::string);
    for (const std::string& s : v.Strings)
      bytes += s.capacity();
  }
  return bytes;
}

uint64_t TChangeLog::First() const {
  return chunks_.empty() ? next_ : chunks_.front().First;
}

void TChangeLog::Begin(const TStepRecord& where, const TRunState& now) {
  if (chunks_.empty() || chunks_.back().Records.size() == kChunkSteps) {
    const uint64_t first = chunks_.empty() ? next_ : chunks_.back().First + kChunkSteps;
    if (!chunks_.empty())
      bytes_ += chunks_.back().Bytes(); // the finished chunk's final size
    chunks_.emplace_back();
    chunks_.back().First = first;
    Trim();
  }
  TChunk& chunk = chunks_.back();
  if (chunk.Records.size() % kSnapshotEvery == 0) {
    TValues values;
    values.Cells.assign(now.Cells.begin(), now.Cells.begin() + static_cast<std::ptrdiff_t>(variables_));
    values.Strings.resize(variables_);
    for (std::size_t i = 0; i < variables_; ++i)
      if (now.Strings[i].Length)
        values.Strings[i] = std::string(now.Strings[i].View());
    chunk.Snapshots.push_back(std::move(values));
  }
  TStepRecord record = where;
  record.FirstChange = static_cast<uint32_t>(chunk.Changes.size());
  chunk.Records.push_back(record);
  ++count_;
  ++next_;
}

void TChangeLog::Cell(uint32_t slot, TCell before, TCell after) {
  if (chunks_.empty())
    return; // a change before the first step: the first snapshot holds it
  chunks_.back().Changes.push_back({TChange::Cell, slot, Bits(before), Bits(after)});
}

uint64_t TChangeLog::AddText(TChunk& chunk, std::string_view text) {
  const uint64_t offset = chunk.Texts.size();
  chunk.Texts += static_cast<char>(static_cast<unsigned char>(text.size()));
  chunk.Texts.append(text.data(), text.size());
  return offset;
}

std::string_view TChangeLog::Text(const TChunk& chunk, uint64_t offset) const {
  const auto length = static_cast<unsigned char>(chunk.Texts[offset]);
  return std::string_view(chunk.Texts).substr(offset + 1, length);
}

void TChangeLog::String(uint32_t slot, std::string_view before, std::string_view after) {
  if (chunks_.empty())
    return; // a change before the first step: the first snapshot holds it
  TChunk& chunk = chunks_.back();
  const uint64_t b = AddText(chunk, before);
  const uint64_t a = AddText(chunk, after);
  chunk.Changes.push_back({TChange::String, slot, b, a});
}

void TChangeLog::Input(uint64_t before, uint64_t after) {
  if (chunks_.empty())
    return; // a change before the first step: the first snapshot holds it
  chunks_.back().Changes.push_back({TChange::Input, 0, before, after});
}

void TChangeLog::Random(uint32_t seed, uint64_t draws) {
  if (chunks_.empty())
    return; // a change before the first step: the first snapshot holds it
  chunks_.back().Changes.push_back({TChange::Random, seed, draws, draws});
}

void TChangeLog::Trim() {
  // The newest chunk always stays, so that the last steps can be taken back.
  while (chunks_.size() > 1 && bytes_ > budget_) {
    bytes_ -= std::min(bytes_, chunks_.front().Bytes());
    count_ -= chunks_.front().Records.size();
    chunks_.pop_front();
  }
}

const TStepRecord& TChangeLog::Record(uint64_t step) const {
  const TChunk& chunk = ChunkOf(step);
  return chunk.Records[step - chunk.First];
}

const TChangeLog::TChunk& TChangeLog::ChunkOf(uint64_t step) const {
  const uint64_t index = (step - chunks_.front().First) / kChunkSteps;
  return chunks_[index];
}

bool TChangeLog::Undo(TRunState& state, TStepRecord& where) {
  if (chunks_.empty())
    return false;
  TChunk& chunk = chunks_.back();
  where = chunk.Records.back();
  uint64_t texts = chunk.Texts.size();
  for (std::size_t i = chunk.Changes.size(); i-- > where.FirstChange;) {
    const TChange& c = chunk.Changes[i];
    switch (c.Kind) {
    case TChange::Cell:
      state.Cells[c.Slot] = FromBits(c.Before);
      break;
    case TChange::String:
      state.Strings[c.Slot].Assign(Text(chunk, c.Before));
      texts = std::min(texts, c.Before);
      break;
    case TChange::Input:
      state.InputPos = c.Before;
      break;
    case TChange::Random:
      state.Random.Reset(c.Slot, c.Before);
      break;
    }
  }
  chunk.Changes.resize(where.FirstChange);
  chunk.Texts.resize(texts);
  if ((chunk.Records.size() - 1) % kSnapshotEvery == 0)
    chunk.Snapshots.pop_back();
  chunk.Records.pop_back();
  if (chunk.Records.empty()) {
    chunks_.pop_back();
    // The chunk before, finished, was counted; it is the open one again.
    if (!chunks_.empty())
      bytes_ -= std::min(bytes_, chunks_.back().Bytes());
  }
  --count_;
  --next_;
  return true;
}

void TChangeLog::Apply(const TChunk& chunk, const TChange& c, TValues& values) const {
  if (c.Slot >= variables_)
    return;
  if (c.Kind == TChange::Cell)
    values.Cells[c.Slot] = FromBits(c.After);
  else if (c.Kind == TChange::String)
    values.Strings[c.Slot] = std::string(Text(chunk, c.After));
}

void TChangeLog::ValuesAfter(uint64_t step, TValues& out) const {
  const TChunk& chunk = ChunkOf(step);
  const uint64_t local = step - chunk.First;
  const uint64_t from = local / kSnapshotEvery * kSnapshotEvery;
  out = chunk.Snapshots[local / kSnapshotEvery];
  const std::size_t end =
      local + 1 < chunk.Records.size() ? chunk.Records[local + 1].FirstChange : chunk.Changes.size();
  for (std::size_t i = chunk.Records[from].FirstChange; i < end; ++i) {
    const TChange& c = chunk.Changes[i];
    if (c.Kind == TChange::Cell || c.Kind == TChange::String)
      Apply(chunk, c, out);
  }
}

bool TChangeLog::Changed(uint64_t step, std::size_t variable) const {
  const TChunk& chunk = ChunkOf(step);
  const uint64_t local = step - chunk.First;
  const std::size_t end =
      local + 1 < chunk.Records.size() ? chunk.Records[local + 1].FirstChange : chunk.Changes.size();
  for (std::size_t i = chunk.Records[local].FirstChange; i < end; ++i) {
    const TChange& c = chunk.Changes[i];
    if ((c.Kind == TChange::Cell || c.Kind == TChange::String) && c.Slot == variable)
      return true;
  }
  return false;
}

// SPDX-License-Identifier: MIT
#include "model/structogram_file.h"

#include "model/stream.h"

#include <string>
#include <vector>

namespace {

const char kTextEnd = '\x01';
const char kChainEnd[2] = {'\x02', '\x02'};

// --- Writing -------------------------------------------------------------------------------------

char TagLetter(TKind kind) {
  switch (kind) {
  case TKind::Anweisung:
    return 'A';
  case TKind::Block:
    return 'B';
  case TKind::If:
    return 'I';
  case TKind::While:
    return 'W';
  case TKind::For:
    return 'F';
  case TKind::DoWhile:
    return 'D';
  case TKind::Repeat:
    return 'R';
  }
  return '?';
}

// What is still to be written: a chain of records, or the ChainEnd that closes an inner chain.
struct TWriteStep {
  const TElement* Chain;
  bool ChainEnd;
};

// Writes the records of head and its successors. A compound element defers its successors
// behind its sub-chains on an explicit stack, so neither long chains nor deep nesting recurse.
void WriteChain(const TElement* head, TStream& stream) {
  std::string record;
  std::vector<TWriteStep> steps{{head, false}};
  while (!steps.empty()) {
    const TWriteStep step = steps.back();
    steps.pop_back();
    if (step.ChainEnd) {
      stream.WriteBuffer(kChainEnd, 2);
      continue;
    }
    const TElement* e = step.Chain;
    for (; e; e = e->Next) {
      // A text is written whole, up to its first zero byte.
      record.assign(1, TagLetter(e->Kind()));
      record += ':';
      record.append(e->Text.c_str());
      record += kTextEnd;
      stream.WriteBuffer(record.data(), record.size());
      if (const TBlock* block = As<TBlock>(e)) {
        if (e->Next)
          steps.push_back({e->Next, false});
        steps.push_back({nullptr, true});
        if (block->Body)
          steps.push_back({block->Body, false});
        break;
      }
      if (const TBedingung* cond = As<TBedingung>(e)) {
        if (e->Next)
          steps.push_back({e->Next, false});
        if (e->Kind() == TKind::If) {
          steps.push_back({nullptr, true});
          if (cond->Branch2)
            steps.push_back({cond->Branch2, false});
        }
        steps.push_back({nullptr, true});
        if (cond->Branch1)
          steps.push_back({cond->Branch1, false});
        break;
      }
    }
  }
}

// --- Reading -------------------------------------------------------------------------------------

const char* const kReadError = "Stream-Lesefehler";

// Reads the stream in large pieces; a load consumes the whole stream, so reading ahead is safe.
class TByteReader {
public:
  explicit TByteReader(TStream& stream) : stream_(stream) {}

  // The next byte, or -1 at the end of the data.
  int Get() {
    if (pos_ == end_ && !Fill())
      return -1;
    return static_cast<unsigned char>(buffer_[pos_++]);
  }

  bool AtEnd() { return pos_ == end_ && !Fill(); }

  // Reads up to n bytes, returning how many there were.
  std::size_t Skip(std::size_t n) {
    std::size_t got = 0;
    while (got < n && Get() >= 0)
      ++got;
    return got;
  }

private:
  bool Fill() {
    end_ = stream_.Read(buffer_, sizeof buffer_);
    pos_ = 0;
    return end_ > 0;
  }

  TStream& stream_;
  char buffer_[64 * 1024];
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
};

class TDocumentReader {
public:
  explicit TDocumentReader(TStream& stream) : in_(stream) {}

  TLoadResult ReadDocument() {
    TLoadResult result;
    in_.Skip(2);
    result.Root.reset(static_cast<TBlock*>(CreateBare(TKind::Block).release()));
    ReadBlockContent(*result.Root, 1);
    // The root's successor tag normally meets the end of the file. Bytes there are read as
    // the root's successors, like any block's, so nothing in the file is dropped; that such
    // bytes exist at all is noted as damage.
    if (!in_.AtEnd()) {
      damaged_ = true;
      ReadChain(&result.Root->Next, 1);
      if (!in_.AtEnd())
        damaged_ = true;
    }
    result.Root->Independent = false;
    result.Root->Bracketed = false;
    result.Damaged = damaged_;
    return result;
  }

private:
  TText ReadTextField() {
    TText text;
    for (;;) {
      const int byte = in_.Get();
      if (byte < 0)
        throw TStreamError(kReadError);
      if (byte == kTextEnd)
        return text;
      if (byte != 0)
        text += static_cast<char>(byte);
    }
  }

  // Reads a tag and returns the kind it starts, or false for ChainEnd, end of file or an
  // unknown letter (the last two are damage).
  bool ReadTag(TKind& kind) {
    const int first = in_.Get();
    const int second = first < 0 ? -1 : in_.Get();
    if (second < 0) {
      damaged_ = true;
      return false;
    }
    switch (first) {
    case 0x02:
      return false;
    case 'A':
      kind = TKind::Anweisung;
      return true;
    case 'B':
      kind = TKind::Block;
      return true;
    case 'D':
      kind = TKind::DoWhile;
      return true;
    case 'F':
      kind = TKind::For;
      return true;
    case 'I':
      kind = TKind::If;
      return true;
    case 'R':
      kind = TKind::Repeat;
      return true;
    case 'W':
      kind = TKind::While;
      return true;
    default:
      damaged_ = true;
      return false;
    }
  }

  // Reads elements into *slot and along their Next links until a tag yields none. Blocks met
  // in this chain sit at nesting level `level`.
  void ReadChain(TElement** slot, int level) {
    TKind kind;
    while (ReadTag(kind)) {
      TElement* e = CreateBare(kind).release();
      *slot = e; // linked at once: a failure later still frees it with the tree
      slot = &e->Next;
      ReadContent(*e, level);
      e->Independent = true;
    }
  }

  void ReadBlockContent(TBlock& block, int level) {
    if (level > kMaxNestingDepth)
      throw TStreamError("Die Datei ist zu tief verschachtelt (mehr als " +
                         std::to_string(kMaxNestingDepth) + " Ebenen).");
    block.Text = ReadTextField();
    block.Framed = true;
    block.Bracketed = true;
    ReadChain(&block.Body, level + 1);
  }

  // A branch block after its two unchecked tag bytes, with whatever successors it was given.
  TBlock* ReadBranch(TBlock** slot, int level) {
    in_.Skip(2);
    TBlock* branch = static_cast<TBlock*>(CreateBare(TKind::Block).release());
    *slot = branch;
    ReadBlockContent(*branch, level);
    ReadChain(&branch->Next, level);
    branch->Independent = false;
    return branch;
  }

  void ReadContent(TElement& e, int level) {
    if (TBlock* block = As<TBlock>(&e)) {
      ReadBlockContent(*block, level);
      return;
    }
    e.Text = ReadTextField();
    if (TBedingung* cond = As<TBedingung>(&e)) {
      ReadBranch(&cond->Branch1, level);
      if (e.Kind() == TKind::If)
        ReadBranch(&cond->Branch2, level);
      if (e.Kind() == TKind::Repeat)
        cond->Branch1->Bracketed = false;
    }
  }

  TByteReader in_;
  bool damaged_ = false;
};

} // namespace

void TAnweisung::SaveToStream(TStream& stream) const {
  WriteChain(this, stream);
}
void TBlock::SaveToStream(TStream& stream) const {
  WriteChain(this, stream);
}
void TIf::SaveToStream(TStream& stream) const {
  WriteChain(this, stream);
}
void TWhile::SaveToStream(TStream& stream) const {
  WriteChain(this, stream);
}
void TFor::SaveToStream(TStream& stream) const {
  WriteChain(this, stream);
}
void TDoWhile::SaveToStream(TStream& stream) const {
  WriteChain(this, stream);
}
void TRepeat::SaveToStream(TStream& stream) const {
  WriteChain(this, stream);
}

TLoadResult LoadDocument(TStream& stream) {
  // The reader's buffer is large; keep it off the caller's stack.
  auto reader = std::make_unique<TDocumentReader>(stream);
  return reader->ReadDocument();
}

TLoadResult LoadDocumentFile(const std::string& path) {
  TFileReadStream stream(path);
  return LoadDocument(stream);
}

void SaveDocument(const TBlock& root, TStream& stream) {
  root.SaveToStream(stream);
}

void SaveDocumentFile(const TBlock& root, const std::string& path) {
  TFileWriteStream stream(path);
  SaveDocument(root, stream);
  stream.Commit();
}

// SPDX-License-Identifier: MIT
#include "model/structogram_file.h"

#include "model/stream.h"
#include "model/texts.h"

#include <algorithm>
#include <cstring>
#include <memory>
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
  int32_t Level;  // the nesting level of the chain's blocks, as the reader counts it
  bool ChainEnd;
  bool Branch;  // the chain starts with a branch block; its successors lie one level deeper
};

[[noreturn]] void RefuseText() {
  throw TStreamError(Tr("Datei", "Ein Text enthält ein Steuerzeichen (0x00 oder 0x01), das eine "
                                 "Struktogramm-Datei nicht speichern kann; es wurde nichts "
                                 "geschrieben."));
}

[[noreturn]] void RefuseDepth() {
  throw TStreamError(Format(Tr("Datei", "Das Struktogramm ist tiefer verschachtelt als %1 Ebenen "
                                        "und kann nicht gespeichert werden; es wurde nichts "
                                        "geschrieben."),
                            {std::to_string(kMaxNestingDepth)}));
}

// Writes the records of head and its successors. A compound element defers its successors
// behind its sub-chains on an explicit stack, so neither long chains nor deep nesting recurse.
// checked: refuse (before the stream is committed) a text holding 0x00 or 0x01 or nesting
// deeper than the reader takes, which would read back differently.
// Gathers bytes and hands them to the stream in large pieces.
class TPieceWriter {
public:
  explicit TPieceWriter(TStream& stream) : stream_(stream), buffer_(new char[kPiece]) {}
  void Put(char c) {
    if (used_ == kPiece)
      Flush();
    buffer_[used_++] = c;
  }
  void Put(const char* bytes, std::size_t n) {
    if (n > kPiece - used_) {
      Flush();
      if (n > kPiece) {
        stream_.WriteBuffer(bytes, n);
        return;
      }
    }
    std::memcpy(buffer_.get() + used_, bytes, n);
    used_ += n;
  }
  void Flush() {
    stream_.WriteBuffer(buffer_.get(), used_);
    used_ = 0;
  }

private:
  static constexpr std::size_t kPiece = 64 * 1024;
  TStream& stream_;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
};

void WriteChain(const TElement* head, TStream& stream, bool checked) {
  TPieceWriter out(stream);
  std::vector<TWriteStep> steps{{head, 1, false, false}};
  while (!steps.empty()) {
    const TWriteStep step = steps.back();
    steps.pop_back();
    if (step.ChainEnd) {
      out.Put(kChainEnd, 2);
      continue;
    }
    int32_t level = step.Level;
    for (const TElement* e = step.Chain; e; e = e->Next) {
      const TKind kind = e->Kind();
      // A text is written whole, up to its first zero byte.
      const char* text = e->Text.data();
      const std::size_t length = std::strlen(text);
      if (checked && (length != e->Text.size() || std::memchr(text, kTextEnd, length)))
        RefuseText();
      const char head[2] = {TagLetter(kind), ':'};
      out.Put(head, 2);
      out.Put(text, length);
      out.Put(kTextEnd);
      if (kind == TKind::Block) {
        if (checked && level > kMaxNestingDepth)
          RefuseDepth();
        const TBlock* block = static_cast<const TBlock*>(e);
        const int32_t after = step.Branch && e == step.Chain ? level + 1 : level;
        if (e->Next)
          steps.push_back({e->Next, after, false, false});
        steps.push_back({nullptr, 0, true, false});
        if (block->Body)
          steps.push_back({block->Body, level + 1, false, false});
        break;
      }
      if (kind != TKind::Anweisung) {
        const TBedingung* cond = static_cast<const TBedingung*>(e);
        if (e->Next)
          steps.push_back({e->Next, level, false, false});
        if (kind == TKind::If) {
          steps.push_back({nullptr, 0, true, false});
          if (cond->Branch2)
            steps.push_back({cond->Branch2, level, false, true});
        }
        steps.push_back({nullptr, 0, true, false});
        if (cond->Branch1)
          steps.push_back({cond->Branch1, level, false, true});
        break;
      }
      if (step.Branch && e == step.Chain)
        ++level;
    }
  }
  out.Flush();
}

// --- Reading -------------------------------------------------------------------------------------

[[noreturn]] void FailReading() { throw TStreamError(Tr("Datei", "Stream-Lesefehler")); }

[[noreturn]] void FailNesting() {
  throw TStreamError(
      Format(Tr("Datei", "Die Datei ist zu tief verschachtelt (mehr als %1 Ebenen)."),
             {std::to_string(kMaxNestingDepth)}));
}

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

  // Appends the bytes up to the next `stop` byte to text and consumes the stop byte; false when
  // the data ends first.
  bool ReadUntil(char stop, std::string& text) {
    for (;;) {
      if (pos_ == end_ && !Fill()) return false;
      const char* from = buffer_ + pos_;
      const void* found = std::memchr(from, stop, end_ - pos_);
      const std::size_t n =
          found ? static_cast<std::size_t>(static_cast<const char*>(found) - from) : end_ - pos_;
      text.append(from, n);
      pos_ += n;
      if (found) {
        ++pos_;
        return true;
      }
    }
  }

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
    // The root's successor tag normally meets the end of the file, or a clean end mark. Records
    // there are read as the root's successors, like any block's, so nothing in the file is
    // dropped; they are reported, since no window shows them.
    if (!in_.AtEnd()) {
      ReadChain(&result.Root->Next, 1, /*endOfFileEnds=*/true);
      result.TrailingRecords = result.Root->Next != nullptr;
      if (!in_.AtEnd())
        damaged_ = true;
    }
    result.Root->Independent = false;
    result.Root->Bracketed = false;
    result.Damaged = damaged_;
    return result;
  }

private:
  enum class TTag { Element, ChainEnd, EndOfFile, Unknown };

  TText ReadTextField() {
    TText text;
    if (!in_.ReadUntil(kTextEnd, text))
      FailReading();
    // Zero bytes are skipped.
    if (std::memchr(text.data(), 0, text.size()))
      text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    return text;
  }

  // Reads a tag; only the first byte is looked at.
  TTag ReadTag(TKind& kind) {
    const int first = in_.Get();
    const int second = first < 0 ? -1 : in_.Get();
    if (second < 0)
      return TTag::EndOfFile;
    switch (first) {
    case 0x02:
      return TTag::ChainEnd;
    case 'A':
      kind = TKind::Anweisung;
      return TTag::Element;
    case 'B':
      kind = TKind::Block;
      return TTag::Element;
    case 'D':
      kind = TKind::DoWhile;
      return TTag::Element;
    case 'F':
      kind = TKind::For;
      return TTag::Element;
    case 'I':
      kind = TKind::If;
      return TTag::Element;
    case 'R':
      kind = TKind::Repeat;
      return TTag::Element;
    case 'W':
      kind = TKind::While;
      return TTag::Element;
    default:
      return TTag::Unknown;
    }
  }

  // Reads elements into *slot and along their Next links until a tag yields none. Blocks met
  // in this chain sit at nesting level `level`. The end of the file ends a chain as ChainEnd
  // does, but only the root's own chain of successors may end that way without damage.
  void ReadChain(TElement** slot, int level, bool endOfFileEnds = false) {
    TKind kind = TKind::Anweisung;
    for (;;) {
      const TTag tag = ReadTag(kind);
      if (tag == TTag::ChainEnd)
        return;
      if (tag != TTag::Element) {
        if (tag == TTag::Unknown || !endOfFileEnds)
          damaged_ = true;
        return;
      }
      TElement* e = CreateBare(kind).release();
      *slot = e; // linked at once: a failure later still frees it with the tree
      slot = &e->Next;
      ReadContent(*e, level);
      e->Independent = true;
    }
  }

  // Every recursion of the reader passes through here with a level one higher than its
  // caller's, so the limit bounds the reader's own stack as well as the tree's nesting.
  void ReadBlockContent(TBlock& block, int level) {
    if (level > kMaxNestingDepth)
      FailNesting();
    block.Text = ReadTextField();
    block.Framed = true;
    block.Bracketed = true;
    ReadChain(&block.Body, level + 1);
  }

  // A branch block after its two unchecked tag bytes, with whatever successors it was given.
  // Those successors lie inside the condition, one level deeper than the condition itself.
  TBlock* ReadBranch(TBlock** slot, int level) {
    in_.Skip(2);
    TBlock* branch = static_cast<TBlock*>(CreateBare(TKind::Block).release());
    *slot = branch;
    ReadBlockContent(*branch, level);
    ReadChain(&branch->Next, level + 1);
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
  WriteChain(this, stream, false);
}
void TBlock::SaveToStream(TStream& stream) const {
  WriteChain(this, stream, false);
}
void TIf::SaveToStream(TStream& stream) const {
  WriteChain(this, stream, false);
}
void TWhile::SaveToStream(TStream& stream) const {
  WriteChain(this, stream, false);
}
void TFor::SaveToStream(TStream& stream) const {
  WriteChain(this, stream, false);
}
void TDoWhile::SaveToStream(TStream& stream) const {
  WriteChain(this, stream, false);
}
void TRepeat::SaveToStream(TStream& stream) const {
  WriteChain(this, stream, false);
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
  WriteChain(&root, stream, true);
}

void SaveDocumentFile(const TBlock& root, const std::string& path) {
  TFileWriteStream stream(path);
  SaveDocument(root, stream);
  stream.Commit();
}

// SPDX-License-Identifier: MIT
// The element tree: statements, blocks, decisions and loops of one structured program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class TStream;

// Texts are raw Windows-1252 bytes; conversion happens only at the user-interface boundary.
using TText = std::string;

// The exact class of an element, so that copies, loaders and figures can dispatch on it
// without a chain of dynamic casts.
enum class TKind { Anweisung, Block, If, While, For, DoWhile, Repeat };

class TElement;
class TBlock;

// Frees the element, its successors and everything any of them owns, without recursion.
void DisposeTree(TElement* head);
// Frees the element and everything it owns, but not its successors.
void DisposeElement(TElement* element);

struct TTreeDeleter {
  void operator()(TElement* e) const { DisposeTree(e); }
};
// An owning handle for a detached tree (a document root, a snapshot, a copy of a chain).
template <class T> using TOwned = std::unique_ptr<T, TTreeDeleter>;

// A fresh, unlinked element of the given kind with an empty text and no sub-blocks (branches
// empty, BranchCount and LoopOnYes set by the kind): the starting point for readers and copies.
TOwned<TElement> CreateBare(TKind kind);

// Elements are linked by plain pointers: a block owns its body chain, a condition element its
// branch blocks, and every chain element is owned through the chain. There is no destructor logic:
// `Remove` on an element with itself as argument releases what it owns, the holder then deletes
// the element. `DisposeTree` does both for a whole tree without recursing along chains.
class TElement {
public:
  TText Text;
  TElement* Next = nullptr;
  bool Independent = true;

  TElement(const TElement&) = delete;
  TElement& operator=(const TElement&) = delete;
  virtual ~TElement() = default;

  virtual TKind Kind() const = 0;

  // Links x (linked nowhere) after this element; a block takes it as the head of its body.
  virtual void Insert(TElement* x);
  // Unlinks x anywhere below and after this element; on the element itself, releases what it owns.
  virtual void Remove(TElement* x);
  // Unlinks x anywhere below and after this element, releasing nothing.
  virtual void Detach(TElement* x);
  // The element whose Next is x, the block whose Body is x, or the condition owning branch x.
  virtual TElement* FindPredecessor(const TElement* x);
  // Writes the element's record and those of its successors.
  virtual void SaveToStream(TStream& stream) const = 0;
  // Appends the Pascal source of the element and its successors, each line starting with indent.
  virtual void ExportSource(std::string& out, const std::string& indent) const = 0;

protected:
  friend TOwned<TElement> CreateBare(TKind kind);
  explicit TElement(TText text) : Text(std::move(text)) {}
  TElement() = default;
};

class TAnweisung : public TElement {
public:
  static TOwned<TAnweisung> CreateWithText(TText text);
  TKind Kind() const override { return TKind::Anweisung; }
  void SaveToStream(TStream& stream) const override;
  void ExportSource(std::string& out, const std::string& indent) const override;

protected:
  friend TOwned<TElement> CreateBare(TKind kind);
  using TElement::TElement;
};

class TBlock : public TElement {
public:
  TElement* Body = nullptr;
  bool Framed = true;
  bool Bracketed = true;

  static TOwned<TBlock> CreateWithText(TText text);
  TKind Kind() const override { return TKind::Block; }
  void Insert(TElement* x) override;
  void Remove(TElement* x) override;
  void Detach(TElement* x) override;
  TElement* FindPredecessor(const TElement* x) override;
  void SaveToStream(TStream& stream) const override;
  void ExportSource(std::string& out, const std::string& indent) const override;

protected:
  friend TOwned<TElement> CreateBare(TKind kind);
  using TElement::TElement;
};

class TBedingung : public TElement {
public:
  TBlock* Branch1 = nullptr;
  TBlock* Branch2 = nullptr;
  int32_t BranchCount = 0;

  // Branches indexed 1 and 2, as one array.
  TBlock* Branch(int index) const { return index == 1 ? Branch1 : Branch2; }

  void Remove(TElement* x) override;
  void Detach(TElement* x) override;
  TElement* FindPredecessor(const TElement* x) override;

protected:
  explicit TBedingung(TText text) : TElement(std::move(text)) {}
  TBedingung() = default;
  void SaveBranchesToStream(TStream& stream, const char* tag) const;
};

class TIf : public TBedingung {
public:
  static TOwned<TIf> CreateWithText(TText text);
  TKind Kind() const override { return TKind::If; }
  void SaveToStream(TStream& stream) const override;
  void ExportSource(std::string& out, const std::string& indent) const override;

protected:
  friend TOwned<TElement> CreateBare(TKind kind);
  using TBedingung::TBedingung;
};

class TWhile : public TBedingung {
public:
  static TOwned<TWhile> CreateWithText(TText text);
  TKind Kind() const override { return TKind::While; }
  void SaveToStream(TStream& stream) const override;
  void ExportSource(std::string& out, const std::string& indent) const override;

protected:
  friend TOwned<TElement> CreateBare(TKind kind);
  using TBedingung::TBedingung;
  // The body block every loop starts with, under the given title.
  void MakeBody(const char* title);
};

class TFor : public TWhile {
public:
  static TOwned<TFor> CreateWithText(TText text);
  TKind Kind() const override { return TKind::For; }
  void SaveToStream(TStream& stream) const override;
  void ExportSource(std::string& out, const std::string& indent) const override;

protected:
  friend TOwned<TElement> CreateBare(TKind kind);
  using TWhile::TWhile;
};

class TDoWhile : public TWhile {
public:
  // Fixed by the class: a do-while loop repeats on "ja", a repeat-until loop on "nein".
  const bool LoopOnYes;

  static TOwned<TDoWhile> CreateWithText(TText text);
  TKind Kind() const override { return TKind::DoWhile; }
  void SaveToStream(TStream& stream) const override;
  void ExportSource(std::string& out, const std::string& indent) const override;

protected:
  friend TOwned<TElement> CreateBare(TKind kind);
  explicit TDoWhile(TText text, bool loopOnYes = true)
      : TWhile(std::move(text)), LoopOnYes(loopOnYes) {}
  TDoWhile() : LoopOnYes(true) {}
  explicit TDoWhile(bool loopOnYes) : LoopOnYes(loopOnYes) {}
};

class TRepeat : public TDoWhile {
public:
  static TOwned<TRepeat> CreateWithText(TText text);
  TKind Kind() const override { return TKind::Repeat; }
  void SaveToStream(TStream& stream) const override;
  void ExportSource(std::string& out, const std::string& indent) const override;

protected:
  friend TOwned<TElement> CreateBare(TKind kind);
  explicit TRepeat(TText text) : TDoWhile(std::move(text), false) {}
  TRepeat() : TDoWhile(false) {}
};

// Deep copy of source, its successors and everything reachable from them; the copy has the
// exact class of each original.
TOwned<TElement> CreateCopy(const TElement& source);
TOwned<TBlock> CreateCopy(const TBlock& source);

// True when b is a, or lies anywhere inside a's body or branches (not among a's successors).
// Moves and insertions into an element's own subtree are refused with it.
bool Contains(const TElement& a, const TElement& b);

inline bool IsCondition(TKind k) {
  return k != TKind::Anweisung && k != TKind::Block;
}
inline bool IsLoop(TKind k) {
  return k == TKind::While || k == TKind::For || k == TKind::DoWhile || k == TKind::Repeat;
}

// Whether an element of kind k is an object of class T (or of a class derived from it).
template <class T> bool IsKindOf(TKind k);
template <> inline bool IsKindOf<TElement>(TKind) {
  return true;
}
template <> inline bool IsKindOf<TAnweisung>(TKind k) {
  return k == TKind::Anweisung;
}
template <> inline bool IsKindOf<TBlock>(TKind k) {
  return k == TKind::Block;
}
template <> inline bool IsKindOf<TBedingung>(TKind k) {
  return IsCondition(k);
}
template <> inline bool IsKindOf<TIf>(TKind k) {
  return k == TKind::If;
}
template <> inline bool IsKindOf<TWhile>(TKind k) {
  return IsLoop(k);
}
template <> inline bool IsKindOf<TFor>(TKind k) {
  return k == TKind::For;
}
template <> inline bool IsKindOf<TDoWhile>(TKind k) {
  return k == TKind::DoWhile || k == TKind::Repeat;
}
template <> inline bool IsKindOf<TRepeat>(TKind k) {
  return k == TKind::Repeat;
}

// A type-checked downcast by kind: TBlock, TBedingung (any condition), TWhile (any loop),
// TDoWhile (and TRepeat), ...; null when e is null or of another class.
template <class T> T* As(TElement* e) {
  return e && IsKindOf<T>(e->Kind()) ? static_cast<T*>(e) : nullptr;
}
template <class T> const T* As(const TElement* e) {
  return e && IsKindOf<T>(e->Kind()) ? static_cast<const T*>(e) : nullptr;
}

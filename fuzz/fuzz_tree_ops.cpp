// SPDX-License-Identifier: MIT
// Fuzz target: a byte string decoded as editing steps on a document, as the editor's commands
// make them: insert every kind, delete, move (detach and relink), copy and paste, refine,
// collapse and select in two windows' display states, take, drop and restore undo snapshots.
// After every step the tree's invariants must hold, "contains" must agree with a slow walk,
// every predecessor must link to its element, no display state may hold an element that is no
// longer alive, and the document must save and load back to the same bytes.
#include "model/nesting.h"
#include "model/stream.h"
#include "model/structogram_file.h"
#include "render/display_options.h"
#include "tests/tree_invariants.h"
#include "ui/main/undo_history.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

[[noreturn]] void Fault(const std::string& what) {
  std::fprintf(stderr, "Fehler: %s\n", what.c_str());
  std::abort();
}

void Collect(const TElement* head, std::vector<TElement*>& out) {
  std::vector<const TElement*> stack{head};
  while (!stack.empty()) {
    const TElement* e = stack.back();
    stack.pop_back();
    for (; e; e = e->Next) {
      out.push_back(const_cast<TElement*>(e));
      if (const TBlock* b = As<TBlock>(e))
        stack.push_back(b->Body);
      if (const TBedingung* c = As<TBedingung>(e)) {
        stack.push_back(c->Branch2);
        stack.push_back(c->Branch1);
      }
    }
  }
}

TOwned<TElement> MakeKind(unsigned kind, const std::string& text) {
  switch (kind % 6) {
  case 0:
    return TAnweisung::CreateWithText(text);
  case 1:
    return TIf::CreateWithText(text);
  case 2:
    return TWhile::CreateWithText(text);
  case 3:
    return TFor::CreateWithText(text);
  case 4:
    return TDoWhile::CreateWithText(text);
  default:
    return TRepeat::CreateWithText(text);
  }
}

TOwned<TBlock> NewDocument() {
  TOwned<TBlock> root = TBlock::CreateWithText("gesamtes Programm");
  root->Independent = false;
  root->Bracketed = false;
  return root;
}

std::string Save(const TBlock& root) {
  TMemoryStream out;
  SaveDocument(root, out);
  return out.Data;
}

// A window: the block it shows and its display state.
struct TWindow {
  TBlock* root = nullptr;
  TDisplayOptions display;
};

class TSession {
public:
  TSession() : doc_(NewDocument()) {
    for (TWindow& w : windows_)
      w.root = doc_.get();
  }
  ~TSession() {
    for (TWindow& w : windows_)
      w.display = TDisplayOptions();
  }

  void Step(uint8_t op, uint8_t a, uint8_t b, const std::string& text) {
    Refresh();
    TElement* x = all_[a % all_.size()];
    TElement* y = all_[b % all_.size()];
    const bool inDoc = InDocument(x);
    switch (op % 12) {
    case 0: // insert a new element at x, as the insertion command does
      if (inDoc && all_.size() < 3000 && FitsNesting(InsertionLevel(*doc_, *x), b % 6 ? 1 : 0))
        x->Insert(MakeKind(b, text).release());
      break;
    case 1:
      Delete(x);
      break;
    case 2:
      Move(x, y, b & 1);
      break;
    case 3: // copy x alone and paste it at y
      if (InDocument(y) && x != doc_.get() && all_.size() < 3000 &&
          FitsNesting(InsertionLevel(*doc_, *y), NestingDepth(*x))) {
        TOwned<TElement> copy = CreateCopy(*x);
        DisposeTree(copy->Next);
        copy->Next = nullptr;
        copy->Independent = true;
        if (TBlock* block = As<TBlock>(copy.get()))
          block->Bracketed = true;
        y->Insert(copy.release());
      }
      break;
    case 4: // refine a statement into a block
      if (inDoc && x->Kind() == TKind::Anweisung && FitsNesting(SuccessorLevel(*doc_, *x), 1)) {
        TBlock* block = TBlock::CreateWithText(x->Text).release();
        block->Next = x->Next;
        x->Next = block;
        Delete(x);
      }
      break;
    case 5:
      if (TBlock* block = As<TBlock>(x))
        windows_[b & 1].display.ToggleCollapsed(block);
      break;
    case 6:
      windows_[b & 1].display.ClearSelection();
      windows_[b & 1].display.AddSelection(x);
      break;
    case 7:
      history_.PushUndo(*doc_);
      break;
    case 8:  // undo or redo: windows close or start afresh on the document put in place
      for (TWindow& w : windows_) {
        w.root = nullptr;
        w.display = TDisplayOptions();
      }
      kept_.clear();
      if (b & 1)
        history_.StepForward(doc_);
      else
        history_.StepBack(doc_);
      for (TWindow& w : windows_)
        w.root = doc_.get();
      break;
    case 9:
      if (history_.Count() > history_.UndoPosition())
        history_.DropNewestUndo();
      break;
    case 10: // show a block in a window
      if (TBlock* block = As<TBlock>(x)) {
        windows_[b & 1].root = block;
        windows_[b & 1].display = TDisplayOptions();
      }
      break;
    default: // edit a text
      x->Text = text;
      break;
    }
    Refresh();
    Check(a, b);
  }

private:
  bool InDocument(const TElement* e) const { return SlowContains(*doc_, *e); }

  // Delete as the delete command does: a non-block is freed with what it holds; a block that
  // headed a body or followed an element is unlinked and kept while a window shows it.
  void Delete(TElement* x) {
    if (x == doc_.get()) {
      doc_->Remove(doc_.get());
      return;
    }
    TElement* before = doc_->FindPredecessor(x);
    if (!before)
      return;
    const bool successor = before->Next == x;
    const TBlock* holder = As<TBlock>(before);
    const bool bodyHead = holder && holder->Body == x;
    // A block that headed a body keeps its contents; one that followed an element loses them.
    const bool shown = std::any_of(std::begin(windows_), std::end(windows_), [&](const TWindow& w) {
      return bodyHead ? SlowContains(*x, *w.root) : w.root == x;
    });
    doc_->Remove(x);
    if (x->Kind() != TKind::Block) {
      DisposeElement(x);
    } else if (successor || bodyHead) {
      x->Next = nullptr;
      if (shown)
        kept_.emplace_back(x);
      else
        DisposeTree(x);
    }
  }

  // Move as dragging does: refused into its own figure, for elements that cannot be dragged,
  // and beyond the nesting limit.
  void Move(TElement* x, TElement* target, bool after) {
    if (!x->Independent || x == doc_.get() || !InDocument(x) || !InDocument(target))
      return;
    if (Contains(*x, *target))
      return;
    after = after && target->Kind() == TKind::Block && target->Independent;
    const int32_t level = after || target->Kind() != TKind::Block ? SuccessorLevel(*doc_, *target)
                                                                  : InsertionLevel(*doc_, *target);
    if (!FitsNesting(level, NestingDepth(*x)))
      return;
    doc_->Detach(x);
    if (after) {
      x->Next = target->Next;
      target->Next = x;
    } else {
      target->Insert(x);
    }
  }

  void CollectAll() {
    all_.clear();
    Collect(doc_.get(), all_);
    for (const TOwned<TElement>& k : kept_)
      Collect(k.get(), all_);
  }

  // The elements alive now: windows on a freed block close, deleted blocks no window shows any
  // more are freed, and the windows forget everything that is gone.
  void Refresh() {
    CollectAll();
    std::unordered_set<const TElement*> live(all_.begin(), all_.end());
    for (TWindow& w : windows_) {
      if (!live.count(w.root)) {
        w.root = doc_.get();
        w.display = TDisplayOptions();
      }
    }
    kept_.erase(std::remove_if(kept_.begin(), kept_.end(),
                               [&](const TOwned<TElement>& k) {
                                 return std::none_of(
                                     std::begin(windows_), std::end(windows_),
                                     [&](const TWindow& w) { return SlowContains(*k, *w.root); });
                               }),
                kept_.end());
    CollectAll();
    live = std::unordered_set<const TElement*>(all_.begin(), all_.end());
    for (TWindow& w : windows_) {
      TDisplayOptions& d = w.display;
      if (d.CurrentSelection() && !live.count(d.CurrentSelection()))
        d.ClearSelection();
      std::vector<TBlock*> stale;
      for (int32_t i = 0; i < d.CollapsedCount; ++i)
        if (!live.count(d.Collapsed[i]))
          stale.push_back(d.Collapsed[i]);
      for (TBlock* s : stale)
        d.ToggleCollapsed(s);
    }
  }

  void Check(uint8_t a, uint8_t b) {
    std::vector<const TElement*> roots{doc_.get()};
    for (const TOwned<TElement>& k : kept_)
      roots.push_back(k.get());
    const std::string violation = TreeInvariantViolation(roots);
    if (!violation.empty())
      Fault(violation);
    const TElement* x = all_[a % all_.size()];
    const TElement* y = all_[b % all_.size()];
    if (Contains(*x, *y) != SlowContains(*x, *y))
      Fault("Contains irrt");
    if (x != doc_.get() && InDocument(x)) {
      const TElement* before = doc_->FindPredecessor(x);
      const TBlock* block = As<TBlock>(before);
      const TBedingung* cond = As<TBedingung>(before);
      if (!before || !(before->Next == x || (block && block->Body == x) ||
                       (cond && (cond->Branch1 == x || cond->Branch2 == x))))
        Fault("FindPredecessor irrt");
    }
    const std::unordered_set<const TElement*> live(all_.begin(), all_.end());
    for (const TWindow& w : windows_) {
      if (!live.count(w.root))
        Fault("ein Fenster zeigt ein freigegebenes Element");
      for (int32_t i = 0; i < w.display.CollapsedCount; ++i)
        if (!live.count(w.display.Collapsed[i]))
          Fault("Anzeige kennt freigegebenen Block");
    }
    const std::string saved = Save(*doc_);
    TMemoryStream in(saved);
    if (Save(*LoadDocument(in).Root) != saved)
      Fault("Speichern und Laden verschieden");
  }

  TOwned<TBlock> doc_;
  std::vector<TOwned<TElement>> kept_;
  TWindow windows_[2];
  TUndoHistory history_;
  std::vector<TElement*> all_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TSession session;
  // Steps of four bytes; a step's text is the next few bytes of the input.
  for (size_t i = 0; i + 4 <= size && i < 4 * 400; i += 4) {
    const size_t textLength = data[i + 3] % 8;
    const size_t from = std::min(size, i + 4);
    std::string text(reinterpret_cast<const char*>(data) + from, std::min(textLength, size - from));
    // Texts reach the tree only as typed: control characters become spaces.
    for (char& c : text)
      if (static_cast<unsigned char>(c) < 0x20)
        c = ' ';
    session.Step(data[i], data[i + 1], data[i + 2], text);
  }
  return 0;
}

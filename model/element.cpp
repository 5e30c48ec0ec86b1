// SPDX-License-Identifier: MIT
#include "model/element.h"

#include <utility>
#include <vector>

// Every walk below goes along `Next` in a loop and keeps the chains still to visit on an explicit
// stack, so neither a long chain nor a deep nesting can exhaust the call stack.

namespace {

// Pushes the heads of the chains that e owns: a block's body, a condition's branch blocks.
void PushOwnedChains(TElement* e, std::vector<TElement*>& stack) {
  if (TBlock* block = As<TBlock>(e)) {
    if (block->Body)
      stack.push_back(block->Body);
  } else if (TBedingung* cond = As<TBedingung>(e)) {
    // Both branches whatever BranchCount says, so that nothing owned is ever lost.
    if (cond->Branch2)
      stack.push_back(cond->Branch2);
    if (cond->Branch1)
      stack.push_back(cond->Branch1);
  }
}

void DisposeChains(std::vector<TElement*>& stack) {
  while (!stack.empty()) {
    TElement* e = stack.back();
    stack.pop_back();
    while (e) {
      TElement* next = e->Next;
      PushOwnedChains(e, stack);
      delete e;
      e = next;
    }
  }
}

// Frees what e owns and leaves e with empty sub-chains (a block keeps an empty body, a condition
// keeps no branch pointers, so disposing of e later cannot free anything twice).
void ReleaseOwned(TElement* e) {
  std::vector<TElement*> stack;
  PushOwnedChains(e, stack);
  if (TBlock* block = As<TBlock>(e)) {
    block->Body = nullptr;
  } else if (TBedingung* cond = As<TBedingung>(e)) {
    cond->Branch1 = nullptr;
    cond->Branch2 = nullptr;
  }
  DisposeChains(stack);
}

// Pushes the branch blocks of a condition in the order they are searched (1 first).
void PushBranchesInUse(TBedingung* cond, std::vector<TElement*>& stack) {
  for (int i = cond->BranchCount; i >= 1; --i)
    if (TBlock* branch = cond->Branch(i))
      stack.push_back(branch);
}

// Remove of x on the receiver head: every element of every chain reached is visited once.
// An element that is x releases what it owns; a body whose head is x is unlinked without
// asking x to release anything and is not searched further; a successor that is x is released
// and unlinked, and the search goes on after it.
void RemoveFrom(TElement* head, TElement* x) {
  std::vector<TElement*> stack{head};
  while (!stack.empty()) {
    TElement* e = stack.back();
    stack.pop_back();
    while (e) {
      if (e == x) {
        ReleaseOwned(e);
      } else if (TBlock* block = As<TBlock>(e)) {
        if (block->Body == x)
          block->Body = x->Next;
        else if (block->Body)
          stack.push_back(block->Body);
      } else if (TBedingung* cond = As<TBedingung>(e)) {
        PushBranchesInUse(cond, stack);
      }
      if (e->Next && e->Next == x && x != e) {
        ReleaseOwned(x);
        e->Next = x->Next;
      }
      e = e->Next;
    }
  }
}

// Detach of x: like Remove without releasing; a chain is not searched past the unlinked x.
void DetachFrom(TElement* head, TElement* x) {
  std::vector<TElement*> stack{head};
  while (!stack.empty()) {
    TElement* e = stack.back();
    stack.pop_back();
    while (e) {
      if (TBlock* block = As<TBlock>(e)) {
        if (block->Body == x)
          block->Body = x->Next;
        else if (block->Body)
          stack.push_back(block->Body);
      } else if (TBedingung* cond = As<TBedingung>(e)) {
        PushBranchesInUse(cond, stack);
      }
      if (e->Next == x) {
        e->Next = x->Next;
        break;
      }
      e = e->Next;
    }
  }
}

// Depth first: an element, then its body or branches (1 before 2), then its successors.
TElement* FindPredecessorFrom(TElement* head, const TElement* x) {
  std::vector<TElement*> stack{head};
  while (!stack.empty()) {
    TElement* e = stack.back();
    stack.pop_back();
    if (e->Next == x)
      return e;
    if (e->Next)
      stack.push_back(e->Next);
    if (TBlock* block = As<TBlock>(e)) {
      if (block->Body == x)
        return e;
      if (block->Body)
        stack.push_back(block->Body);
    } else if (TBedingung* cond = As<TBedingung>(e)) {
      if (cond->Branch1 == x || cond->Branch2 == x)
        return e;
      if (cond->Branch2)
        stack.push_back(cond->Branch2);
      if (cond->Branch1)
        stack.push_back(cond->Branch1);
    }
  }
  return nullptr;
}

TOwned<TBlock> NewBlock(const char* title, bool independent) {
  TOwned<TBlock> block = TBlock::CreateWithText(title);
  block->Independent = independent;
  return block;
}

// Copies one element without its links: text, flags, BranchCount; LoopOnYes comes with the class.
TOwned<TElement> ShallowCopy(const TElement& source) {
  TOwned<TElement> copy = CreateBare(source.Kind());
  copy->Text = source.Text;
  copy->Independent = source.Independent;
  if (const TBlock* block = As<TBlock>(&source)) {
    TBlock* target = static_cast<TBlock*>(copy.get());
    target->Framed = block->Framed;
    target->Bracketed = block->Bracketed;
  } else if (const TBedingung* cond = As<TBedingung>(&source)) {
    static_cast<TBedingung*>(copy.get())->BranchCount = cond->BranchCount;
  }
  return copy;
}

// Copies the chain starting at source into *slot; each new element is linked at once, so an
// exception leaves a consistent tree that the owner of the first copy frees.
struct TCopyJob {
  const TElement* Source;
  TElement** Slot;
  TBlock** BranchSlot; // set instead of Slot for a branch block
};

void CopyChains(std::vector<TCopyJob>& jobs) {
  while (!jobs.empty()) {
    TCopyJob job = jobs.back();
    jobs.pop_back();
    TElement** slot = job.Slot;
    for (const TElement* src = job.Source; src; src = src->Next) {
      TElement* copy = ShallowCopy(*src).release();
      if (job.BranchSlot) {
        *job.BranchSlot = static_cast<TBlock*>(copy);
        job.BranchSlot = nullptr;
      } else {
        *slot = copy;
      }
      slot = &copy->Next;
      if (const TBlock* block = As<TBlock>(src)) {
        if (block->Body)
          jobs.push_back({block->Body, &static_cast<TBlock*>(copy)->Body, nullptr});
      } else if (const TBedingung* cond = As<TBedingung>(src)) {
        TBedingung* target = static_cast<TBedingung*>(copy);
        if (cond->Branch1)
          jobs.push_back({cond->Branch1, nullptr, &target->Branch1});
        if (cond->Branch2)
          jobs.push_back({cond->Branch2, nullptr, &target->Branch2});
      }
    }
  }
}

} // namespace

void DisposeTree(TElement* head) {
  if (!head)
    return;
  std::vector<TElement*> stack{head};
  DisposeChains(stack);
}

void DisposeElement(TElement* element) {
  if (!element)
    return;
  std::vector<TElement*> stack;
  PushOwnedChains(element, stack);
  delete element;
  DisposeChains(stack);
}

TOwned<TElement> CreateBare(TKind kind) {
  // Conditions start with the branch count of their kind; the branches come from the caller.
  const auto condition = [](TBedingung* e, int32_t branchCount) {
    TOwned<TElement> owned(e);
    e->BranchCount = branchCount;
    return owned;
  };
  switch (kind) {
  case TKind::Anweisung:
    return TOwned<TElement>(new TAnweisung());
  case TKind::Block:
    return TOwned<TElement>(new TBlock());
  case TKind::If:
    return condition(new TIf(), 2);
  case TKind::While:
    return condition(new TWhile(), 1);
  case TKind::For:
    return condition(new TFor(), 1);
  case TKind::DoWhile:
    return condition(new TDoWhile(), 1);
  case TKind::Repeat:
    return condition(new TRepeat(), 1);
  }
  return nullptr;
}

// --- Text constructors ---------------------------------------------------------------------------

TOwned<TAnweisung> TAnweisung::CreateWithText(TText text) {
  return TOwned<TAnweisung>(new TAnweisung(std::move(text)));
}

TOwned<TBlock> TBlock::CreateWithText(TText text) {
  return TOwned<TBlock>(new TBlock(std::move(text)));
}

TOwned<TIf> TIf::CreateWithText(TText text) {
  TOwned<TIf> e(new TIf(std::move(text)));
  e->Branch1 = NewBlock("Ja-Block", false).release();
  e->Branch2 = NewBlock("Nein-Block", false).release();
  e->BranchCount = 2;
  return e;
}

void TWhile::MakeBody(const char* title) {
  DisposeTree(Branch1);
  Branch1 = NewBlock(title, false).release();
  BranchCount = 1;
}

TOwned<TWhile> TWhile::CreateWithText(TText text) {
  TOwned<TWhile> e(new TWhile(std::move(text)));
  e->MakeBody("While-Block");
  return e;
}

TOwned<TFor> TFor::CreateWithText(TText text) {
  TOwned<TFor> e(new TFor(std::move(text)));
  e->MakeBody("For-Block");
  return e;
}

TOwned<TDoWhile> TDoWhile::CreateWithText(TText text) {
  TOwned<TDoWhile> e(new TDoWhile(std::move(text)));
  e->MakeBody("DoWhile-Block");
  return e;
}

TOwned<TRepeat> TRepeat::CreateWithText(TText text) {
  TOwned<TRepeat> e(new TRepeat(std::move(text)));
  e->MakeBody("RepeatUntil-Block");
  e->Branch1->Bracketed = false;
  return e;
}

// --- Linking -------------------------------------------------------------------------------------

void TElement::Insert(TElement* x) {
  x->Next = Next;
  Next = x;
}

void TBlock::Insert(TElement* x) {
  x->Next = Body;
  Body = x;
}

void TElement::Remove(TElement* x) {
  RemoveFrom(this, x);
}
void TBlock::Remove(TElement* x) {
  RemoveFrom(this, x);
}
void TBedingung::Remove(TElement* x) {
  RemoveFrom(this, x);
}

void TElement::Detach(TElement* x) {
  DetachFrom(this, x);
}
void TBlock::Detach(TElement* x) {
  DetachFrom(this, x);
}
void TBedingung::Detach(TElement* x) {
  DetachFrom(this, x);
}

TElement* TElement::FindPredecessor(const TElement* x) {
  return FindPredecessorFrom(this, x);
}
TElement* TBlock::FindPredecessor(const TElement* x) {
  return FindPredecessorFrom(this, x);
}
TElement* TBedingung::FindPredecessor(const TElement* x) {
  return FindPredecessorFrom(this, x);
}

// --- Copies and containment ----------------------------------------------------------------------

TOwned<TElement> CreateCopy(const TElement& source) {
  TElement* head = nullptr;
  std::vector<TCopyJob> jobs{{&source, &head, nullptr}};
  try {
    CopyChains(jobs);
  } catch (...) {
    DisposeTree(head);
    throw;
  }
  return TOwned<TElement>(head);
}

TOwned<TBlock> CreateCopy(const TBlock& source) {
  return TOwned<TBlock>(
      static_cast<TBlock*>(CreateCopy(static_cast<const TElement&>(source)).release()));
}

bool Contains(const TElement& a, const TElement& b) {
  if (&a == &b)
    return true;
  std::vector<TElement*> stack;
  PushOwnedChains(const_cast<TElement*>(&a), stack);
  while (!stack.empty()) {
    TElement* e = stack.back();
    stack.pop_back();
    for (; e; e = e->Next) {
      if (e == &b)
        return true;
      PushOwnedChains(e, stack);
    }
  }
  return false;
}

// SPDX-License-Identifier: MIT
// The element tree's invariants, checked the slow and obvious way: for random editing tests and
// the fuzz targets.
#pragma once

#include "model/element.h"
#include "model/nesting.h"

#include <string>
#include <unordered_set>
#include <vector>

// What is wrong with the trees under roots (a document and the blocks kept beside it), or an
// empty text when every invariant holds: every element in exactly one place, no cycles, the
// flags as each element's place demands, whole branches, texts a file can hold, nesting within
// the limit. The first root is a document root (not Independent, not Bracketed).
// A tree read from a file may also hold what the reader accepts but the editor never makes:
// successors of branch blocks, and records after the program's own (pass asLoaded).
inline std::string TreeInvariantViolation(const std::vector<const TElement*>& roots,
                                          bool asLoaded = false) {
  std::unordered_set<const TElement*> seen;
  // Chains to check, with what their place demands of a block heading them.
  struct TChain {
    const TElement* head;
    enum { Document, Kept, Body, Branch, RepeatBranch } place;
  };
  std::vector<TChain> stack;
  for (size_t i = roots.size(); i-- > 0;)
    if (roots[i])
      stack.push_back({roots[i], i == 0 ? TChain::Document : TChain::Kept});
  while (!stack.empty()) {
    const TChain chain = stack.back();
    stack.pop_back();
    bool first = true;
    for (const TElement* e = chain.head; e; e = e->Next, first = false) {
      if (!seen.insert(e).second)
        return "an element stands in two places or a chain is a cycle";
      if (e->Text.find('\0') != std::string::npos || e->Text.find('\x01') != std::string::npos)
        return "a text holds 0x00 or 0x01: " + e->Text;
      const bool branch =
          first && (chain.place == TChain::Branch || chain.place == TChain::RepeatBranch);
      const bool documentRoot = first && chain.place == TChain::Document;
      if (documentRoot || branch) {
        if (e->Kind() != TKind::Block)
          return "a document root or branch that is no block";
        if (e->Independent)
          return "a document root or branch block is independent";
        if (e->Next && !asLoaded)
          return "a root or branch block has a successor: " + e->Text;
        const bool bracketed = static_cast<const TBlock*>(e)->Bracketed;
        if (bracketed != (chain.place == TChain::Branch))
          return "Bracketed wrong on " + e->Text;
      } else if (!(first && chain.place == TChain::Kept) && !e->Independent) {
        return "an element in a chain is not independent: " + e->Text;
      }
      if (const TBlock* block = As<TBlock>(e)) {
        if (!block->Framed)
          return "a block is not framed";
        if (!branch && !documentRoot && !block->Bracketed && block->Independent)
          return "an independent block is not bracketed";
        if (block->Body)
          stack.push_back({block->Body, TChain::Body});
      } else if (const TBedingung* cond = As<TBedingung>(e)) {
        const bool decision = e->Kind() == TKind::If;
        if (cond->BranchCount != (decision ? 2 : 1))
          return "BranchCount wrong";
        if (!cond->Branch1 || (decision != (cond->Branch2 != nullptr)))
          return "branches missing or surplus";
        if (const TDoWhile* post = As<TDoWhile>(e))
          if (post->LoopOnYes != (e->Kind() == TKind::DoWhile))
            return "LoopOnYes wrong";
        stack.push_back(
            {cond->Branch1, e->Kind() == TKind::Repeat ? TChain::RepeatBranch : TChain::Branch});
        if (cond->Branch2)
          stack.push_back({cond->Branch2, TChain::Branch});
      }
    }
  }
  if (!roots.empty() && roots[0] && NestingDepth(*roots[0]) > kMaxNestingDepth)
    return "nested deeper than a file can hold";
  return {};
}

// Whether b is a or lies in anything a holds (a's successors not included), by a slow walk.
inline bool SlowContains(const TElement& a, const TElement& b) {
  std::vector<const TElement*> stack;
  const auto pushOwned = [&](const TElement* e) {
    if (const TBlock* block = As<TBlock>(e))
      stack.push_back(block->Body);
    if (const TBedingung* cond = As<TBedingung>(e)) {
      stack.push_back(cond->Branch1);
      stack.push_back(cond->Branch2);
    }
  };
  if (&a == &b)
    return true;
  pushOwned(&a);
  while (!stack.empty()) {
    const TElement* e = stack.back();
    stack.pop_back();
    for (; e; e = e->Next) {
      if (e == &b)
        return true;
      pushOwned(e);
    }
  }
  return false;
}

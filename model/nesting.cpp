// SPDX-License-Identifier: MIT
#include "model/nesting.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// A chain still to walk and the level it stands at.
struct TChain {
  const TElement* head;
  int32_t level;
};

// Walks every element reachable from the chains on the stack, without recursion. visit(e, level)
// is called for each element with the level of its chain and returns true to stop the walk.
// A block sits at its chain's level and its body one deeper; a condition's branch blocks sit at
// the condition's level, and their bodies and successors one deeper.
template <class Visit> bool Walk(std::vector<TChain> stack, bool followFirstNext, Visit visit) {
  bool first = true;
  while (!stack.empty()) {
    const TChain chain = stack.back();
    stack.pop_back();
    const bool followNext = followFirstNext || !first;
    first = false;
    for (const TElement* e = chain.head; e; e = followNext ? e->Next : nullptr) {
      if (visit(e, chain.level))
        return true;
      if (const TBlock* block = As<TBlock>(e)) {
        if (block->Body)
          stack.push_back({block->Body, chain.level + 1});
      } else if (const TBedingung* cond = As<TBedingung>(e)) {
        for (const TBlock* branch : {cond->Branch2, cond->Branch1}) {
          if (!branch)
            continue;
          if (visit(branch, chain.level))
            return true;
          if (branch->Next)
            stack.push_back({branch->Next, chain.level + 1});
          if (branch->Body)
            stack.push_back({branch->Body, chain.level + 1});
        }
      }
    }
  }
  return false;
}

// The level of target's own chain and whether target was found; a branch block counts as
// standing at its condition's level.
bool LevelOf(const TBlock& root, const TElement& target, int32_t& level) {
  return Walk({{&root, 1}}, false, [&](const TElement* e, int32_t at) {
    if (e != &target)
      return false;
    level = at;
    return true;
  });
}

} // namespace

int32_t NestingDepth(const TElement& x) {
  int32_t deepest = 0;
  Walk({{&x, 1}}, false, [&](const TElement* e, int32_t level) {
    if (e->Kind() == TKind::Block)
      deepest = std::max(deepest, level);
    return false;
  });
  return deepest;
}

int32_t InsertionLevel(const TBlock& root, const TElement& target) {
  int32_t level = 0;
  if (!LevelOf(root, target, level))
    return -1;
  return target.Kind() == TKind::Block ? level + 1 : level;
}

int32_t SuccessorLevel(const TBlock& root, const TElement& target) {
  int32_t level = 0;
  if (!LevelOf(root, target, level))
    return -1;
  // A branch block's successors lie inside its condition, one level deeper.
  if (target.Kind() == TKind::Block && !target.Independent && &target != &root)
    return level + 1;
  return level;
}

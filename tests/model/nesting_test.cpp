// SPDX-License-Identifier: MIT
#include "model/nesting.h"
#include "model/stream.h"
#include "model/structogram_file.h"
#include "tests/model/tree_dump.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using namespace std::string_literals;

// The three ways a chain nests one level deeper: a block's body, a loop's body, and the
// successors of a loop's body block (which the reader reads inside the loop).
enum class TStep { Block, LoopBody, BranchSuccessor };

// Appends one step below the chain that *slot ends, returning the slot of the deeper chain.
TElement** Deeper(TElement** slot, TStep step) {
  while (*slot)
    slot = &(*slot)->Next;
  if (step == TStep::Block) {
    TBlock* b = TBlock::CreateWithText("b").release();
    *slot = b;
    return &b->Body;
  }
  TWhile* w = TWhile::CreateWithText("w").release();
  *slot = w;
  return step == TStep::LoopBody ? &w->Branch1->Body : &w->Branch1->Next;
}

TOwned<TBlock> Nested(const std::vector<TStep>& steps) {
  TOwned<TBlock> root = NewDocumentRoot();
  TElement** slot = &root->Body;
  for (TStep step : steps)
    slot = Deeper(slot, step);
  return root;
}

std::string RawBytes(const TBlock& root) {
  TMemoryStream stream;
  root.SaveToStream(stream); // the bare writer, without the savability check
  return stream.Data;
}

std::string LoadOutcome(const std::string& bytes) {
  try {
    TMemoryStream stream(bytes);
    LoadDocument(stream);
  } catch (const TStreamError& e) {
    return e.what();
  }
  return "loaded";
}

const std::string kTooDeep = "Die Datei ist zu tief verschachtelt (mehr als 2000 Ebenen).";

TEST(Nesting, DepthOfEachShape) {
  struct Row {
    const char* name;
    std::vector<TStep> steps;
    int32_t depth;
  };
  using S = TStep;
  // Every step nests one level deeper; a loop's body block stands at the loop's own level.
  const Row rows[] = {
      {"empty program", {}, 1},
      {"block", {S::Block}, 2},
      {"loop", {S::LoopBody}, 2},
      {"successor of a loop's body block", {S::BranchSuccessor}, 2},
      {"block in a loop", {S::LoopBody, S::Block}, 3},
      {"loop after a loop's body", {S::BranchSuccessor, S::BranchSuccessor}, 3},
      {"loop after a block's body", {S::Block, S::BranchSuccessor}, 3},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(NestingDepth(*Nested(row.steps)), row.depth);
  }
  EXPECT_EQ(NestingDepth(*TAnweisung::CreateWithText("s")), 0);
  EXPECT_EQ(NestingDepth(*TWhile::CreateWithText("w")), 1);
  EXPECT_EQ(NestingDepth(*TIf::CreateWithText("i")), 1);
}

// Whatever the editor may build (depth within the limit) the reader takes back unchanged, and
// what is one level deeper the writer refuses and the reader refuses: both count alike.
TEST(Nesting, ReaderAndWriterAgreeWithTheCount) {
  std::mt19937 random(7);
  for (int round = 0; round < 6; ++round) {
    std::vector<TStep> steps(static_cast<size_t>(kMaxNestingDepth - 1 + round % 2));
    for (TStep& step : steps)
      step = static_cast<TStep>(random() % 3);
    TOwned<TBlock> root = Nested(steps);
    const int32_t depth = NestingDepth(*root);
    ASSERT_EQ(depth, kMaxNestingDepth + round % 2);
    const std::string bytes = RawBytes(*root);
    if (depth <= kMaxNestingDepth) {
      TMemoryStream saved;
      SaveDocument(*root, saved);
      EXPECT_EQ(saved.Data, bytes);
      EXPECT_EQ(LoadOutcome(bytes), "loaded");
    } else {
      TMemoryStream saved;
      EXPECT_THROW(SaveDocument(*root, saved), TStreamError);
      EXPECT_TRUE(saved.Data.empty());
      EXPECT_EQ(LoadOutcome(bytes), kTooDeep);
    }
  }
}

// Loops whose body block is followed by the next loop: each is read inside the one before, so
// the limit must stop the reader long before its stack runs out.
TEST(Nesting, ChainOfBranchSuccessorsIsRefusedNotOverflowed) {
  std::string bytes = "B:gesamtes Programm\x01"s;
  for (int i = 0; i < 100000; ++i)
    bytes += "W:\x01xx\x01\x02\x02"s;
  EXPECT_EQ(LoadOutcome(bytes), kTooDeep);
}

TEST(Nesting, InsertionLevelPredictsTheNewDepth) {
  std::mt19937 random(11);
  for (int round = 0; round < 200; ++round) {
    std::vector<TStep> steps;
    for (int i = 0, n = static_cast<int>(random() % 6); i < n; ++i)
      steps.push_back(static_cast<TStep>(random() % 3));
    TOwned<TBlock> root = Nested(steps);
    // Every element of the tree, in a fixed order.
    std::vector<TElement*> all;
    std::vector<TElement*> stack{root.get()};
    while (!stack.empty()) {
      TElement* e = stack.back();
      stack.pop_back();
      all.push_back(e);
      if (e->Next)
        stack.push_back(e->Next);
      if (auto* b = As<TBlock>(e); b && b->Body)
        stack.push_back(b->Body);
      if (auto* c = As<TBedingung>(e))
        stack.push_back(c->Branch1);
    }
    TElement* target = all[random() % all.size()];
    const bool after = random() % 2 && target != root.get();
    const int32_t level = after ? SuccessorLevel(*root, *target) : InsertionLevel(*root, *target);
    const int32_t before = NestingDepth(*root);
    TOwned<TElement> x = random() % 2 ? TOwned<TElement>(TWhile::CreateWithText("x"))
                                      : TOwned<TElement>(TAnweisung::CreateWithText("x"));
    const int32_t depth = NestingDepth(*x);
    TElement* e = x.release();
    if (after) {
      e->Next = target->Next;
      target->Next = e;
    } else {
      target->Insert(e);
    }
    SCOPED_TRACE(DescribeTree(root.get()));
    ASSERT_GE(level, 1);
    EXPECT_EQ(NestingDepth(*root), depth == 0 ? before : std::max(before, level - 1 + depth));
  }
  TOwned<TBlock> root = NewDocumentRoot();
  TOwned<TBlock> stranger = TBlock::CreateWithText("s");
  EXPECT_EQ(InsertionLevel(*root, *stranger), -1);
  EXPECT_EQ(InsertionLevel(*root, *root), 2);
}

} // namespace

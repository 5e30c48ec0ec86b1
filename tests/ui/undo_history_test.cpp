// SPDX-License-Identifier: MIT
#include "ui/main/undo_history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A document whose root title names its state, so snapshots can be told apart.
class UndoHistoryTest : public testing::Test {
protected:
  TOwned<TBlock> document = TBlock::CreateWithText("state 0");
  int state = 0;
  TUndoHistory history;

  // A change as the commands make it: snapshot first, then the tree changes.
  void Change() {
    history.PushUndo(*document);
    document->Text = "state " + std::to_string(++state);
  }
  // Undo as the main window does it; false when there was nothing to step back to.
  bool Undo() { return history.StepBack(document); }
  std::string Title(int position) const {
    const TOwned<TBlock> s = history.Snapshot(position);
    return s ? s->Text : std::string("none");
  }
};

TEST_F(UndoHistoryTest, EmptyHistoryDoesNothing) {
  EXPECT_FALSE(history.CanStepBack());
  EXPECT_FALSE(Undo());
  EXPECT_EQ(document->Text, "state 0");
  EXPECT_EQ(history.Count(), 0);
  EXPECT_EQ(history.UndoPosition(), 0);
}

TEST_F(UndoHistoryTest, ElevenChangesKeepTheTenNewest) {
  for (int i = 0; i < 11; ++i) Change();
  EXPECT_EQ(history.Count(), 10);
  EXPECT_EQ(Title(1), "state 10");
  EXPECT_EQ(Title(10), "state 1");
  for (int k = 1; k <= 10; ++k) {
    ASSERT_TRUE(Undo()) << "step " << k;
    EXPECT_EQ(document->Text, "state " + std::to_string(11 - k));
    EXPECT_EQ(history.UndoPosition(), k);
  }
  // The state from before the first change is gone.
  EXPECT_FALSE(Undo());
  EXPECT_EQ(document->Text, "state 1");
}

TEST_F(UndoHistoryTest, ThreeChangesUndoThreeTimes) {
  for (int i = 0; i < 3; ++i) Change();
  EXPECT_TRUE(Undo());
  EXPECT_TRUE(Undo());
  EXPECT_TRUE(Undo());
  EXPECT_EQ(document->Text, "state 0");
  EXPECT_FALSE(Undo());
  EXPECT_EQ(document->Text, "state 0");
  // The snapshots stay: stepping back copies them.
  EXPECT_EQ(history.Count(), 3);
}

TEST_F(UndoHistoryTest, ChangeAfterUndoDiscardsTheStatesSteppedOver) {
  Change();  // state 1
  Change();  // state 2
  ASSERT_TRUE(Undo());
  EXPECT_EQ(document->Text, "state 1");
  Change();  // state 3, made from state 1
  EXPECT_EQ(history.UndoPosition(), 0);
  EXPECT_EQ(history.Count(), 2);
  ASSERT_TRUE(Undo());
  EXPECT_EQ(document->Text, "state 1");  // what the first undo left
  ASSERT_TRUE(Undo());
  EXPECT_EQ(document->Text, "state 0");
  EXPECT_FALSE(Undo());  // state 2 can no longer be reached
}

TEST_F(UndoHistoryTest, SnapshotsAreIndependentCopies) {
  document->Insert(TAnweisung::CreateWithText("x").release());
  Change();
  document->Body->Text = "changed";
  ASSERT_NE(history.Snapshot(1)->Body, nullptr);
  EXPECT_EQ(history.Snapshot(1)->Body->Text, "x");
  EXPECT_NE(history.Snapshot(1)->Body, document->Body);
}

TEST_F(UndoHistoryTest, ClearEmptiesEverything) {
  Change();
  Change();
  Undo();
  history.Clear();
  EXPECT_EQ(history.Count(), 0);
  EXPECT_EQ(history.UndoPosition(), 0);
  EXPECT_FALSE(Undo());
}

// Redo steps forward through what undo took back, and only until the next change: c a change,
// u undo, r redo; the document's state after each sequence, and whether redo is still possible.
TEST_F(UndoHistoryTest, RedoStepsForwardUntilTheNextChange) {
  struct Row {
    const char* steps;
    int state;
    bool canRedo;
  };
  const Row rows[] = {
      {"ccc", 3, false},         {"cccu", 2, true},        {"cccur", 3, false},
      {"cccuuur", 1, true},      {"cccuuurrr", 3, false},  {"cccuuurrrr", 3, false},
      {"cccuuc", 4, false},      {"cccuucr", 4, false},    {"cccuucu", 1, true},
      {"cccuucur", 4, false},    {"ccccccccccccuuuuuuuuuurrrrrrrrrr", 12, false},
      {"cccuurur", 2, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.steps);
    history.Clear();
    document = TBlock::CreateWithText("state 0");
    state = 0;
    for (const char* c = row.steps; *c; ++c) {
      if (*c == 'c') {
        Change();
      } else if (*c == 'u') {
        history.StepBack(document);
      } else {
        history.StepForward(document);
      }
    }
    EXPECT_EQ(document->Text, "state " + std::to_string(row.state));
    EXPECT_EQ(history.CanStepForward(), row.canRedo);
  }
}

// Push (P) and drop (D) sequences of the commands, on a full history.
struct TSequenceCase {
  const char* name;
  const char* operations;
  int count;
};

class FullHistorySequence : public testing::TestWithParam<TSequenceCase> {};

TEST_P(FullHistorySequence, LeavesTheExpectedSnapshots) {
  TOwned<TBlock> document = TBlock::CreateWithText("doc");
  TUndoHistory history;
  for (int i = 0; i < TUndoHistory::kSize; ++i) history.PushUndo(*document);
  ASSERT_EQ(history.Count(), 10);
  for (const char* op = GetParam().operations; *op; ++op) {
    if (*op == 'P')
      history.PushUndo(*document);
    else
      history.DropNewestUndo();
  }
  EXPECT_EQ(history.Count(), GetParam().count);
  // Positions 1..count filled without gaps, the rest empty.
  for (int p = 1; p <= TUndoHistory::kSize; ++p)
    EXPECT_EQ(history.Snapshot(p) != nullptr, p <= GetParam().count) << "position " << p;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, FullHistorySequence,
    testing::Values(TSequenceCase{"delete", "P", 10},
                    TSequenceCase{"insertion_accepted", "PPD", 9},
                    TSequenceCase{"insertion_cancelled", "PPPDDD", 7},
                    TSequenceCase{"refinement", "PP", 10},
                    TSequenceCase{"single_drop", "D", 9}),
    [](const testing::TestParamInfo<TSequenceCase>& info) { return std::string(info.param.name); });

}  // namespace

// SPDX-License-Identifier: MIT
#include "model/element.h"
#include "tests/model/tree_dump.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// Every element reachable from e (successors, bodies, branches).
void Collect(const TElement* e, std::set<const TElement*>& all) {
  std::vector<const TElement*> stack{e};
  while (!stack.empty()) {
    const TElement* c = stack.back();
    stack.pop_back();
    for (; c; c = c->Next) {
      all.insert(c);
      if (const TBlock* b = As<TBlock>(c))
        stack.push_back(b->Body);
      if (const TBedingung* d = As<TBedingung>(c)) {
        stack.push_back(d->Branch1);
        stack.push_back(d->Branch2);
      }
    }
  }
}

std::vector<const TElement*> Chain(const TElement* head) {
  std::vector<const TElement*> out;
  for (; head; head = head->Next)
    out.push_back(head);
  return out;
}

TEST(ElementCreation, TextConstructorsSetTheDefaultsOfEachClass) {
  struct Row {
    TKind kind;
    const char* branch1;
    const char* branch2;
    int branchCount;
    bool bodyBracketed;
    int loopOnYes; // -1: not a post-test loop
  };
  const Row rows[] = {
      {TKind::If, "Ja-Block", "Nein-Block", 2, true, -1},
      {TKind::While, "While-Block", nullptr, 1, true, -1},
      {TKind::For, "For-Block", nullptr, 1, true, -1},
      {TKind::DoWhile, "DoWhile-Block", nullptr, 1, true, 1},
      {TKind::Repeat, "RepeatUntil-Block", nullptr, 1, false, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.branch1);
    TOwned<TElement> e;
    switch (row.kind) {
    case TKind::If:
      e.reset(TIf::CreateWithText("c").release());
      break;
    case TKind::While:
      e.reset(TWhile::CreateWithText("c").release());
      break;
    case TKind::For:
      e.reset(TFor::CreateWithText("c").release());
      break;
    case TKind::DoWhile:
      e.reset(TDoWhile::CreateWithText("c").release());
      break;
    default:
      e.reset(TRepeat::CreateWithText("c").release());
      break;
    }
    ASSERT_EQ(e->Kind(), row.kind);
    const TBedingung* cond = As<TBedingung>(e.get());
    ASSERT_NE(cond, nullptr);
    EXPECT_EQ(cond->Text, "c");
    EXPECT_TRUE(cond->Independent);
    EXPECT_EQ(cond->Next, nullptr);
    EXPECT_EQ(cond->BranchCount, row.branchCount);
    ASSERT_NE(cond->Branch1, nullptr);
    EXPECT_EQ(cond->Branch1->Text, row.branch1);
    EXPECT_FALSE(cond->Branch1->Independent);
    EXPECT_TRUE(cond->Branch1->Framed);
    EXPECT_EQ(cond->Branch1->Bracketed, row.bodyBracketed);
    EXPECT_EQ(cond->Branch1->Body, nullptr);
    if (row.branch2) {
      ASSERT_NE(cond->Branch2, nullptr);
      EXPECT_EQ(cond->Branch2->Text, row.branch2);
      EXPECT_FALSE(cond->Branch2->Independent);
      EXPECT_TRUE(cond->Branch2->Bracketed);
    } else {
      EXPECT_EQ(cond->Branch2, nullptr);
    }
    const TDoWhile* post = As<TDoWhile>(e.get());
    EXPECT_EQ(post != nullptr, row.loopOnYes >= 0);
    if (post) {
      EXPECT_EQ(post->LoopOnYes, row.loopOnYes == 1);
    }
  }
  TOwned<TAnweisung> s = TAnweisung::CreateWithText("x");
  EXPECT_TRUE(s->Independent);
  TOwned<TBlock> b = TBlock::CreateWithText("B");
  EXPECT_TRUE(b->Independent && b->Framed && b->Bracketed);
  EXPECT_EQ(b->Body, nullptr);
}

TEST(ElementCreation, DowncastsFollowTheClassTree) {
  TOwned<TRepeat> r = TRepeat::CreateWithText("r");
  TOwned<TFor> f = TFor::CreateWithText("f");
  TOwned<TAnweisung> s = TAnweisung::CreateWithText("s");
  EXPECT_NE(As<TDoWhile>(r.get()), nullptr);
  EXPECT_NE(As<TWhile>(r.get()), nullptr);
  EXPECT_NE(As<TBedingung>(f.get()), nullptr);
  EXPECT_EQ(As<TDoWhile>(f.get()), nullptr);
  EXPECT_EQ(As<TIf>(f.get()), nullptr);
  EXPECT_EQ(As<TBlock>(s.get()), nullptr);
  EXPECT_EQ(As<TBedingung>(s.get()), nullptr);
  EXPECT_EQ(As<TBlock>(static_cast<TElement*>(nullptr)), nullptr);
}

TEST(ElementInsert, BlockTakesTheNewElementAsHeadOfItsBody) {
  TOwned<TBlock> root = NewDocumentRoot();
  TAnweisung* first = TAnweisung::CreateWithText("1").release();
  root->Insert(first);
  EXPECT_EQ(root->Body, first);
  EXPECT_EQ(first->Next, nullptr);
  TAnweisung* second = TAnweisung::CreateWithText("2").release();
  root->Insert(second);
  EXPECT_EQ(root->Body, second);
  EXPECT_EQ(second->Next, first);
  EXPECT_EQ(root->Next, nullptr);
}

TEST(ElementInsert, OtherElementsLinkTheNewElementAfterThemselves) {
  TOwned<TBlock> root = NewDocumentRoot();
  TIf* decision = AppendToBody(*root, TIf::CreateWithText("c"));
  TWhile* loop = AppendToBody(*root, TWhile::CreateWithText("w"));
  TAnweisung* a = TAnweisung::CreateWithText("a").release();
  decision->Insert(a);
  EXPECT_EQ(decision->Next, a);
  EXPECT_EQ(a->Next, loop);
  EXPECT_EQ(decision->Branch1->Body, nullptr);
  TAnweisung* b = TAnweisung::CreateWithText("b").release();
  loop->Insert(b);
  EXPECT_EQ(loop->Next, b);
  EXPECT_EQ(loop->Branch1->Body, nullptr);
}

TEST(ElementRemove, StatementInTheMiddleOfAChain) {
  TOwned<TBlock> root = NewDocumentRoot();
  TAnweisung* a = AppendToBody(*root, TAnweisung::CreateWithText("a"));
  TAnweisung* b = AppendToBody(*root, TAnweisung::CreateWithText("b"));
  TAnweisung* c = AppendToBody(*root, TAnweisung::CreateWithText("c"));
  root->Remove(b);
  EXPECT_EQ(Chain(root->Body), (std::vector<const TElement*>{a, c}));
  EXPECT_EQ(b->Next, c); // the removed statement still refers to its old successor
  DisposeElement(b);
}

TEST(ElementRemove, DecisionAsSuccessorReleasesItsBranches) {
  TOwned<TBlock> root = NewDocumentRoot();
  TAnweisung* a = AppendToBody(*root, TAnweisung::CreateWithText("a"));
  TIf* d = AppendToBody(*root, TIf::CreateWithText("d"));
  TAnweisung* after = AppendToBody(*root, TAnweisung::CreateWithText("after"));
  d->Branch1->Insert(TAnweisung::CreateWithText("yes").release());
  d->Branch2->Insert(TWhile::CreateWithText("no").release());
  root->Remove(d);
  EXPECT_EQ(Chain(root->Body), (std::vector<const TElement*>{a, after}));
  // The branches were freed (a sanitizer build reports any leak or double free); nothing of
  // them stays reachable from the decision.
  EXPECT_EQ(d->Branch1, nullptr);
  EXPECT_EQ(d->Branch2, nullptr);
  DisposeElement(d);
}

TEST(ElementRemove, DecisionAtTheHeadOfABodyKeepsItsBranches) {
  TOwned<TBlock> root = NewDocumentRoot();
  TIf* d = AppendToBody(*root, TIf::CreateWithText("d"));
  TAnweisung* b = AppendToBody(*root, TAnweisung::CreateWithText("b"));
  TAnweisung* yes = TAnweisung::CreateWithText("yes").release();
  d->Branch1->Insert(yes);
  root->Remove(d);
  EXPECT_EQ(root->Body, b);
  ASSERT_NE(d->Branch1, nullptr);
  ASSERT_NE(d->Branch2, nullptr);
  EXPECT_EQ(d->Branch1->Body, yes);
  EXPECT_EQ(d->Branch2->Text, "Nein-Block");
  DisposeElement(d); // frees the decision with what it still owns
}

TEST(ElementRemove, BlockAsSuccessorIsEmptiedButAtTheHeadIsNot) {
  TOwned<TBlock> root = NewDocumentRoot();
  TBlock* head = AppendToBody(*root, TBlock::CreateWithText("head"));
  TBlock* second = AppendToBody(*root, TBlock::CreateWithText("second"));
  head->Insert(TAnweisung::CreateWithText("h").release());
  second->Insert(TAnweisung::CreateWithText("s").release());
  root->Remove(second);
  EXPECT_EQ(second->Body, nullptr);
  EXPECT_EQ(head->Next, nullptr);
  DisposeElement(second);
  root->Remove(head);
  EXPECT_EQ(root->Body, nullptr);
  ASSERT_NE(head->Body, nullptr);
  EXPECT_EQ(head->Body->Text, "h");
  DisposeElement(head);
}

TEST(ElementRemove, BranchBlockIsEmptiedAndStaysInPlace) {
  TOwned<TBlock> root = NewDocumentRoot();
  TIf* d = AppendToBody(*root, TIf::CreateWithText("d"));
  TBlock* yes = d->Branch1;
  yes->Insert(TAnweisung::CreateWithText("1").release());
  yes->Body->Insert(TIf::CreateWithText("2").release());
  d->Branch2->Insert(TAnweisung::CreateWithText("n").release());
  root->Remove(yes);
  EXPECT_EQ(d->Branch1, yes);
  EXPECT_EQ(yes->Body, nullptr);
  EXPECT_EQ(yes->Text, "Ja-Block");
  ASSERT_NE(d->Branch2->Body, nullptr);
  EXPECT_EQ(d->BranchCount, 2);
}

TEST(ElementRemove, RootFromItselfFreesEverythingBelow) {
  TOwned<TBlock> root = NewDocumentRoot();
  AppendToBody(*root, TAnweisung::CreateWithText("a"));
  TRepeat* r = AppendToBody(*root, TRepeat::CreateWithText("r"));
  r->Branch1->Insert(TBlock::CreateWithText("inner").release());
  As<TBlock>(r->Branch1->Body)->Insert(TFor::CreateWithText("???").release());
  root->Remove(root.get());
  EXPECT_EQ(root->Body, nullptr);
  EXPECT_EQ(root->Text, "gesamtes Programm");
}

TEST(ElementRemove, FindsElementsDeepInsideLaterElements) {
  TOwned<TBlock> root = NewDocumentRoot();
  AppendToBody(*root, TAnweisung::CreateWithText("a"));
  TWhile* w = AppendToBody(*root, TWhile::CreateWithText("w"));
  TAnweisung* inner1 = TAnweisung::CreateWithText("i1").release();
  TAnweisung* inner2 = TAnweisung::CreateWithText("i2").release();
  w->Branch1->Insert(inner2);
  w->Branch1->Insert(inner1);
  root->Remove(inner2);
  EXPECT_EQ(inner1->Next, nullptr);
  DisposeElement(inner2);
  const std::string before = DescribeTree(root.get());
  TOwned<TAnweisung> stranger = TAnweisung::CreateWithText("x");
  root->Remove(stranger.get());
  root->Detach(stranger.get());
  EXPECT_EQ(DescribeTree(root.get()), before);
  EXPECT_EQ(root->FindPredecessor(stranger.get()), nullptr);
}

TEST(ElementDetach, UnlinksWithoutReleasingAnything) {
  TOwned<TBlock> root = NewDocumentRoot();
  TAnweisung* a = AppendToBody(*root, TAnweisung::CreateWithText("a"));
  TIf* d = AppendToBody(*root, TIf::CreateWithText("d"));
  TAnweisung* c = AppendToBody(*root, TAnweisung::CreateWithText("c"));
  d->Branch1->Insert(TAnweisung::CreateWithText("y").release());
  TAnweisung* deep = TAnweisung::CreateWithText("deep").release();
  d->Branch2->Insert(deep);

  root->Detach(d);
  EXPECT_EQ(a->Next, c);
  EXPECT_EQ(d->Next, c); // kept until the caller relinks it
  ASSERT_NE(d->Branch1->Body, nullptr);
  d->Next = nullptr;
  c->Insert(d); // relinked elsewhere
  EXPECT_EQ(c->Next, d);

  root->Detach(a);
  EXPECT_EQ(root->Body, c);
  a->Next = nullptr;
  d->Branch2->Detach(deep);
  root->Detach(deep);
  EXPECT_EQ(d->Branch2->Body, nullptr);
  DisposeElement(deep);
  d->Branch1->Insert(a);

  const std::string before = DescribeTree(root.get());
  root->Detach(root.get());
  root->Detach(d->Branch1);
  EXPECT_EQ(DescribeTree(root.get()), before);
}

TEST(ElementFindPredecessor, ReturnsTheElementThatLinksToX) {
  TOwned<TBlock> root = NewDocumentRoot();
  TAnweisung* a = AppendToBody(*root, TAnweisung::CreateWithText("a"));
  TIf* d = AppendToBody(*root, TIf::CreateWithText("d"));
  TRepeat* r = AppendToBody(*root, TRepeat::CreateWithText("r"));
  TAnweisung* yes = TAnweisung::CreateWithText("yes").release();
  d->Branch1->Insert(yes);
  TAnweisung* no2 = TAnweisung::CreateWithText("no2").release();
  d->Branch2->Insert(no2);
  TAnweisung* no1 = TAnweisung::CreateWithText("no1").release();
  d->Branch2->Insert(no1);
  TAnweisung* body = TAnweisung::CreateWithText("body").release();
  r->Branch1->Insert(body);

  struct Row {
    const TElement* x;
    const TElement* expected;
  };
  const Row rows[] = {
      {a, root.get()},
      {d, a},
      {r, d},
      {d->Branch1, d},
      {d->Branch2, d},
      {yes, d->Branch1},
      {no1, d->Branch2},
      {no2, no1},
      {r->Branch1, r},
      {body, r->Branch1},
      {root.get(), nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.x->Text);
    EXPECT_EQ(root->FindPredecessor(row.x), row.expected);
  }
  // Searching from inside the tree finds only what lies below and after the receiver.
  EXPECT_EQ(d->FindPredecessor(body), r->Branch1);
  EXPECT_EQ(d->FindPredecessor(a), nullptr);
}

TEST(ElementCopy, DeepCopyKeepsClassesTitlesAndFlags) {
  TOwned<TBlock> root = NewDocumentRoot();
  TIf* d = AppendToBody(*root, TIf::CreateWithText("d"));
  d->Branch1->Text = "Wenn ja";
  d->Branch1->Insert(TAnweisung::CreateWithText("y").release());
  d->Branch2->Insert(TFor::CreateWithText("i := 1 bis 3").release());
  TRepeat* r = AppendToBody(*root, TRepeat::CreateWithText("r"));
  r->Branch1->Insert(TDoWhile::CreateWithText("dw").release());
  TBlock* named = AppendToBody(*root, TBlock::CreateWithText("named"));
  named->Insert(TWhile::CreateWithText("w").release());

  TOwned<TBlock> copy = CreateCopy(*root);
  EXPECT_EQ(DescribeTree(copy.get()), DescribeTree(root.get()));
  const TIf* dc = As<TIf>(copy->Body);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(dc->Branch1->Text, "Wenn ja");
  EXPECT_EQ(dc->Branch2->Text, "Nein-Block");
  EXPECT_FALSE(dc->Branch1->Independent);
  EXPECT_TRUE(dc->Branch2->Bracketed);
  const TRepeat* rc = As<TRepeat>(dc->Next);
  ASSERT_NE(rc, nullptr);
  EXPECT_FALSE(rc->LoopOnYes);
  EXPECT_FALSE(rc->Branch1->Bracketed);
  const TDoWhile* dwc = As<TDoWhile>(rc->Branch1->Body);
  ASSERT_NE(dwc, nullptr);
  EXPECT_EQ(dwc->Kind(), TKind::DoWhile);
  EXPECT_TRUE(dwc->LoopOnYes);
  EXPECT_FALSE(copy->Independent);
  EXPECT_FALSE(copy->Bracketed);

  // A copy of an element inside the tree takes its successors along.
  TOwned<TElement> tail = CreateCopy(*static_cast<TElement*>(d));
  EXPECT_EQ(Chain(tail.get()).size(), 3u);
  EXPECT_EQ(tail->Next->Next->Kind(), TKind::Block);
}

TEST(ElementCopy, CopySharesNothingWithTheOriginal) {
  TOwned<TBlock> root = NewDocumentRoot();
  TIf* d = AppendToBody(*root, TIf::CreateWithText("d"));
  d->Branch1->Insert(TAnweisung::CreateWithText("y").release());
  AppendToBody(*root, TWhile::CreateWithText("w"))
      ->Branch1->Insert(TBlock::CreateWithText("b").release());
  TOwned<TBlock> copy = CreateCopy(*root);
  std::set<const TElement*> original, copied;
  Collect(root.get(), original);
  Collect(copy.get(), copied);
  EXPECT_EQ(original.size(), copied.size());
  for (const TElement* e : copied)
    EXPECT_EQ(original.count(e), 0u);

  const std::string before = DescribeTree(root.get());
  TElement* head = copy->Body;
  copy->Remove(head);
  EXPECT_EQ(copy->Body, head->Next);
  DisposeElement(head);
  copy->Remove(copy.get());
  EXPECT_EQ(copy->Body, nullptr);
  EXPECT_EQ(DescribeTree(root.get()), before);
}

TEST(ElementContains, ElementItselfAndEverythingInsideButNotSuccessors) {
  TOwned<TBlock> root = NewDocumentRoot();
  TWhile* w = AppendToBody(*root, TWhile::CreateWithText("w"));
  TAnweisung* after = AppendToBody(*root, TAnweisung::CreateWithText("after"));
  TIf* inner = TIf::CreateWithText("i").release();
  w->Branch1->Insert(inner);
  TAnweisung* deep = TAnweisung::CreateWithText("deep").release();
  inner->Branch2->Insert(deep);
  EXPECT_TRUE(Contains(*w, *w));
  EXPECT_TRUE(Contains(*w, *w->Branch1));
  EXPECT_TRUE(Contains(*w, *deep));
  EXPECT_TRUE(Contains(*root, *after));
  EXPECT_FALSE(Contains(*w, *after));
  EXPECT_FALSE(Contains(*deep, *w));
  EXPECT_FALSE(Contains(*inner->Branch1, *deep));
}

TEST(ElementLongChains, HundredThousandStatementsWithoutRecursion) {
  const int kCount = 100000;
  TOwned<TBlock> root = NewDocumentRoot();
  TElement* last = nullptr;
  TElement* middle = nullptr;
  for (int i = 0; i < kCount; ++i) {
    TElement* e = i % 3 == 0 ? static_cast<TElement*>(TIf::CreateWithText("c").release())
                             : TAnweisung::CreateWithText("s").release();
    if (last)
      last->Insert(e);
    else
      root->Insert(e);
    last = e;
    if (i == kCount / 2)
      middle = e;
  }
  TOwned<TBlock> copy = CreateCopy(*root);
  EXPECT_EQ(Chain(copy->Body).size(), static_cast<std::size_t>(kCount));
  EXPECT_NE(root->FindPredecessor(last), nullptr);
  EXPECT_TRUE(Contains(*root, *last));
  root->Remove(middle);
  DisposeElement(middle);
  root->Detach(last);
  DisposeElement(last);
  EXPECT_EQ(Chain(root->Body).size(), static_cast<std::size_t>(kCount - 2));
  root->Remove(root.get());
  EXPECT_EQ(root->Body, nullptr);
  // The copy goes with its owner; long branch chains too.
  TBlock* branch = As<TIf>(copy->Body)->Branch1;
  for (int i = 0; i < kCount; ++i)
    branch->Insert(TAnweisung::CreateWithText("b").release());
}

TEST(ElementDeepNesting, ThousandLevels) {
  const int kDepth = 1000;
  TOwned<TBlock> root = NewDocumentRoot();
  TBlock* block = root.get();
  TElement* deepest = nullptr;
  for (int i = 0; i < kDepth; ++i) {
    TElement* e;
    switch (i % 3) {
    case 0:
      e = TIf::CreateWithText("i").release();
      break;
    case 1:
      e = TRepeat::CreateWithText("r").release();
      break;
    default:
      e = TBlock::CreateWithText("b").release();
      break;
    }
    block->Insert(e);
    deepest = e;
    block = As<TBlock>(e) ? As<TBlock>(e) : As<TBedingung>(e)->Branch1;
  }
  TAnweisung* leaf = TAnweisung::CreateWithText("leaf").release();
  block->Insert(leaf);
  TOwned<TBlock> copy = CreateCopy(*root);
  EXPECT_EQ(DescribeTree(copy.get()), DescribeTree(root.get()));
  EXPECT_TRUE(Contains(*root, *leaf));
  EXPECT_EQ(root->FindPredecessor(leaf), block);
  EXPECT_NE(root->FindPredecessor(deepest), nullptr);
  root->Remove(leaf);
  EXPECT_EQ(block->Body, nullptr);
  DisposeElement(leaf);
  copy->Remove(copy.get());
  EXPECT_EQ(copy->Body, nullptr);
}

} // namespace

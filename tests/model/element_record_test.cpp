// SPDX-License-Identifier: MIT
#include "model/element_record.h"
#include "model/structogram_file.h"
#include "tests/model/tree_dump.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

// Every kind, with something inside, between two statements whose copies must not come along.
TEST(ElementRecord, EveryKindTravelsWithWhatItHoldsAndWithoutItsSuccessors) {
  TOwned<TBlock> root = NewDocumentRoot();
  AppendToBody(*root, TAnweisung::CreateWithText("davor"));
  TIf* decision = AppendToBody(*root, TIf::CreateWithText("a < b"));
  decision->Branch1->Insert(TAnweisung::CreateWithText("ja").release());
  TWhile* loop = AppendToBody(*root, TWhile::CreateWithText("i < n"));
  loop->Branch1->Insert(TFor::CreateWithText("i := 1 bis 3").release());
  TRepeat* repeat = AppendToBody(*root, TRepeat::CreateWithText("fertig"));
  TDoWhile* doWhile = AppendToBody(*root, TDoWhile::CreateWithText("weiter"));
  TBlock* named = AppendToBody(*root, TBlock::CreateWithText("Teil"));
  named->Insert(TAnweisung::CreateWithText("innen").release());
  AppendToBody(*root, TAnweisung::CreateWithText("danach"));
  for (TElement* e : std::initializer_list<TElement*>{root->Body, decision, loop, repeat, doWhile,
                                                      named, decision->Branch1}) {
    SCOPED_TRACE(e->Text);
    TOwned<TElement> pasted = ElementFromRecord(ElementRecord(*e));
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->Next, nullptr);
    EXPECT_TRUE(pasted->Independent);
    // The same element, but a branch block arrives as a named block of its own.
    TOwned<TBlock> alone = TBlock::CreateWithText("Zwischenablage");
    alone->Independent = false;
    alone->Bracketed = false;
    alone->Body = pasted.release();
    TOwned<TElement> expected = CreateCopy(*e);
    DisposeTree(expected->Next);
    expected->Next = nullptr;
    expected->Independent = true;
    if (TBlock* b = As<TBlock>(expected.get())) b->Bracketed = true;
    EXPECT_EQ(DescribeTree(alone->Body), DescribeTree(expected.get()));
    EXPECT_EQ(ElementSource(*e), ExportProgram(*alone));
  }
  EXPECT_EQ(ElementSource(*root->Body), "  davor;\r\n");
}

TEST(ElementRecord, AnythingElseIsNoElement) {
  for (const std::string& bytes :
       {""s, "Hallo Welt"s, "B:x\x01"s + "A:"s, "B:x\x01\x02\x02"s, "B:x\x01\x02\x02"s + "A:y\x01"s}) {
    EXPECT_EQ(ElementFromRecord(bytes), nullptr) << bytes;
  }
}

}  // namespace

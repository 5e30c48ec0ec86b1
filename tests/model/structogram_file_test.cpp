// SPDX-License-Identifier: MIT
#include "model/stream.h"
#include "model/structogram_file.h"
#include "tests/model/tree_dump.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using namespace std::string_literals;

// The 84 bytes of a document holding "Anweisung" and a decision "???" with one statement in
// its yes-branch, written out as hexadecimal.
const char kWorkedExampleHex[] =
    "42 3A 67 65 73 61 6D 74 65 73 20 50 72 6F 67 72 61 6D 6D 01 41 3A 41 6E 77 65 69 73 75 6E "
    "67 01 49 3A 3F 3F 3F 01 42 3A 4A 61 2D 42 6C 6F 63 6B 01 41 3A 41 6E 77 65 69 73 75 6E 67 "
    "01 02 02 02 02 42 3A 4E 65 69 6E 2D 42 6C 6F 63 6B 01 02 02 02 02 02 02";

std::string FromHex(const char* hex) {
  std::string out;
  for (const char* p = hex; *p;) {
    if (*p == ' ') {
      ++p;
      continue;
    }
    out += static_cast<char>(std::stoi(std::string(p, 2), nullptr, 16));
    p += 2;
  }
  return out;
}

std::string Save(const TBlock& root) {
  TMemoryStream stream;
  SaveDocument(root, stream);
  return stream.Data;
}

TLoadResult Load(const std::string& bytes) {
  TMemoryStream stream(bytes);
  return LoadDocument(stream);
}

std::string LoadError(const std::string& bytes) {
  try {
    Load(bytes);
  } catch (const TStreamError& e) {
    return e.what();
  }
  return "(loaded)";
}

TOwned<TBlock> WorkedExample() {
  TOwned<TBlock> root = NewDocumentRoot();
  AppendToBody(*root, TAnweisung::CreateWithText("Anweisung"));
  TIf* d = AppendToBody(*root, TIf::CreateWithText("???"));
  d->Branch1->Insert(TAnweisung::CreateWithText("Anweisung").release());
  return root;
}

TEST(StructogramFile, WorkedExampleIsWrittenByteForByte) {
  const std::string bytes = Save(*WorkedExample());
  EXPECT_EQ(bytes.size(), 84u);
  EXPECT_EQ(bytes, FromHex(kWorkedExampleHex));
  TLoadResult loaded = Load(bytes);
  EXPECT_FALSE(loaded.Damaged);
  EXPECT_EQ(DescribeTree(loaded.Root.get()), DescribeTree(WorkedExample().get()));
}

TEST(StructogramFile, SmallRecordsAreWrittenExactly) {
  TOwned<TBlock> empty = NewDocumentRoot();
  EXPECT_EQ(Save(*empty), "B:gesamtes Programm\x01\x02\x02"s);

  struct Row {
    const char* name;
    TOwned<TElement> element;
    std::string bytes; // inside an empty root titled "r"
  };
  Row rows[] = {
      {"empty block", TOwned<TElement>(TBlock::CreateWithText("b").release()), "B:b\x01\x02\x02"s},
      {"statement without text", TOwned<TElement>(TAnweisung::CreateWithText("").release()),
       "A:\x01"s},
      {"decision with empty branches", TOwned<TElement>(TIf::CreateWithText("c").release()),
       "I:c\x01"
       "B:Ja-Block\x01\x02\x02\x02\x02"
       "B:Nein-Block\x01\x02\x02\x02\x02"s},
      {"while", TOwned<TElement>(TWhile::CreateWithText("w").release()),
       "W:w\x01"
       "B:While-Block\x01\x02\x02\x02\x02"s},
      {"for", TOwned<TElement>(TFor::CreateWithText("???").release()),
       "F:???\x01"
       "B:For-Block\x01\x02\x02\x02\x02"s},
      {"do-while", TOwned<TElement>(TDoWhile::CreateWithText("d").release()),
       "D:d\x01"
       "B:DoWhile-Block\x01\x02\x02\x02\x02"s},
      {"repeat", TOwned<TElement>(TRepeat::CreateWithText("r").release()),
       "R:r\x01"
       "B:RepeatUntil-Block\x01\x02\x02\x02\x02"s},
  };
  for (Row& row : rows) {
    SCOPED_TRACE(row.name);
    TOwned<TBlock> root = TBlock::CreateWithText("r");
    root->Insert(row.element.release());
    EXPECT_EQ(Save(*root), "B:r\x01"s + row.bytes + "\x02\x02"s);
  }
}

// A text holding 0x00 or 0x01 would read back differently (cut short, or ending its chain and
// losing what follows): the writer refuses the whole document and writes nothing.
TEST(StructogramFile, TextsThatCannotReadBackAreRefused) {
  for (const std::string& text : {"ab\0cd"s, "a\x01"s, "\x01"s, "x\x01y\0"s}) {
    for (int where = 0; where < 3; ++where) {
      TOwned<TBlock> root = NewDocumentRoot();
      TIf* d = AppendToBody(*root, TIf::CreateWithText("c"));
      TAnweisung* s = AppendToBody(*d->Branch2, TAnweisung::CreateWithText("s"));
      TElement* holder = where == 0 ? static_cast<TElement*>(root.get()) : d->Branch2;
      (where == 2 ? s : holder)->Text = text;
      TMemoryStream stream;
      EXPECT_THROW(SaveDocument(*root, stream), TStreamError) << where;
      EXPECT_TRUE(stream.Data.empty());
    }
  }
}

TEST(StructogramFile, AllRecordKindsRoundTripWithTheirFlags) {
  TOwned<TBlock> root = NewDocumentRoot();
  TIf* d = AppendToBody(*root, TIf::CreateWithText("x < 10"));
  d->Branch1->Text = "Wenn ja";
  d->Branch2->Text = "Sonst";
  d->Branch1->Insert(TAnweisung::CreateWithText("y := x").release());
  d->Branch2->Insert(TFor::CreateWithText("i := 1 bis 10").release());
  TWhile* w = AppendToBody(*root, TWhile::CreateWithText("w"));
  w->Branch1->Text = "Schleife";
  TDoWhile* dw = AppendToBody(*root, TDoWhile::CreateWithText("dw"));
  dw->Branch1->Insert(TRepeat::CreateWithText("inner").release());
  TRepeat* r = AppendToBody(*root, TRepeat::CreateWithText("r"));
  r->Branch1->Text = "Bis";
  TBlock* named = AppendToBody(*root, TBlock::CreateWithText("Ausgabe"));
  named->Insert(TAnweisung::CreateWithText("writeln(\xE4)").release());
  AppendToBody(*root, TAnweisung::CreateWithText(std::string(300, 'z')));
  AppendToBody(*root, TAnweisung::CreateWithText(std::string(100, 'h')));

  TLoadResult loaded = Load(Save(*root));
  EXPECT_FALSE(loaded.Damaged);
  EXPECT_EQ(DescribeTree(loaded.Root.get()), DescribeTree(root.get()));

  // Flags come from the record kinds and places alone.
  const TBlock& l = *loaded.Root;
  EXPECT_FALSE(l.Independent);
  EXPECT_FALSE(l.Bracketed);
  const TIf* ld = As<TIf>(l.Body);
  ASSERT_NE(ld, nullptr);
  EXPECT_TRUE(ld->Independent);
  EXPECT_EQ(ld->BranchCount, 2);
  EXPECT_FALSE(ld->Branch1->Independent);
  EXPECT_TRUE(ld->Branch1->Bracketed);
  EXPECT_EQ(ld->Branch2->Text, "Sonst");
  const TDoWhile* ldw = As<TDoWhile>(ld->Next->Next);
  ASSERT_NE(ldw, nullptr);
  EXPECT_EQ(ldw->Kind(), TKind::DoWhile);
  EXPECT_TRUE(ldw->LoopOnYes);
  EXPECT_TRUE(ldw->Branch1->Bracketed);
  const TRepeat* lr = As<TRepeat>(ldw->Next);
  ASSERT_NE(lr, nullptr);
  EXPECT_FALSE(lr->LoopOnYes);
  EXPECT_FALSE(lr->Branch1->Bracketed);
  EXPECT_EQ(lr->Branch1->Text, "Bis");
  const TBlock* lb = As<TBlock>(lr->Next);
  ASSERT_NE(lb, nullptr);
  EXPECT_TRUE(lb->Independent && lb->Framed && lb->Bracketed);
  EXPECT_EQ(lb->Next->Text.size(), 300u);
}

// The worked example cut after n bytes. Where a cut falls decides the outcome: inside a text
// field, or before the title of a branch block that the decision still needs, the load fails;
// where a tag is expected, the open chains end there and the file counts as damaged.
TEST(StructogramFile, WorkedExampleCutAtEveryOffset) {
  const std::string full = FromHex(kWorkedExampleHex);
  const std::string emptyRoot = "B:gesamtes Programm\x01\x02\x02"s;
  const std::string oneStatement = "B:gesamtes Programm\x01"
                                   "A:Anweisung\x01\x02\x02"s;
  struct Range {
    std::size_t from, to; // cut lengths, inclusive
    const char* saved;    // what the loaded tree saves as; null: the load fails
  };
  // Pieces: 0-1 skipped, 2-19 root title, 20-21 body tag, 22-31 statement text, 32-33 its
  // successor tag, 34-37 decision text, 38-48 yes-branch skip and title, 49-77 the rest up to
  // the no-branch title's end (it cannot be read before byte 77), 78-83 tags only.
  const Range ranges[] = {
      {0, 19, nullptr},  {20, 21, emptyRoot.c_str()},
      {22, 31, nullptr}, {32, 33, oneStatement.c_str()},
      {34, 77, nullptr}, {78, 84, full.c_str()},
  };
  std::size_t checked = 0;
  for (const Range& range : ranges) {
    for (std::size_t n = range.from; n <= range.to; ++n, ++checked) {
      SCOPED_TRACE("cut at " + std::to_string(n));
      const std::string cut = full.substr(0, n);
      if (!range.saved) {
        EXPECT_EQ(LoadError(cut), "Stream-Lesefehler");
        continue;
      }
      TLoadResult loaded = Load(cut);
      ASSERT_NE(loaded.Root, nullptr);
      EXPECT_EQ(Save(*loaded.Root), std::string(range.saved));
      EXPECT_EQ(loaded.Damaged, n < full.size());
    }
  }
  EXPECT_EQ(checked, full.size() + 1);
}

TEST(StructogramFile, ReaderToleratesWhatTheRulesAllow) {
  struct Row {
    const char* name;
    std::string bytes;
    std::string resaved;
    bool damaged;
    bool trailing = false;
  };
  const std::string empty = "B:r\x01\x02\x02"s;
  const Row rows[] = {
      {"zero bytes in a text are skipped",
       "B:r\x01"
       "A:a\x00"
       "b\x00\x01\x02\x02"s,
       "B:r\x01"
       "A:ab\x01\x02\x02"s,
       false},
      {"skipped bytes and second tag bytes are not checked",
       "XYr\x01I?c\x01??J\x01\x02\x02\x02\x02!!N\x01\x02\x02\x02\x02\x02\x02"s,
       "B:r\x01I:c\x01"
       "B:J\x01\x02\x02\x02\x02"
       "B:N\x01\x02\x02\x02\x02\x02\x02"s,
       false},
      {"unknown tag ends the chain like ChainEnd",
       "B:r\x01I:c\x01"
       "B:J\x01Z:\x02\x02"
       "B:N\x01\x02\x02\x02\x02\x02\x02"s,
       "B:r\x01I:c\x01"
       "B:J\x01\x02\x02\x02\x02"
       "B:N\x01\x02\x02\x02\x02\x02\x02"s,
       true},
      {"unknown tag shifts the rest, which becomes the root's successor",
       "B:r\x01"
       "A:a\x01X:A:b\x01\x02\x02"s,
       "B:r\x01"
       "A:a\x01\x02\x02"
       "A:b\x01"s,
       true, true},
      {"bytes after the unknown tag's shifted chain are left over",
       "B:r\x01"
       "X:\x02\x02" "A:b\x01"s,
       "B:r\x01\x02\x02"s,
       true},
      {"a clean end mark after the root's record", empty + "\x02\x02"s, empty, false},
      {"bytes after that end mark", empty + "\x02\x02xy"s, empty, true},
      {"records after the root's record", empty + "A:t\x01"s, empty + "A:t\x01"s, false, true},
      {"records after the root's record, then an end mark",
       empty + "A:t\x01\x02\x02"s, empty + "A:t\x01"s, false, true},
      {"a block after the root's record, cut inside its body", empty + "B:t\x01"s,
       empty + "B:t\x01\x02\x02"s, true, true},
      {"one byte where a tag is expected",
       "B:r\x01"
       "A:a\x01\x02"s,
       "B:r\x01"
       "A:a\x01\x02\x02"s,
       true},
      {"branch block with successors",
       "B:r\x01W:w\x01"
       "B:W\x01\x02\x02"
       "A:s\x01\x02\x02\x02\x02"s,
       "B:r\x01W:w\x01"
       "B:W\x01\x02\x02"
       "A:s\x01\x02\x02\x02\x02"s,
       false},
      {"text field longer than 256 bytes",
       "B:r\x01"
       "A:" +
           std::string(1000, 'q') + "\x01\x02\x02"s,
       "B:r\x01"
       "A:" +
           std::string(1000, 'q') + "\x01\x02\x02"s,
       false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TLoadResult loaded = Load(row.bytes);
    ASSERT_NE(loaded.Root, nullptr);
    EXPECT_EQ(Save(*loaded.Root), row.resaved);
    EXPECT_EQ(loaded.Damaged, row.damaged);
    EXPECT_EQ(loaded.TrailingRecords, row.trailing);
    EXPECT_FALSE(loaded.Root->Independent);
    EXPECT_FALSE(loaded.Root->Bracketed);
  }
}

TEST(StructogramFile, FailuresLeaveNoTree) {
  const std::string bytes[] = {
      ""s,
      "B:"s,
      "B:r"s,
      "B:r\x01"
      "A:abc"s,
      "B:r\x01I:c\x01"
      "B:"s,
      "B:r\x01W:w\x01"
      "B:W\x01\x02\x02"s, // the loop's body ends the file; its successor tag is
                          // missing too, but that ends the chain, so it loads
  };
  for (std::size_t i = 0; i + 1 < std::size(bytes); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(LoadError(bytes[i]), "Stream-Lesefehler");
  }
  TLoadResult loaded = Load(bytes[std::size(bytes) - 1]);
  EXPECT_TRUE(loaded.Damaged);
  EXPECT_EQ(As<TWhile>(loaded.Root->Body)->Branch1->Text, "W");
}

// Nested blocks: the root and depth-1 blocks, each the only element of its parent's body.
TOwned<TBlock> NestedBlocks(int depth) {
  TOwned<TBlock> root = NewDocumentRoot();
  TBlock* block = root.get();
  for (int i = 1; i < depth; ++i) {
    TBlock* inner = TBlock::CreateWithText("b").release();
    block->Insert(inner);
    block = inner;
  }
  return root;
}

TEST(StructogramFile, NestingLimit) {
  TOwned<TBlock> deepest = NestedBlocks(kMaxNestingDepth);
  TLoadResult loaded = Load(Save(*deepest));
  EXPECT_EQ(DescribeTree(loaded.Root.get()), DescribeTree(deepest.get()));
  TMemoryStream tooDeep;
  NestedBlocks(kMaxNestingDepth + 1)->SaveToStream(tooDeep);
  EXPECT_EQ(LoadError(tooDeep.Data), "Die Datei ist zu tief verschachtelt (mehr als 2000 Ebenen).");
}

TEST(StructogramFile, LongChainsAndDeepNestingRoundTrip) {
  TOwned<TBlock> root = NewDocumentRoot();
  TElement* last = nullptr;
  for (int i = 0; i < 100000; ++i) {
    TElement* e = i % 2 ? static_cast<TElement*>(TAnweisung::CreateWithText("s").release())
                        : TWhile::CreateWithText("w").release();
    if (last)
      last->Insert(e);
    else
      root->Insert(e);
    last = e;
  }
  // 1000 decisions, each inside the yes-branch of the one before, at the end of the chain.
  TBlock* branch = nullptr;
  for (int i = 0; i < 1000; ++i) {
    TIf* d = TIf::CreateWithText("d").release();
    if (branch)
      branch->Insert(d);
    else
      last->Insert(d);
    branch = d->Branch1;
  }
  const std::string bytes = Save(*root);
  TLoadResult loaded = Load(bytes);
  EXPECT_FALSE(loaded.Damaged);
  EXPECT_EQ(Save(*loaded.Root), bytes);
  EXPECT_EQ(DescribeTree(loaded.Root.get()), DescribeTree(root.get()));
}

// Damaged files of every shape: whatever loads must save to a file that loads back to the very
// same bytes, and nothing else may happen than a load or a read error.
TEST(StructogramFile, MutatedFilesLoadOrFailCleanly) {
  const std::string original = FromHex(kWorkedExampleHex);
  const char alphabet[] = {'\x00', '\x01', '\x02', 'A', 'B', 'D', 'F', 'I', 'R', 'W', ':', 'x'};
  std::mt19937 random(20261207);
  int loaded = 0, failed = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string bytes = original;
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits && !bytes.empty(); ++e) {
      const std::size_t at = random() % bytes.size();
      const char byte = alphabet[random() % sizeof alphabet];
      switch (random() % 3) {
      case 0:
        bytes[at] = byte;
        break;
      case 1:
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), byte);
        break;
      default:
        bytes.erase(at, 1);
      }
    }
    SCOPED_TRACE(round);
    std::string saved;
    try {
      TLoadResult first = Load(bytes);
      ASSERT_NE(first.Root, nullptr);
      saved = Save(*first.Root);
      ++loaded;
    } catch (const TStreamError& error) {
      EXPECT_STREQ(error.what(), "Stream-Lesefehler");
      ++failed;
      continue;
    }
    TLoadResult second = Load(saved);
    EXPECT_EQ(Save(*second.Root), saved);
    // A resaved file is damaged only where the root itself had successors to write.
    if (second.Damaged) {
      EXPECT_NE(second.Root->Next, nullptr);
    }
  }
  // The mutations reach both outcomes, or the test proves nothing.
  EXPECT_GT(loaded, 100);
  EXPECT_GT(failed, 100);
}

} // namespace

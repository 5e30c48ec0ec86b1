// SPDX-License-Identifier: MIT
#include "diagram_test_support.h"

#include "model/element_record.h"
#include "model/nesting.h"
#include "ui/main/qt_windowing_services.h"
#include "model/structogram_file.h"
#include "ui/main/text_codec.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

class EditingTest : public DiagramTest {
protected:
  TAnweisung* s1 = nullptr;
  TAnweisung* s2 = nullptr;

  void StartWithTwoStatements() {
    StartWith([&](TBlock& p) {
      s1 = Statement(p, "s1");
      s2 = Statement(p, "s2");
    });
  }
  QAction* MainAction(const char* name) {
    return form->findChild<QAction*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
  }
  QAction* PopupAction(const char* name) {
    return First().PopupMenu1->findChild<QAction*>(QLatin1String(name));
  }
};

TEST_F(EditingTest, PopupMenuMatchesTheTable) {
  StartWithTwoStatements();
  struct Row {
    const char* name;
    const char* caption;
    bool visible;
  };
  const Row top[] = {
      {"Einfgen1", "Einfügen", true},
      {"Textbearbeiten1", "Text bearbeiten", true},
      {"Genauerbestimmen1", "Genauer bestimmen", true},
      {"Lschen1", "Löschen", true},
      {"N3", "-", true},
      {"Anzeigeverkleinernvergrern1", "Anzeige verkleinern/vergrößern", true},
      {"InneuemFensteranzeigen1", "In neuem Fenster anzeigen", true},
      // Beyond the original program's items.
      {"N4", "-", true},
      {"Ausschneiden1", "Ausschneiden", true},
      {"Kopieren1", "Kopieren", true},
      {"AusZwischenablageeinfgen1", "Aus Zwischenablage einfügen", true},
  };
  const Row sub[] = {
      {"Anweisung", "Anweisung", true},
      {"N1", "-", true},
      {"IfAnweisung", "Entscheidung", true},
      {"N2", "-", true},
      {"WhileSchleife", "Schleife (Test vorher)", true},
      {"DoWhileSchleife", "Schleife (Test danach)", true},
      {"RepeatUntilSchleife", "Schleife (Test danach)", false},
      {"ForSchleife", "Zählschleife", false},
  };
  const auto check = [](const QList<QAction*>& actions, const Row* rows, int count) {
    ASSERT_EQ(actions.size(), count);
    for (int i = 0; i < count; ++i) {
      QAction* a = actions[i];
      const QString name =
          a->menu() ? a->menu()->objectName() : a->objectName();
      EXPECT_EQ(name, QLatin1String(rows[i].name)) << i;
      if (QLatin1String(rows[i].caption) == QLatin1String("-"))
        EXPECT_TRUE(a->isSeparator()) << rows[i].name;
      else
        EXPECT_EQ(a->text(), QString::fromUtf8(rows[i].caption)) << rows[i].name;
      EXPECT_EQ(a->isVisible(), rows[i].visible) << rows[i].name;
    }
  };
  check(First().PopupMenu1->actions(), top, 11);
  check(First().Einfgen1->actions(), sub, 8);
  EXPECT_EQ(First().PopupMenu1->actions()[0]->menu(), First().Einfgen1);
}

TEST_F(EditingTest, EachInsertionCommandCreatesItsKind) {
  struct Row {
    const char* where;  // "popup", "toolbar" or "menu"
    const char* name;
    TKind kind;
    const char* offered;
    const char* prompt;
  };
  const char* const statementPrompt = "Anweisung: Gib eine neue Anweisung ein:";
  const char* const ifPrompt = "If-Anweisung: Gib eine neue Bedingung ein:";
  const char* const loopPrompt = "Schleife: Gib eine neue Bedingung ein:";
  const Row rows[] = {
      {"popup", "Anweisung", TKind::Anweisung, "Anweisung", statementPrompt},
      {"popup", "IfAnweisung", TKind::If, "???", ifPrompt},
      {"popup", "WhileSchleife", TKind::While, "???", loopPrompt},
      {"popup", "DoWhileSchleife", TKind::DoWhile, "???", loopPrompt},
      {"popup", "RepeatUntilSchleife", TKind::Repeat, "???", loopPrompt},
      {"toolbar", "BAnweisung", TKind::Anweisung, "Anweisung", statementPrompt},
      {"toolbar", "BIfAnweisung", TKind::If, "???", ifPrompt},
      {"toolbar", "BWhileSchleife", TKind::While, "???", loopPrompt},
      {"toolbar", "BRepeatUntilSchleife", TKind::Repeat, "???", loopPrompt},
      {"toolbar", "BDoWhileSchleife", TKind::DoWhile, "???", loopPrompt},
      {"menu", "Anweisung", TKind::Anweisung, "Anweisung", statementPrompt},
      {"menu", "IfAnweisung", TKind::If, "???", ifPrompt},
      {"menu", "WhileSchleife", TKind::While, "???", loopPrompt},
      {"menu", "RepeatUntilSchleife", TKind::Repeat, "???", loopPrompt},
      {"menu", "DoWhileSchleife", TKind::DoWhile, "???", loopPrompt},
  };
  StartWithTwoStatements();
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.where) + " " + row.name);
    Select(First(), s1);
    services.InputAnswers = {QStringLiteral("neu")};
    services.Prompts.clear();
    services.Offered.clear();
    form->History.Clear();
    const std::string before = Shape(&Program());
    if (QLatin1String(row.where) == QLatin1String("popup")) {
      PopupAction(row.name)->trigger();
    } else if (QLatin1String(row.where) == QLatin1String("menu")) {
      MainAction(row.name)->trigger();
    } else {
      auto* button = form->findChild<QToolButton*>(QLatin1String(row.name));
      ASSERT_NE(button, nullptr);
      if (button->isVisible())
        QTest::mouseClick(button, Qt::LeftButton);
      else
        form->ButtonClick(button);
    }
    TElement* e = s1->Next;
    ASSERT_NE(e, s2);
    EXPECT_EQ(e->Kind(), row.kind);
    EXPECT_EQ(e->Text, "neu");
    EXPECT_EQ(e->Next, s2);
    EXPECT_EQ(First().Display->CurrentSelection(), e);
    EXPECT_EQ(services.Prompts, QStringList{QLatin1String(row.prompt)});
    EXPECT_EQ(services.Offered, QStringList{QLatin1String(row.offered)});
    // One snapshot: the document as it was before the insertion.
    EXPECT_EQ(Snapshots(), 1);
    EXPECT_EQ(NewestSnapshot(), before);
    // Leaves the program as it was for the next row.
    s1->Remove(e);
    DisposeElement(e);
  }
}

TEST_F(EditingTest, OtherSendersAndNoSelectionInsertNothing) {
  StartWithTwoStatements();
  const std::string before = Shape(&Program());
  Select(First(), s1);
  First().Einfuegen(MainAction("Neu1"));
  First().Einfuegen(PopupAction("Lschen1"));
  First().Einfuegen(nullptr);
  Select(First(), nullptr);
  form->ButtonClick(form->findChild<QToolButton*>(QStringLiteral("BAnweisung")));
  EXPECT_EQ(Shape(&Program()), before);
  EXPECT_EQ(Snapshots(), 0);
  EXPECT_TRUE(services.Prompts.isEmpty());
}

TEST_F(EditingTest, InsertingAtABlockPutsTheElementAtTheHeadOfItsBody) {
  TBlock* block = nullptr;
  StartWith([&](TBlock& p) {
    block = Append(p, TBlock::CreateWithText("B"));
    Statement(*block, "b1");
    Statement(p, "s");
  });
  for (TBlock* target : {block, &Program()}) {
    Select(First(), target);
    services.InputAnswers = {QStringLiteral("neu")};
    First().Einfuegen(First().Anweisung);
    EXPECT_EQ(target->Body->Text, "neu");
  }
  EXPECT_EQ(Shape(&Program()), "gesamtes Programm[neu B[neu b1] s]");
}

TEST_F(EditingTest, InsertingIntoACollapsedBlockExpandsItHereAndTogglesItElsewhere) {
  TBlock* block = nullptr;
  StartWith([&](TBlock& p) {
    block = Append(p, TBlock::CreateWithText("B"));
    Statement(*block, "b1");
  });
  TForm1* other = TForm1::CreateForBlock(nullptr, &Program());
  TForm1* inner = TForm1::CreateForBlock(nullptr, block);
  other->Display->ToggleCollapsed(block);  // collapsed elsewhere as well
  First().Display->ToggleCollapsed(block);
  Select(First(), block);
  services.InputAnswers = {QStringLiteral("neu")};
  First().Einfuegen(First().Anweisung);
  EXPECT_EQ(Shape(block), "B[neu b1]");
  EXPECT_FALSE(First().Display->IsCollapsed(block));
  EXPECT_FALSE(other->Display->IsCollapsed(block));
  EXPECT_TRUE(inner->Display->IsCollapsed(block));

  // Inserting into an expanded block toggles nothing.
  Select(First(), block);
  services.InputAnswers = {QStringLiteral("zwei")};
  First().Einfuegen(First().Anweisung);
  EXPECT_FALSE(First().Display->IsCollapsed(block));
  EXPECT_TRUE(inner->Display->IsCollapsed(block));
}

TEST_F(EditingTest, CancelledInsertionLeavesTreeAndNewestSnapshotAsBefore) {
  struct Row {
    int earlier;  // snapshots taken before the insertion
    bool accept;
    int expected;
  };
  const Row rows[] = {{0, true, 1}, {0, false, 0}, {3, false, 3},
                      {3, true, 4}, {10, true, 9}, {10, false, 7}};
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.earlier) + (row.accept ? " accepted" : " cancelled"));
    StartWithTwoStatements();
    for (int i = 0; i < row.earlier; ++i) {
      s2->Text = "v" + std::to_string(i);
      form->PushUndo();
    }
    const std::string before = Shape(&Program());
    const std::string newest = NewestSnapshot();
    Select(First(), s2);
    if (row.accept) services.InputAnswers = {QStringLiteral("neu")};
    First().Einfuegen(First().IfAnweisung);
    EXPECT_EQ(Snapshots(), row.expected);
    if (row.accept) {
      EXPECT_EQ(Shape(&Program()), before.substr(0, before.size() - 1) + " neu{|}]");
      EXPECT_EQ(NewestSnapshot(), before);
    } else {
      EXPECT_EQ(Shape(&Program()), before);
      EXPECT_EQ(NewestSnapshot(), newest);
      EXPECT_EQ(First().Display->CurrentSelection(), nullptr);
    }
  }
}

TEST_F(EditingTest, TextDialogsByKindAndCancelledEditsStillTakeASnapshot) {
  struct Row {
    TKind kind;
    const char* prompt;
  };
  const Row rows[] = {
      {TKind::Anweisung, "Anweisung: Gib eine neue Anweisung ein:"},
      {TKind::If, "If-Anweisung: Gib eine neue Bedingung ein:"},
      {TKind::While, "Schleife: Gib eine neue Bedingung ein:"},
      {TKind::DoWhile, "Schleife: Gib eine neue Bedingung ein:"},
      {TKind::Repeat, "Schleife: Gib eine neue Bedingung ein:"},
      {TKind::Block, "Anweisungsblock: Gib eine neue Bezeichnung ein:"},
  };
  StartWith([](TBlock&) {});
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.kind));
    TOwned<TElement> made;
    switch (row.kind) {
    case TKind::Anweisung: made = TAnweisung::CreateWithText("alt"); break;
    case TKind::If: made = TIf::CreateWithText("alt"); break;
    case TKind::While: made = TWhile::CreateWithText("alt"); break;
    case TKind::DoWhile: made = TDoWhile::CreateWithText("alt"); break;
    case TKind::Repeat: made = TRepeat::CreateWithText("alt"); break;
    default: made = TBlock::CreateWithText("alt"); break;
    }
    TElement* e = Append(Program(), std::move(made));
    Select(First(), e);
    form->History.Clear();
    services.Prompts.clear();
    services.InputAnswers = {std::nullopt, QStringLiteral("neu äß")};
    EXPECT_TRUE(First().Textbearbeiten());
    EXPECT_EQ(e->Text, "alt");
    EXPECT_EQ(Snapshots(), 1);
    EXPECT_FALSE(First().Textbearbeiten());
    EXPECT_EQ(e->Text, "neu \xE4\xDF");  // stored in Windows-1252
    EXPECT_EQ(Snapshots(), 2);
    EXPECT_EQ(services.Prompts,
              (QStringList{QLatin1String(row.prompt), QLatin1String(row.prompt)}));
    EXPECT_EQ(First().Display->CurrentSelection(), e);
  }
  // Nothing selected: no dialog and no snapshot.
  Select(First(), nullptr);
  const int snapshots = Snapshots();
  EXPECT_FALSE(First().Textbearbeiten());
  EXPECT_EQ(Snapshots(), snapshots);
}

// A control character typed or pasted must not reach the file, where 0x01 ends a text and 0x00
// cuts it: every character below 0x20 is stored as a space, and the saved file reads back whole.
TEST_F(EditingTest, ControlCharactersInTextsAreStoredAsSpaces) {
  TAnweisung* statement = nullptr;
  TIf* decision = nullptr;
  TFor* loop = nullptr;
  StartWith([&](TBlock& p) {
    statement = Statement(p, "alt");
    decision = Append(p, TIf::CreateWithText("alt"));
    loop = Append(p, TFor::CreateWithText("alt"));
    Statement(p, "danach");
  });
  const QString typed = QStringLiteral("a") + QChar(1) + "b" + QChar(0) + "c\nd\te\r";
  for (TElement* e : std::initializer_list<TElement*>{statement, decision, decision->Branch1,
                                                       &Program()}) {
    Select(First(), e);
    services.InputAnswers = {typed};
    EXPECT_FALSE(First().Textbearbeiten());
    EXPECT_EQ(e->Text, "a b c d e ");
  }
  Select(First(), loop);
  WhenDialogShows([&] {
    dialog->Edit1->setText(QStringLiteral("i") + QChar(1));
    dialog->Edit2->setText(QStringLiteral("\n1"));
    dialog->Edit3->setText(QChar(0) + QStringLiteral("9\t"));
    QTest::mouseClick(dialog->Button1, Qt::LeftButton);
  });
  EXPECT_FALSE(First().Textbearbeiten());
  EXPECT_EQ(loop->Text, "i  :=  1 bis  9 ");

  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("t.str"));
  services.FileAnswers = {path};
  form->Struktogrammspeichern1Click(nullptr);
  TLoadResult loaded = LoadDocumentFile(FileNameBytes(path));
  EXPECT_FALSE(loaded.Damaged);
  EXPECT_EQ(Shape(loaded.Root.get()), Shape(&Program()));
  EXPECT_EQ(Shape(loaded.Root.get()),
            "a b c d e [a b c d e  a b c d e {|} i  :=  1 bis  9 {} danach]");
}

// The editor never builds a tree its own files cannot hold: at the nesting limit, inserting,
// refining and dragging that would nest deeper are refused with a message and change nothing.
TEST_F(EditingTest, NestingBeyondTheLimitIsRefused) {
  TBlock* parent = nullptr;  // the body block at level limit - 1
  TWhile* last = nullptr;    // the loop in it, whose body block is at the limit
  TAnweisung* deepest = nullptr;
  TWhile* spare = nullptr;
  StartWith([&](TBlock& p) {
    TBlock* body = &p;
    for (int level = 2; level <= kMaxNestingDepth; ++level) {
      parent = body;
      last = Append(*body, TWhile::CreateWithText("w"));
      body = last->Branch1;
    }
    deepest = Statement(*body, "tief");
    spare = Append(*parent, TWhile::CreateWithText("x"));
  });
  ASSERT_EQ(NestingDepth(Program()), kMaxNestingDepth);
  const std::string before = Shape(&Program());
  const auto refused = [&](const char* what) {
    SCOPED_TRACE(what);
    ASSERT_EQ(services.Messages.size(), 1u);
    EXPECT_EQ(services.Messages[0].text,
              QStringLiteral("Das Struktogramm kann nicht tiefer als 2000 Ebenen verschachtelt "
                             "werden."));
    EXPECT_EQ(Shape(&Program()), before);
    EXPECT_EQ(Snapshots(), 0);
    services.Messages.clear();
  };
  Select(First(), last->Branch1);
  First().Einfuegen(First().WhileSchleife);
  refused("a loop into the deepest body");
  Select(First(), deepest);
  First().Einfuegen(First().IfAnweisung);
  refused("a decision after the deepest statement");
  First().Genauerbestimmen1Click(First().Genauerbestimmen1);
  refused("refining the deepest statement");

  // Dragged in the window of the next-deepest body, where the figures are small.
  Select(First(), parent);
  First().InneuemFensteranzeigen();
  TForm1& w = *form->DiagramWindows().last();
  w.SubWindow()->resize(500, 400);
  form->RefreshAll();
  const QPoint from = PointOf(w, spare);
  const QPoint to = PointOf(w, last->Branch1);
  ASSERT_GE(from.x(), 0);
  ASSERT_GE(to.x(), 0);
  QTest::mousePress(w.viewport(), Qt::LeftButton, {}, from);
  QTest::mouseMove(w.viewport(), to);
  EXPECT_EQ(w.Display->DropTarget, nullptr);
  QTest::mouseRelease(w.viewport(), Qt::LeftButton, {}, to);
  refused("dragging a loop into the deepest body");

  // What does not nest deeper still works, and the file reads back.
  Select(First(), deepest);
  services.InputAnswers = {QStringLiteral("noch eine")};
  First().Einfuegen(First().Anweisung);
  EXPECT_EQ(deepest->Next->Text, "noch eine");
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("tief.str"));
  services.FileAnswers = {path};
  form->Struktogrammspeichern1Click(nullptr);
  EXPECT_TRUE(services.Messages.empty());
  EXPECT_EQ(Shape(LoadDocumentFile(FileNameBytes(path)).Root.get()), Shape(&Program()));
}

// Every kind copied in one window and pasted into another, each paste one undo step; cut
// removes; a clipboard without a structogram pastes nothing.
TEST_F(EditingTest, CopyCutAndPasteBetweenWindows) {
  TBlock* target = nullptr;
  std::vector<TElement*> sources;
  StartWith([&](TBlock& p) {
    TIf* d = Append(p, TIf::CreateWithText("a < b"));
    Statement(*d->Branch1, "ja");
    TWhile* w = Append(p, TWhile::CreateWithText("i < n"));
    Append(*w->Branch1, TFor::CreateWithText("i := 1 bis 3"));
    TBlock* named = Append(p, TBlock::CreateWithText("Teil"));
    Statement(*named, "innen");
    sources = {Statement(p, "x := 1"), d, w, Append(p, TDoWhile::CreateWithText("weiter")),
               Append(p, TRepeat::CreateWithText("fertig")), named, d->Branch2};
    target = Append(p, TBlock::CreateWithText("Ziel"));
  });
  Select(First(), target);
  First().InneuemFensteranzeigen();
  TForm1& other = *form->DiagramWindows().last();
  for (TElement* source : sources) {
    SCOPED_TRACE(source->Text);
    Select(First(), source);
    First().Kopieren1Click(nullptr);
    ASSERT_TRUE(services.ClipboardRecord.has_value());
    EXPECT_EQ(services.Clipboard->toStdString(), ElementSource(*source));
    Select(other, target);
    const int snapshots = Snapshots();
    other.AusZwischenablageeinfgen1Click(nullptr);
    EXPECT_EQ(Snapshots(), snapshots + 1);
    TElement* pasted = target->Body;
    ASSERT_NE(pasted, source);
    EXPECT_EQ(other.Display->CurrentSelection(), pasted);
    // The same element with all it holds (a branch block arrives as a named block).
    EXPECT_EQ(ElementRecord(*pasted), ElementRecord(*source));
    EXPECT_TRUE(pasted->Independent);
  }
  // Cut: the element goes, the clipboard holds it, and it comes back where it is pasted.
  TElement* cut = sources[0];
  Select(First(), cut);
  const int snapshots = Snapshots();
  First().Ausschneiden1Click(nullptr);
  EXPECT_EQ(Snapshots(), snapshots + 1);
  EXPECT_NE(Program().Body, cut);  // the original went; its copy in "Ziel" stays
  EXPECT_EQ(Shape(&Program()).find("x := 1"), Shape(&Program()).rfind("x := 1"));
  Select(First(), &Program());
  First().AusZwischenablageeinfgen1Click(nullptr);
  EXPECT_EQ(Program().Body->Text, "x := 1");
  // Plain text on the clipboard pastes nothing.
  services.SetClipboardText(QStringLiteral("writeln(1)"));
  const std::string before = Shape(&Program());
  First().AusZwischenablageeinfgen1Click(nullptr);
  EXPECT_EQ(Shape(&Program()), before);
  EXPECT_EQ(Snapshots(), snapshots + 2);
}

// Through the desktop's clipboard: the record under its own type, the Pascal source as text.
TEST_F(EditingTest, ClipboardCarriesRecordAndText) {
  TQtWindowingServices one, another;
  one.SetClipboardElement(QByteArray("B:x\x01\x02\x02", 6), QStringLiteral("  x;\r\n"));
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("  x;\r\n"));
  EXPECT_EQ(another.ClipboardElement(), QByteArray("B:x\x01\x02\x02", 6));
  another.SetClipboardText(QStringLiteral("nur Text"));
  EXPECT_FALSE(one.ClipboardElement().has_value());
}

TEST_F(EditingTest, EditingABlockTitleUpdatesEveryCaption) {
  TBlock* block = nullptr;
  StartWith([&](TBlock& p) { block = Append(p, TBlock::CreateWithText("B")); });
  Select(First(), block);
  First().InneuemFensteranzeigen();
  TForm1* window = form->DiagramWindows().last();
  ASSERT_NE(window, &First());
  EXPECT_EQ(window->Caption(), QStringLiteral("B"));
  // The caption changed by hand must come back even when the edit is cancelled.
  window->SetCaption(QStringLiteral("x"));
  EXPECT_TRUE(First().Textbearbeiten());
  EXPECT_EQ(window->Caption(), QStringLiteral("B"));
  services.InputAnswers = {QStringLiteral("Teil")};
  First().Textbearbeiten1Click(First().Textbearbeiten1);
  EXPECT_EQ(window->Caption(), QStringLiteral("Teil"));
  Select(*window, block);
  services.InputAnswers = {QStringLiteral("Haupt")};
  Select(First(), &Program());
  First().Textbearbeiten();
  EXPECT_EQ(First().Caption(), QStringLiteral("Haupt"));
}

TEST_F(EditingTest, CountingLoopIsEditedInItsDialog) {
  TElement* loop = nullptr;
  StartWith([&](TBlock& p) { loop = Append(p, TFor::CreateWithText("i := 1 bis 10")); });
  Select(First(), loop);

  WhenDialogShows([&] {
    EXPECT_EQ(dialog->Edit3->text(), QStringLiteral("10"));
    dialog->Edit3->setText(QStringLiteral("n - 1"));
    QTest::mouseClick(dialog->Button1, Qt::LeftButton);
  });
  EXPECT_FALSE(First().Textbearbeiten());
  EXPECT_EQ(loop->Text, "i := 1 bis n - 1");
  EXPECT_EQ(Snapshots(), 1);

  WhenDialogShows([&] {
    dialog->Edit1->setText(QStringLiteral("k"));
    QTest::mouseClick(dialog->Button2, Qt::LeftButton);
  });
  EXPECT_TRUE(First().Textbearbeiten());
  EXPECT_EQ(loop->Text, "i := 1 bis n - 1");
  EXPECT_EQ(Snapshots(), 2);

  // The close box ends the dialog as "Abbrechen" does.
  WhenDialogShows([&] {
    dialog->Edit1->setText(QStringLiteral("k"));
    dialog->close();
  });
  EXPECT_TRUE(First().Textbearbeiten());
  EXPECT_EQ(loop->Text, "i := 1 bis n - 1");
  EXPECT_EQ(Snapshots(), 3);
  EXPECT_TRUE(services.Prompts.isEmpty());
}

TEST_F(EditingTest, CountingLoopInsertionFromTheToolbar) {
  StartWithTwoStatements();
  Select(First(), s1);
  WhenDialogShows([&] {
    EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("?"));
    QTest::keyClick(dialog->Edit1, Qt::Key_Return);
  });
  QTest::mouseClick(form->findChild<QToolButton*>(QStringLiteral("BForSchleife")),
                    Qt::LeftButton);
  ASSERT_EQ(s1->Next->Kind(), TKind::For);
  EXPECT_EQ(s1->Next->Text, "? := ? bis ?");
  EXPECT_EQ(Snapshots(), 1);

  Select(First(), s2);
  WhenDialogShows([&] { QTest::keyClick(dialog->Edit2, Qt::Key_Escape); });
  MainAction("ForSchleife")->trigger();
  EXPECT_EQ(Shape(&Program()), "gesamtes Programm[s1 ? := ? bis ?{} s2]");
  EXPECT_EQ(Snapshots(), 1);
}

TEST_F(EditingTest, DeletingRemovesTheSelectionWithWhatItHolds) {
  struct Row {
    const char* name;
    std::function<TElement*(TBlock&)> build;  // returns the element to delete
    const char* after;
  };
  const Row rows[] = {
      {"decision after a statement",
       [](TBlock& p) {
         Statement(p, "s");
         TIf* d = Append(p, TIf::CreateWithText("c"));
         Statement(*d->Branch1, "y");
         Statement(*d->Branch2, "n");
         Statement(p, "t");
         return d;
       },
       "gesamtes Programm[s t]"},
      {"decision heading the body",
       [](TBlock& p) {
         TIf* d = Append(p, TIf::CreateWithText("c"));
         Statement(*d->Branch1, "y");
         Append(*d->Branch2, TBlock::CreateWithText("N"));
         Statement(p, "t");
         return d;
       },
       "gesamtes Programm[t]"},
      {"loop with a nested loop",
       [](TBlock& p) {
         Statement(p, "s");
         TWhile* w = Append(p, TWhile::CreateWithText("w"));
         Append(*w->Branch1, TRepeat::CreateWithText("r"));
         return w;
       },
       "gesamtes Programm[s]"},
      {"branch block",
       [](TBlock& p) {
         TIf* d = Append(p, TIf::CreateWithText("c"));
         Statement(*d->Branch1, "y");
         Statement(*d->Branch2, "n");
         return d->Branch2;
       },
       "gesamtes Programm[c{y|}]"},
      {"root block",
       [](TBlock& p) {
         Statement(p, "s");
         Append(p, TDoWhile::CreateWithText("d"));
         return &p;
       },
       "gesamtes Programm[]"},
      {"block after a statement",
       [](TBlock& p) {
         Statement(p, "s");
         TBlock* b = Append(p, TBlock::CreateWithText("B"));
         Statement(*b, "b1");
         Statement(p, "t");
         return b;
       },
       "gesamtes Programm[s t]"},
      {"block heading the body",
       [](TBlock& p) {
         TBlock* b = Append(p, TBlock::CreateWithText("B"));
         Statement(*b, "b1");
         Statement(p, "t");
         return b;
       },
       "gesamtes Programm[t]"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TElement* victim = nullptr;
    StartWith([&](TBlock& p) { victim = row.build(p); });
    Select(First(), victim);
    First().Loeschen(First().Lschen1);
    EXPECT_EQ(Shape(&Program()), row.after);
    EXPECT_EQ(First().Display->CurrentSelection(), nullptr);
    EXPECT_EQ(Snapshots(), 1);
    EXPECT_EQ(form->DetachedCount(), 0);
  }
}

TEST_F(EditingTest, WindowsShowingDeletedBlocksAreClosedOrKeepTheirBlock) {
  TBlock* outer = nullptr;
  TBlock* inner = nullptr;
  TBlock* branchBlock = nullptr;
  TIf* decision = nullptr;
  StartWith([&](TBlock& p) {
    Statement(p, "s");
    outer = Append(p, TBlock::CreateWithText("Aussen"));
    inner = Append(*outer, TBlock::CreateWithText("Innen"));
    Statement(*inner, "i1");
    decision = Append(p, TIf::CreateWithText("c"));
    branchBlock = Append(*decision->Branch1, TBlock::CreateWithText("Zweig"));
  });
  QPointer<TForm1> showsOuter = TForm1::CreateForBlock(nullptr, outer);
  QPointer<TForm1> showsInner = TForm1::CreateForBlock(nullptr, inner);
  QPointer<TForm1> showsBranchBlock = TForm1::CreateForBlock(nullptr, branchBlock);
  TForm1* whole = TForm1::CreateForBlock(nullptr, &Program());
  Select(*whole, inner->Body);  // inside what goes away
  whole->Display->ToggleCollapsed(inner);

  // The decision is freed with its branches: the window on a block inside it closes.
  Select(First(), decision);
  First().Loeschen(nullptr);
  EXPECT_TRUE(showsBranchBlock.isNull() || showsBranchBlock->IsClosing());
  EXPECT_EQ(form->DiagramWindows().size(), 4);

  // "Aussen" followed a statement: Remove empties it, so the window on "Innen" closes; the
  // window on "Aussen" keeps showing the now empty, detached block.
  Select(First(), outer);
  First().Loeschen(nullptr);
  EXPECT_EQ(Shape(&Program()), "gesamtes Programm[s]");
  EXPECT_TRUE(showsInner.isNull() || showsInner->IsClosing());
  ASSERT_FALSE(showsOuter.isNull());
  EXPECT_FALSE(showsOuter->IsClosing());
  EXPECT_EQ(Shape(showsOuter->Root), "Aussen[]");
  EXPECT_EQ(form->DetachedCount(), 1);
  EXPECT_EQ(whole->Display->CurrentSelection(), nullptr);
  EXPECT_EQ(whole->Display->CollapsedCount, 0);

  // The detached block can still be edited in its window, and goes once that window closes.
  Select(*showsOuter, outer);
  services.InputAnswers = {QStringLiteral("x")};
  showsOuter->Einfuegen(showsOuter->Anweisung);
  EXPECT_EQ(Shape(outer), "Aussen[x]");
  showsOuter->SubWindow()->close();
  EXPECT_EQ(form->DetachedCount(), 0);
  EXPECT_EQ(Snapshots(), 3);
}

// A deleted block kept for a second window is freed when that window closes; the first window
// must not keep its collapsed entries, or a block made later at the same address would show
// collapsed and its collapse command would act in reverse.
TEST_F(EditingTest, FreedBlocksLeaveNoWindowsCollapsedList) {
  TBlock* big = nullptr;
  std::vector<TBlock*> inner;
  StartWith([&](TBlock& p) {
    Statement(p, "s");
    big = Append(p, TBlock::CreateWithText("Big"));
    for (int i = 1; i <= 8; ++i)
      inner.push_back(Append(*big, TBlock::CreateWithText("B" + std::to_string(i))));
  });
  for (TBlock* b : inner) First().Display->ToggleCollapsed(b);
  Select(First(), big);
  First().InneuemFensteranzeigen();
  TForm1* second = form->DiagramWindows().last();
  ASSERT_NE(second, &First());
  Select(*second, inner[2]);
  First().Loeschen(nullptr);
  EXPECT_EQ(form->DetachedCount(), 1);
  EXPECT_TRUE(DisplaysReferToLiveElements(*form));
  second->SubWindow()->close();
  ASSERT_TRUE(WaitFor([&] { return form->DiagramWindows().size() == 1; }));
  EXPECT_EQ(form->DetachedCount(), 0);
  EXPECT_EQ(First().Display->CollapsedCount, 0);
  EXPECT_TRUE(DisplaysReferToLiveElements(*form));
}

TEST_F(EditingTest, DeletedBlockHeadingABodyKeepsItsContentsInItsWindow) {
  TBlock* block = nullptr;
  StartWith([&](TBlock& p) {
    block = Append(p, TBlock::CreateWithText("B"));
    Statement(*block, "b1");
    Statement(p, "t");
  });
  TForm1* shows = TForm1::CreateForBlock(nullptr, block);
  Select(First(), block);
  First().Loeschen(nullptr);
  EXPECT_EQ(Shape(&Program()), "gesamtes Programm[t]");
  EXPECT_EQ(Shape(shows->Root), "B[b1]");
  EXPECT_EQ(block->Next, nullptr);
  EXPECT_EQ(form->DetachedCount(), 1);
  // A new document closes the window and frees the block.
  form->Neu1Click(nullptr);
  EXPECT_EQ(form->DetachedCount(), 0);
}

TEST_F(EditingTest, RefiningAStatementMakesABlockShownInANewWindow) {
  StartWithTwoStatements();
  const std::string before = Shape(&Program());
  Select(First(), s1);
  First().Genauerbestimmen1Click(First().Genauerbestimmen1);
  TElement* b = Program().Body;
  ASSERT_EQ(b->Kind(), TKind::Block);
  EXPECT_EQ(Shape(&Program()), "gesamtes Programm[s1[] s2]");
  EXPECT_TRUE(b->Independent);
  EXPECT_EQ(First().Display->CurrentSelection(), b);
  EXPECT_TRUE(First().Display->IsCollapsed(static_cast<TBlock*>(b)));
  const QList<TForm1*> windows = form->DiagramWindows();
  ASSERT_EQ(windows.size(), 2);
  EXPECT_EQ(windows[1]->Root, b);
  EXPECT_EQ(windows[1]->Caption(), QStringLiteral("s1"));
  EXPECT_TRUE(services.Messages.empty());
  EXPECT_EQ(Snapshots(), 2);

  form->Rckgngig1Click(nullptr);
  EXPECT_EQ(Shape(form->Program.get()), "gesamtes Programm[s1 s1[] s2]");
  form->Rckgngig1Click(nullptr);
  EXPECT_EQ(Shape(form->Program.get()), before);
}

TEST_F(EditingTest, RefiningAnythingButAStatementOrBlock) {
  TIf* decision = nullptr;
  TBlock* block = nullptr;
  StartWith([&](TBlock& p) {
    decision = Append(p, TIf::CreateWithText("c"));
    block = Append(p, TBlock::CreateWithText("B"));
  });
  const QString message = QStringLiteral("Nur Anweisungen können genauer spezifiziert werden");
  for (TElement* e : {static_cast<TElement*>(decision), static_cast<TElement*>(nullptr)}) {
    services.Messages.clear();
    Select(First(), e);
    First().Genauerbestimmen1->trigger();
    ASSERT_EQ(services.Messages.size(), 1u);
    EXPECT_EQ(services.Messages[0].text, message);
    EXPECT_EQ(services.Messages[0].kind, TMessageKind::Error);
  }
  EXPECT_EQ(Snapshots(), 0);
  EXPECT_EQ(form->DiagramWindows().size(), 1);

  // A block is opened in a new window, every time anew.
  services.Messages.clear();
  Select(First(), block);
  First().Genauerbestimmen1->trigger();
  First().InneuemFensteranzeigen1->trigger();
  EXPECT_TRUE(services.Messages.empty());
  const QList<TForm1*> windows = form->DiagramWindows();
  ASSERT_EQ(windows.size(), 3);
  EXPECT_EQ(windows[1]->Root, block);
  EXPECT_EQ(windows[2]->Root, block);
  EXPECT_EQ(windows[2]->Caption(), QStringLiteral("B"));
  EXPECT_EQ(Snapshots(), 0);
}

}  // namespace

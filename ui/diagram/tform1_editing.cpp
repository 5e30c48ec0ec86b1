// SPDX-License-Identifier: MIT
// The diagram window's editing commands: insert, edit a text, delete, refine, open a block in a
// window of its own.
#include "ui/diagram/tform1.h"

#include "model/element_record.h"
#include "model/nesting.h"
#include "ui/diagram/tform3.h"
#include "ui/main/text_codec.h"
#include "ui/main/tform2.h"
#include "ui/run/run_controller.h"
#include "ui/main/windowing_services.h"

#include <QAction>
#include <QList>
#include <QMdiSubWindow>

#include <algorithm>
#include <vector>

namespace {

// The element kind an insertion command creates, by the name of the popup item, main-menu item
// or toolbar button that invoked it.
struct TInsertion {
  const char* item;   // popup and main-menu item
  const char* button; // toolbar button
  TKind kind = TKind::Anweisung;
};

const TInsertion kInsertions[] = {
    {"Anweisung", "BAnweisung", TKind::Anweisung},
    {"IfAnweisung", "BIfAnweisung", TKind::If},
    {"WhileSchleife", "BWhileSchleife", TKind::While},
    {"RepeatUntilSchleife", "BRepeatUntilSchleife", TKind::Repeat},
    {"DoWhileSchleife", "BDoWhileSchleife", TKind::DoWhile},
    {"ForSchleife", "BForSchleife", TKind::For},
};

bool KindForSender(const QObject* sender, TKind& kind) {
  if (!sender)
    return false;
  const QString name = sender->objectName();
  for (const TInsertion& entry : kInsertions) {
    if (name == QLatin1String(entry.item) || name == QLatin1String(entry.button)) {
      kind = entry.kind;
      return true;
    }
  }
  return false;
}

TOwned<TElement> CreateElement(TKind kind) {
  switch (kind) {
  case TKind::Anweisung:
    // The text a new statement starts with is the user's, in the user's language.
    return TAnweisung::CreateWithText(ToCp1252(TForm1::tr("Anweisung")));
  case TKind::If:
    return TIf::CreateWithText("???");
  case TKind::While:
    return TWhile::CreateWithText("???");
  case TKind::For:
    return TFor::CreateWithText("???");
  case TKind::DoWhile:
    return TDoWhile::CreateWithText("???");
  case TKind::Repeat:
    return TRepeat::CreateWithText("???");
  case TKind::Block:
    break;
  }
  return TBlock::CreateWithText("???");
}

// True when x is one of the elements of the chain starting at head, or lies inside one of them.
bool ChainContains(const TElement* head, const TElement& x) {
  for (const TElement* e = head; e; e = e->Next)
    if (Contains(*e, x))
      return true;
  return false;
}

} // namespace

bool TForm1::FitsAt(const TElement& target, bool after, int32_t depth) const {
  if (depth == 0)
    return true;
  // A block deleted from the document but still shown here counts from its own root.
  const TForm2* main = TForm2::MainForm();
  const TBlock& tree = main ? *main->Program : *Root;
  const auto level = [&](const TBlock& root) {
    return after || target.Kind() != TKind::Block ? SuccessorLevel(root, target)
                                                  : InsertionLevel(root, target);
  };
  int32_t at = level(tree);
  if (at < 0)
    at = level(*Root);
  return FitsNesting(at, depth);
}

void TForm1::ReportTooDeep() {
  if (TForm2* main = TForm2::MainForm())
    main->Services().ShowMessage(
        tr("Das Struktogramm kann nicht tiefer als %1 Ebenen verschachtelt werden.")
            .arg(kMaxNestingDepth),
        TMessageKind::Error);
}

void TForm1::Einfuegen(QObject* sender) {
  TElement* s = Display->CurrentSelection();
  if (!s)
    return;
  TKind kind = TKind::Anweisung;
  if (!KindForSender(sender, kind))
    return;
  if (!FitsAt(*s, false, kind == TKind::Anweisung ? 0 : 1))
    return ReportTooDeep();
  TForm2* main = TForm2::MainForm();
  main->PushUndo();
  TElement* e = CreateElement(kind).release();
  s->Insert(e);
  if (auto* block = As<TBlock>(s)) {
    if (Display->IsCollapsed(block))
      main->ToggleCollapsedEverywhere(block);
  }
  Select(e);
  main->RefreshAll();
  // The snapshots the text edit (and a deletion after cancelling it) take are dropped again
  // below, whatever the outcome: they only make room in the history, and need no contents.
  main->SetSnapshotsDropped(true);
  bool cancelled = false;
  try {
    cancelled = Textbearbeiten();
    if (cancelled)
      Loeschen(nullptr);
  } catch (...) {
    main->SetSnapshotsDropped(false);
    throw;
  }
  main->SetSnapshotsDropped(false);
  if (cancelled) {
    main->DropNewestUndo();
    main->DropNewestUndo();
  }
  main->DropNewestUndo();
  main->RefreshAll();
}

bool TForm1::Textbearbeiten() {
  TElement* s = Display->CurrentSelection();
  if (!s)
    return false;
  TForm2* main = TForm2::MainForm();
  main->PushUndo();
  bool cancelled = false;
  if (s->Kind() == TKind::For) {
    TForm3* dialog = main->CountingLoopDialog();
    if (!dialog) {
      // The start-up creates the dialog; a main window made without it gets one on first use.
      dialog = new TForm3(main);
      main->SetCountingLoopDialog(dialog);
    }
    dialog->SplitForText(s->Text);
    const int result = dialog->ShowModal();
    s->Text = dialog->ForText;
    cancelled = result == TForm3::kAbbrechen;
  } else {
    QString title;
    QString prompt;
    switch (s->Kind()) {
    case TKind::Anweisung:
      title = tr("Anweisung");
      prompt = tr("Gib eine neue Anweisung ein:");
      break;
    case TKind::If:
      title = tr("If-Anweisung");
      prompt = tr("Gib eine neue Bedingung ein:");
      break;
    case TKind::Block:
      title = tr("Anweisungsblock");
      prompt = tr("Gib eine neue Bezeichnung ein:");
      break;
    default:
      title = tr("Schleife");
      prompt = tr("Gib eine neue Bedingung ein:");
      break;
    }
    QString text = FromCp1252(s->Text);
    const bool ok = main->Services().InputQuery(title, prompt, text);
    if (ok)
      s->Text = InputToCp1252(text);
    cancelled = !ok;
    if (s->Kind() == TKind::Block)
      main->UpdateCaptions();
  }
  main->RefreshAll();
  return cancelled;
}

void TForm1::Textbearbeiten1Click(QObject*) {
  Textbearbeiten();
}

void TForm1::Loeschen(QObject*) {
  TElement* s = Display->CurrentSelection();
  if (!s)
    return;
  TForm2* main = TForm2::MainForm();

  // Where s stands decides what Remove frees: a body chain is freed for the window's root, a
  // branch block and a block that followed another element; a non-block element is freed here
  // with whatever it still owns; a block is unlinked and kept or freed below.
  enum class TPlace { Root, Branch, Successor, BodyHead };
  TPlace place = TPlace::Root;
  if (s != Root) {
    TElement* predecessor = Root->FindPredecessor(s);
    // A selection that another window's command moved out of this window's figure is not
    // deleted from here: Remove would not find it, and freeing it would break the tree it is in.
    if (!predecessor)
      return;
    auto* holder = As<TBlock>(predecessor);
    if (predecessor->Next == s)
      place = TPlace::Successor;
    else if (holder && holder->Body == s)
      place = TPlace::BodyHead;
    else
      place = TPlace::Branch;
  }
  auto* block = As<TBlock>(s);
  const TElement* freedChain = nullptr;   // every element of this chain is freed
  const TElement* freedElement = nullptr; // this element is freed with what it owns
  if (block && place != TPlace::BodyHead)
    freedChain = block->Body;
  else if (!block)
    freedElement = s;
  const bool unlinkedBlock = block && (place == TPlace::Successor || place == TPlace::BodyHead);
  const auto freed = [&](const TElement* x) {
    return (freedElement && Contains(*freedElement, *x)) || ChainContains(freedChain, *x);
  };

  main->PushUndo();

  // No window may go on showing, selecting or listing a freed element.
  for (TForm1* window : main->DiagramWindows()) {
    if (window != this && freed(window->Root))
      window->SubWindow()->close();
  }
  const QList<TForm1*> windows = main->DiagramWindows();
  const bool blockStillShown =
      unlinkedBlock && std::any_of(windows.begin(), windows.end(),
                                   [&](TForm1* w) { return Contains(*s, *w->Root); });
  const auto gone = [&](const TElement* x) {
    return freed(x) || (unlinkedBlock && !blockStillShown && Contains(*s, *x));
  };
  for (TForm1* window : windows) {
    TDisplayOptions& display = *window->Display;
    TElement* selection = display.CurrentSelection();
    // A window that does not show the deleted block must not act on what is inside it.
    if (selection && (gone(selection) ||
                      (unlinkedBlock && !Contains(*s, *window->Root) && Contains(*s, *selection))))
      display.ClearSelection();
    std::vector<TBlock*> stale;
    for (int i = 0; i < display.CollapsedCount; ++i)
      if (gone(display.Collapsed[i]))
        stale.push_back(display.Collapsed[i]);
    for (TBlock* b : stale)
      display.ToggleCollapsed(b);
  }

  // Breakpoints and findings on what is freed go with it.
  if (freedElement)
    main->ElementsFreed(ElementsOf(*freedElement, false));
  if (freedChain)
    main->ElementsFreed(ElementsOf(*freedChain, true));
  if (unlinkedBlock && !blockStillShown)
    main->ElementsFreed(ElementsOf(*s, false));
  Root->Remove(s);
  Display->ClearSelection();
  if (!block) {
    DisposeElement(s);
  } else if (unlinkedBlock) {
    s->Next = nullptr; // Remove leaves the old successor, which stays in the tree
    if (blockStillShown)
      main->KeepDetached(TOwned<TElement>(s));
    else
      DisposeTree(s);
  }
  main->RefreshAll();
}

void TForm1::InneuemFensteranzeigen(QObject*) {
  auto* block = As<TBlock>(Display->CurrentSelection());
  if (!block)
    return;
  TForm1* window = CreateForBlock(nullptr, block);
  window->SetCaption(FromCp1252(block->Text));
}

void TForm1::Genauerbestimmen1Click(QObject*) {
  TElement* s = Display->CurrentSelection();
  TForm2* main = TForm2::MainForm();
  if (s && s->Kind() == TKind::Anweisung) {
    if (!FitsAt(*s, true, 1))
      return ReportTooDeep();
    main->PushUndo();
    TBlock* b = TBlock::CreateWithText(s->Text).release();
    b->Next = s->Next;
    s->Next = b;
    Loeschen(nullptr);
    Select(b);
    ChangeDisplay();
    InneuemFensteranzeigen();
    main->RefreshAll();
  } else if (As<TBlock>(s)) {
    InneuemFensteranzeigen();
  } else {
    main->Services().ShowMessage(
        tr("Nur Anweisungen können genauer spezifiziert werden"), TMessageKind::Error);
  }
}

void TForm1::Kopieren1Click(QObject*) {
  const TElement* s = Display->CurrentSelection();
  if (!s) return;
  TForm2::MainForm()->Services().SetClipboardElement(QByteArray::fromStdString(ElementRecord(*s)),
                                                     FromCp1252(ElementSource(*s)));
}

void TForm1::Ausschneiden1Click(QObject*) {
  if (!Display->CurrentSelection()) return;
  Kopieren1Click(nullptr);
  Loeschen(nullptr);
}

void TForm1::AusZwischenablageeinfgen1Click(QObject*) {
  TElement* s = Display->CurrentSelection();
  if (!s) return;
  TForm2* main = TForm2::MainForm();
  const std::optional<QByteArray> record = main->Services().ClipboardElement();
  if (!record) return;
  TOwned<TElement> pasted = ElementFromRecord(record->toStdString());
  if (!pasted) return;
  if (!FitsAt(*s, false, NestingDepth(*pasted))) return ReportTooDeep();
  main->PushUndo();
  TElement* e = pasted.release();
  s->Insert(e);
  // As an insertion does: a collapsed block taking the element is shown expanded.
  if (auto* block = As<TBlock>(s)) {
    if (Display->IsCollapsed(block)) main->ToggleCollapsedEverywhere(block);
  }
  Select(e);
  main->RefreshAll();
}

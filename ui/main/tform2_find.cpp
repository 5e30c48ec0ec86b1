// SPDX-License-Identifier: MIT
// The main window's "Suchen…", "Weitersuchen" and "Ersetzen…": every text of the program, in
// the order the export writes them, the found element selected in a window that shows it.
#include "ui/main/tform2.h"

#include "model/text_search.h"
#include "ui/diagram/tform1.h"
#include "ui/main/find_dialog.h"
#include "ui/main/text_codec.h"
#include "ui/main/windowing_services.h"

#include <QLineEdit>

TFindDialog* TForm2::FindDialog() {
  if (!findDialog_) {
    findDialog_ = new TFindDialog(this);
    connect(findDialog_, &TFindDialog::FindNextRequested, this,
            [this] { Guarded(services_, [&] { FindNext(); }); });
    connect(findDialog_, &TFindDialog::ReplaceRequested, this,
            [this] { Guarded(services_, [&] { ReplaceFound(); }); });
    connect(findDialog_, &TFindDialog::ReplaceAllRequested, this,
            [this] { Guarded(services_, [&] { ReplaceAll(); }); });
  }
  return findDialog_;
}

void TForm2::Suchen1Click(QObject*) {
  FindDialog()->Open(false);
}

void TForm2::Ersetzen1Click(QObject*) {
  FindDialog()->Open(true);
}

void TForm2::Weitersuchen1Click(QObject*) {
  if (FindDialog()->Pattern().isEmpty())
    FindDialog()->Open(false);
  else
    FindNext();
}

void TForm2::ReportNotFound() {
  services_.ShowMessage(tr("»%1« wurde nicht gefunden.").arg(findDialog_->Pattern()),
                        TMessageKind::Information);
}

bool TForm2::FindNext() {
  const std::string pattern = ToCp1252(FindDialog()->Pattern());
  if (pattern.empty())
    return false;
  // On from the last occurrence while it is still selected, else from the selection itself.
  const TForm1* window = ActiveWindow();
  const TElement* selected = window ? window->Display->CurrentSelection() : nullptr;
  const TElement* from = selected;
  std::size_t offset = 0;
  if (selected && selected == found_.Element) {
    offset = found_.Offset + 1;
  }
  const TTextMatch match =
      FindNextInProgram(*Program, pattern, findDialog_->Options(), from, offset);
  found_ = match;
  if (!match.Element) {
    ReportNotFound();
    return false;
  }
  ShowElement(match.Element, false);
  return true;
}

void TForm2::ReplaceFound() {
  const std::string pattern = ToCp1252(FindDialog()->Pattern());
  const TForm1* window = ActiveWindow();
  TElement* selected = window ? window->Display->CurrentSelection() : nullptr;
  // The first press finds, the next replaces what it found and finds the next.
  if (!selected || selected != found_.Element ||
      FindInText(selected->Text, pattern, found_.Offset, findDialog_->Options()) != found_.Offset) {
    FindNext();
    return;
  }
  const std::string replacement = InputToCp1252(findDialog_->Replacement());
  PushUndo();
  selected->Text.replace(found_.Offset, pattern.size(), replacement);
  RefreshAll();
  UpdateCaptions();
  // Go on after the replacement, so that a replacement holding the pattern is not found again.
  found_.Offset += replacement.size();
  const TTextMatch next =
      FindNextInProgram(*Program, pattern, findDialog_->Options(), selected, found_.Offset);
  found_ = next;
  if (next.Element)
    ShowElement(next.Element, false);
}

int TForm2::ReplaceAll() {
  const std::string pattern = ToCp1252(FindDialog()->Pattern());
  const std::string replacement = InputToCp1252(findDialog_->Replacement());
  const TSearchOptions options = findDialog_->Options();
  const std::vector<TElement*> elements = SearchableElements(*Program);
  int count = 0;
  for (const TElement* e : elements)
    if (FindInText(e->Text, pattern, 0, options) != std::string::npos)
      ++count;
  if (count == 0) {
    ReportNotFound();
    return 0;
  }
  // One undo step for all of them.
  PushUndo();
  count = 0;
  for (TElement* e : elements)
    count += ReplaceInText(e->Text, pattern, replacement, options);
  RefreshAll();
  UpdateCaptions();
  found_ = {};
  services_.ShowMessage(count == 1 ? tr("1 Stelle wurde ersetzt.")
                                   : tr("%1 Stellen wurden ersetzt.").arg(count),
                        TMessageKind::Information);
  return count;
}

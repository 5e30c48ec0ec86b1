// SPDX-License-Identifier: MIT
// A main window whose first diagram window is large enough to show small test programs whole,
// with helpers to build programs, describe them and find a figure's points on the screen.
#pragma once

#include "main_form_fixture.h"
#include "render/diagram_paint.h"
#include "render/qt_surface.h"
#include "tests/tree_building.h"
#include "ui/diagram/tform3.h"

#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

inline TAnweisung* Statement(TBlock& block, const std::string& text) {
  return Append(block, TAnweisung::CreateWithText(text));
}

// Texts in chain order: a block's body in [], a condition's branches' bodies in {yes|no}.
inline std::string Shape(const TElement* e) {
  std::string out;
  for (; e; e = e->Next) {
    if (!out.empty()) out += ' ';
    out += e->Text;
    if (const TBlock* b = As<TBlock>(e)) {
      out += '[' + Shape(b->Body) + ']';
    } else if (const TBedingung* c = As<TBedingung>(e)) {
      out += '{' + Shape(c->Branch1 ? c->Branch1->Body : nullptr);
      if (c->BranchCount > 1) out += '|' + Shape(c->Branch2 ? c->Branch2->Body : nullptr);
      out += '}';
    }
  }
  return out;
}

// Every element of the tree starting at head, successors and everything held included.
inline void CollectElements(const TElement* head, std::unordered_set<const TElement*>& out) {
  std::vector<const TElement*> stack{head};
  while (!stack.empty()) {
    const TElement* e = stack.back();
    stack.pop_back();
    for (; e; e = e->Next) {
      out.insert(e);
      if (const TBlock* b = As<TBlock>(e)) stack.push_back(b->Body);
      if (const TBedingung* c = As<TBedingung>(e)) {
        stack.push_back(c->Branch1);
        stack.push_back(c->Branch2);
      }
    }
  }
}

// No window shows, selects, lists as collapsed or marks as drop target an element that is not
// alive: in the document, or in a deleted block the main window keeps for a window showing it.
inline ::testing::AssertionResult DisplaysReferToLiveElements(const TForm2& form) {
  std::unordered_set<const TElement*> live{nullptr};
  CollectElements(form.Program.get(), live);
  for (const TOwned<TElement>& kept : form.Detached()) CollectElements(kept.get(), live);
  for (TForm1* w : form.DiagramWindows()) {
    const TDisplayOptions& d = *w->Display;
    if (!live.count(w->Root)) return ::testing::AssertionFailure() << "root of " << w;
    for (int32_t i = 0; i < d.SelectedCount; ++i)
      if (!live.count(d.Selected[i])) return ::testing::AssertionFailure() << "selection";
    for (int32_t i = 0; i < d.CollapsedCount; ++i)
      if (!live.count(d.Collapsed[i])) return ::testing::AssertionFailure() << "collapsed " << i;
    if (!live.count(d.DropTarget)) return ::testing::AssertionFailure() << "drop target";
  }
  return ::testing::AssertionSuccess();
}

// A surface measuring with the diagram font, for hit tests outside a window.
struct TImageProbe {
  QImage image{1, 1, QImage::Format_RGB32};
  QPainter painter{&image};
  QtSurface surface{painter, DiagramFont()};
};

class DiagramTest : public MainFormTest {
protected:
  std::unique_ptr<TForm3> dialog;

  TBlock& Program() { return *form->Program; }

  // Starts the editor; build fills the empty program before the first window is sized.
  void StartWith(const std::function<void(TBlock&)>& build) {
    dialog.reset();
    form.reset();
    Start();
    dialog = std::make_unique<TForm3>();
    form->SetCountingLoopDialog(dialog.get());
    build(Program());
    First().SubWindow()->showNormal();
    First().SubWindow()->resize(680, 420);
    form->MdiArea()->setActiveSubWindow(First().SubWindow());
    form->RefreshAll();
    Settle();
  }

  // Lets the windows repaint, which sets their scroll ranges anew after a refresh.
  static void Settle() { QCoreApplication::processEvents(); }

  static void Select(TForm1& window, TElement* e) {
    window.Display->ClearSelection();
    if (e) window.Display->AddSelection(e);
  }

  int Snapshots() const { return form->History.Count(); }
  std::string NewestSnapshot() const {
    const TOwned<TBlock> newest = form->History.Snapshot(1);
    return newest ? Shape(newest.get()) : std::string("-");
  }

  // A point in window coordinates where the window's hit test yields target (with the given
  // DropAfter, when one is asked for); (-1, -1) when there is none on the visible part.
  static QPoint PointOf(TForm1& window, const TElement* target,
                        std::optional<bool> dropAfter = std::nullopt) {
    QImage image(1, 1, QImage::Format_RGB32);
    QPainter painter(&image);
    QtSurface surface(painter, DiagramFont());
    TDisplayOptions display = *window.Display;
    const QSize visible = window.viewport()->size();
    for (int y = 0; y < visible.height(); ++y) {
      for (int x = 0; x < visible.width(); x += 2) {
        const QPoint content = window.ContentPoint(QPoint(x, y));
        if (HitTestStruktogramm(surface, *window.Root, display, content.x(), content.y()) ==
                target &&
            (!dropAfter || display.DropAfter == *dropAfter))
          return QPoint(x, y);
      }
    }
    return QPoint(-1, -1);
  }

  // Runs act once the counting-loop dialog shows; act must end it.
  void WhenDialogShows(const std::function<void()>& act) {
    QTimer::singleShot(0, dialog.get(), [this, act] {
      if (!WaitFor([&] { return dialog->isVisible(); })) return;
      act();
      if (!WaitFor([&] { return !dialog->isVisible(); })) dialog->done(99);
    });
  }
};

// SPDX-License-Identifier: MIT
// The diagram window's input: selecting with the mouse, dragging and dropping, and the keys.
#include "ui/diagram/tform1.h"

#include "model/nesting.h"
#include "render/diagram_paint.h"
#include "render/qt_surface.h"
#include "ui/main/tform2.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

namespace {

TShiftState ShiftOf(const QMouseEvent& event, bool doubleClick = false) {
  TShiftState shift;
  shift.Left = event.buttons().testFlag(Qt::LeftButton) || event.button() == Qt::LeftButton;
  shift.Right = event.buttons().testFlag(Qt::RightButton) || event.button() == Qt::RightButton;
  shift.Double = doubleClick;
  return shift;
}

} // namespace

TElement* TForm1::HitAt(int X, int Y) {
  QImage image = ScratchImage(QSize(1, 1));
  QPainter painter(&image);
  QtSurface surface(painter, DiagramFont());
  EnsureRanges();  // the scroll positions must be those the user sees
  const QPoint content = ContentPoint(QPoint(X, Y));
  if (TWindowLayout* layout = Layout())
    return layout->HitTest(surface, content.x(), content.y());
  return HitTestStruktogramm(surface, *Root, *Display, content.x(), content.y());
}

void TForm1::Select(TElement* e) {
  Display->ClearSelection();
  if (e)
    Display->AddSelection(e);
}

void TForm1::FormMouseDown(QObject*, Qt::MouseButton, TShiftState shift, int X, int Y) {
  if (shift.Left || shift.Right) {
    TElement* old = Display->CurrentSelection();
    TElement* p = HitAt(X, Y);
    if (p && p->Independent)
      Dragging = true;
    if (p != old) {
      Select(p);
      viewport()->update();
    }
  }
  if (shift.Left && shift.Double) {
    Dragging = false;
    Textbearbeiten();
  }
}

bool TForm1::RefusedTarget(TElement* moving, TElement* p) const {
  if (!moving || !p)
    return true;
  // Linking an element into its own figure would cut it off from the tree and close a cycle;
  // this also covers every target of a window whose root block is being dragged.
  if (Contains(*moving, *p))
    return true;
  if (!FitsAt(*p, Display->DropAfter, NestingDepth(*moving)))
    return true;
  if (TBlock* block = As<TBlock>(p))
    return Display->DropAfter ? block->Next == moving : block->Body == moving;
  return p->Next == moving;
}

bool TForm1::OverOwnDrawing(int X, int Y) const {
  const QPoint point(X, Y);
  if (!viewport()->rect().contains(point))
    return false;
  // Another window lying over this one hides the point.
  const QWidget* under = QApplication::widgetAt(viewport()->mapToGlobal(point));
  return !under || under == viewport();
}

void TForm1::FormMouseMove(QObject*, TShiftState, int X, int Y) {
  if (!Dragging)
    return;
  TElement* moving = Display->CurrentSelection();
  // Only what the user sees in this window can be a drop target.
  TElement* p = OverOwnDrawing(X, Y) ? HitAt(X, Y) : nullptr;
  if (RefusedTarget(moving, p))
    p = nullptr;
  if (p != Display->DropTarget) {
    Display->DropTarget = p;
    viewport()->update();
  }
}

void TForm1::FormMouseUp(QObject*, Qt::MouseButton, TShiftState, int X, int Y) {
  if (Display->DropTarget) {
    Display->DropTarget = nullptr;
    viewport()->update();
  }
  // A release outside what the user sees of this window moves nothing.
  if (Dragging && OverOwnDrawing(X, Y)) {
    TElement* moving = Display->CurrentSelection();
    TElement* p = HitAt(X, Y);
    TForm2* main = TForm2::MainForm();
    if (p && moving && main && !Contains(*moving, *p) &&
        !FitsAt(*p, Display->DropAfter, NestingDepth(*moving))) {
      ReportTooDeep();
    } else if (p && moving && main && !Contains(*moving, *p)) {
      if (p->Next != moving) {
        main->PushUndo();
        MoveElement(p);
        main->RefreshAll();
      } else if (!Display->DropAfter && As<TBlock>(p)) {
        // The dragged element directly follows this block: it goes to the head of its body.
        main->PushUndo();
        MoveElement(p);
        main->RefreshAll();
      }
    }
  }
  Dragging = false;
}

void TForm1::MoveElement(TElement* target) {
  TElement* moving = Display->CurrentSelection();
  if (!moving || !target)
    return;
  Root->Detach(moving);
  if (Display->DropAfter) {
    moving->Next = target->Next;
    target->Next = moving;
  } else {
    target->Insert(moving);
  }
}

void TForm1::FormKeyDown(QObject*, int& key, TShiftState) {
  TElement* s = Display->CurrentSelection();
  switch (key) {
  case 13:
    Textbearbeiten();
    break;
  case 45:
    Einfuegen(Anweisung);
    break;
  case 46:
    Loeschen(nullptr);
    break;
  case 37:
    if (auto* cond = As<TBedingung>(s)) {
      Select(cond->Branch1);
      viewport()->update();
    }
    break;
  case 39:
    if (auto* cond = As<TBedingung>(s)) {
      Select(cond->BranchCount > 1 ? cond->Branch2 : cond->Branch1);
      viewport()->update();
    }
    break;
  case 38:
    if (s && s != Root) {
      // A selection no longer below this window's root has no predecessor here; it stays.
      if (TElement* predecessor = Root->FindPredecessor(s)) {
        Select(predecessor);
        viewport()->update();
      }
    }
    break;
  case 40: {
    if (!s)
      s = Root;
    auto* block = As<TBlock>(s);
    if (block && block->Body) {
      Select(block->Body);
    } else {
      // The window's root is never left: its successor belongs to another window's figure.
      while (s && s != Root) {
        if (s->Next) {
          Select(s->Next);
          break;
        }
        do {
          s = Root->FindPredecessor(s);
        } while (s && !As<TBlock>(s));
      }
    }
    if (TForm2* main = TForm2::MainForm())
      main->RefreshAll();
    break;
  }
  default:
    break;
  }
}

void TForm1::mousePressEvent(QMouseEvent* event) {
  const Qt::MouseButton button = event->button();
  if (button != Qt::LeftButton && button != Qt::RightButton)
    return;
  const QPoint point = event->position().toPoint();
  Run([&] { FormMouseDown(this, button, ShiftOf(*event), point.x(), point.y()); });
}

void TForm1::mouseDoubleClickEvent(QMouseEvent* event) {
  const Qt::MouseButton button = event->button();
  if (button != Qt::LeftButton && button != Qt::RightButton)
    return;
  const QPoint point = event->position().toPoint();
  Run([&] { FormMouseDown(this, button, ShiftOf(*event, true), point.x(), point.y()); });
}

void TForm1::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  Run([&] { FormMouseMove(this, ShiftOf(*event), point.x(), point.y()); });
}

void TForm1::mouseReleaseEvent(QMouseEvent* event) {
  const Qt::MouseButton button = event->button();
  if (button != Qt::LeftButton && button != Qt::RightButton)
    return;
  const QPoint point = event->position().toPoint();
  Run([&] { FormMouseUp(this, button, ShiftOf(*event), point.x(), point.y()); });
  if (button == Qt::RightButton && !closing_)
    PopupMenu1->popup(viewport()->mapToGlobal(point));
}

void TForm1::keyPressEvent(QKeyEvent* event) {
  int key = 0;
  switch (event->key()) {
  case Qt::Key_Return:
  case Qt::Key_Enter:
    key = 13;
    break;
  case Qt::Key_Insert:
    key = 45;
    break;
  case Qt::Key_Delete:
    key = 46;
    break;
  case Qt::Key_Left:
    key = 37;
    break;
  case Qt::Key_Up:
    key = 38;
    break;
  case Qt::Key_Right:
    key = 39;
    break;
  case Qt::Key_Down:
    key = 40;
    break;
  default:
    event->ignore();
    return;
  }
  TShiftState shift;
  Run([&] { FormKeyDown(this, key, shift); });
}

bool TForm1::viewportEvent(QEvent* event) {
  if (event->type() != QEvent::ToolTip)
    return QAbstractScrollArea::viewportEvent(event);
  const TForm2* main = TForm2::MainForm();
  QString text;
  if (main && main->CheckMarks() && Display && !Dragging) {
    const auto* help = static_cast<QHelpEvent*>(event);
    const bool dropAfter = Display->DropAfter; // the hit test writes it; a tooltip must not
    text = main->CheckMessages(HitAt(help->pos().x(), help->pos().y()));
    Display->DropAfter = dropAfter;
    if (!text.isEmpty())
      QToolTip::showText(help->globalPos(), text, viewport());
  }
  if (text.isEmpty())
    QToolTip::hideText();
  return true;
}

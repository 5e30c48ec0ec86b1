// SPDX-License-Identifier: MIT
#include "ui/diagram/tform1.h"

#include "model/nesting.h"
#include "render/diagram_paint.h"
#include "render/figures.h"
#include "render/qt_surface.h"
#include "ui/main/text_codec.h"
#include "ui/main/tform2.h"
#include "ui/main/windowing_services.h"

#include "ui/diagram/tform3.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <vector>

namespace {

const QColor kBackground(0xF5, 0xF5, 0xF5);

// A scratch picture with the screen's resolution: measuring and the immediate repaint need a
// surface even while the window is hidden or minimised.
QImage ScratchImage(const QWidget& window, QSize size) {
  QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  constexpr double kInchesPerMetre = 39.37007874;
  image.setDotsPerMeterX(qRound(window.logicalDpiX() * kInchesPerMetre));
  image.setDotsPerMeterY(qRound(window.logicalDpiY() * kInchesPerMetre));
  image.fill(kBackground);
  return image;
}

using TPopupHandler = void (TForm1::*)(QObject*);

// A caption "-" is a separator line; the items after "Einfügen" up to the first one outside the
// submenu belong to it.
struct TPopupEntry {
  QAction* TForm1::*field;
  const char* name;
  const char* caption;
  bool visible;
  bool inSubmenu;
  TPopupHandler handler;
};

const TPopupEntry kPopupItems[] = {
    {&TForm1::Anweisung, "Anweisung", "Anweisung", true, true, &TForm1::Einfuegen},
    {&TForm1::N1, "N1", "-", true, true, nullptr},
    {&TForm1::IfAnweisung, "IfAnweisung", "Entscheidung", true, true, &TForm1::Einfuegen},
    {&TForm1::N2, "N2", "-", true, true, nullptr},
    {&TForm1::WhileSchleife, "WhileSchleife", "Schleife (Test vorher)", true, true,
     &TForm1::Einfuegen},
    {&TForm1::DoWhileSchleife, "DoWhileSchleife", "Schleife (Test danach)", true, true,
     &TForm1::Einfuegen},
    {&TForm1::RepeatUntilSchleife, "RepeatUntilSchleife", "Schleife (Test danach)", false, true,
     &TForm1::Einfuegen},
    {&TForm1::ForSchleife, "ForSchleife", "Zählschleife", false, true, &TForm1::Einfuegen},
    {&TForm1::Textbearbeiten1, "Textbearbeiten1", "Text bearbeiten", true, false,
     &TForm1::Textbearbeiten1Click},
    {&TForm1::Genauerbestimmen1, "Genauerbestimmen1", "Genauer bestimmen", true, false,
     &TForm1::Genauerbestimmen1Click},
    {&TForm1::Lschen1, "Lschen1", "Löschen", true, false, &TForm1::Loeschen},
    {&TForm1::N3, "N3", "-", true, false, nullptr},
    {&TForm1::Anzeigeverkleinernvergrern1, "Anzeigeverkleinernvergrern1",
     "Anzeige verkleinern/vergrößern", true, false, &TForm1::ChangeDisplay},
    {&TForm1::InneuemFensteranzeigen1, "InneuemFensteranzeigen1", "In neuem Fenster anzeigen",
     true, false, &TForm1::InneuemFensteranzeigen},
};

// The element kind an insertion command creates, by the name of the popup item, main-menu item
// or toolbar button that invoked it.
struct TInsertion {
  const char* item;    // popup and main-menu item
  const char* button;  // toolbar button
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
  if (!sender) return false;
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
  case TKind::Anweisung: return TAnweisung::CreateWithText("Anweisung");
  case TKind::If: return TIf::CreateWithText("???");
  case TKind::While: return TWhile::CreateWithText("???");
  case TKind::For: return TFor::CreateWithText("???");
  case TKind::DoWhile: return TDoWhile::CreateWithText("???");
  case TKind::Repeat: return TRepeat::CreateWithText("???");
  case TKind::Block: break;
  }
  return TBlock::CreateWithText("???");
}

// True when x is one of the elements of the chain starting at head, or lies inside one of them.
bool ChainContains(const TElement* head, const TElement& x) {
  for (const TElement* e = head; e; e = e->Next)
    if (Contains(*e, x)) return true;
  return false;
}

// Where the window opened after `open` others goes: three quarters of the frame's area (at least
// 320 × 220 where there is room), cascading down from the top-left by a title bar's height and
// starting again at the top-left before a window would reach beyond the area, so that every
// new window lies wholly inside what the frame shows.
QRect CascadedGeometry(QSize area, int open, int step) {
  const QSize size(std::min(area.width(), std::max(320, area.width() * 3 / 4)),
                   std::min(area.height(), std::max(220, area.height() * 3 / 4)));
  step = std::max(step, 1);
  const int fitting = std::max(1, std::min((area.width() - size.width()) / step,
                                           (area.height() - size.height()) / step) + 1);
  const int k = open % fitting;
  return QRect(QPoint(k * step, k * step), size);
}

TShiftState ShiftOf(const QMouseEvent& event, bool doubleClick = false) {
  TShiftState shift;
  shift.Left = event.buttons().testFlag(Qt::LeftButton) || event.button() == Qt::LeftButton;
  shift.Right = event.buttons().testFlag(Qt::RightButton) || event.button() == Qt::RightButton;
  shift.Double = doubleClick;
  return shift;
}

}  // namespace

TForm1::TForm1(TBlock* block) : Root(block), Display(std::make_unique<TDisplayOptions>()) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Komplettes Programm"));
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(13);
  setFont(font);
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setFocusPolicy(Qt::StrongFocus);
  // Right-button presses and releases must reach the mouse handlers; the popup menu is opened
  // by the release handler itself.
  setContextMenuPolicy(Qt::PreventContextMenu);
  viewport()->setContextMenuPolicy(Qt::PreventContextMenu);
  createPopupMenu();
}

TForm1::~TForm1() = default;

TForm1* TForm1::CreateForBlock(TForm2* owner, TBlock* block) {
  TForm2* frame = owner ? owner : TForm2::MainForm();
  auto* window = new TForm1(block);
  QMdiArea* mdi = frame->MdiArea();
  const int open = static_cast<int>(mdi->subWindowList().size());
  QMdiSubWindow* sub = mdi->addSubWindow(window);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->installEventFilter(window);
  sub->setGeometry(CascadedGeometry(mdi->viewport()->size(), open,
                                    sub->style()->pixelMetric(QStyle::PM_TitleBarHeight,
                                                              nullptr, sub)));
  window->Secondary = true;
  window->FormCreate();
  sub->show();
  return window;
}

void TForm1::FormCreate() {
  QPalette palette = viewport()->palette();
  palette.setColor(QPalette::Window, kBackground);
  viewport()->setPalette(palette);
  viewport()->setAutoFillBackground(true);
  AdjustScrollBars();
}

QMdiSubWindow* TForm1::SubWindow() const {
  return qobject_cast<QMdiSubWindow*>(parentWidget());
}

void TForm1::SetCaption(const QString& caption) {
  setWindowTitle(caption);
  if (QMdiSubWindow* sub = SubWindow()) sub->setWindowTitle(caption);
}

QString TForm1::Caption() const {
  const QMdiSubWindow* sub = SubWindow();
  return sub ? sub->windowTitle() : windowTitle();
}

void TForm1::SetRoot(TBlock* block) {
  Display = std::make_unique<TDisplayOptions>();
  Root = block;
  AdjustScrollBars();
  viewport()->update();
}

TText TForm1::GetRootTitle() const { return Root->Text; }

TSize TForm1::MeasureRoot() {
  QImage image = ScratchImage(*this, QSize(1, 1));
  QPainter painter(&image);
  QtSurface surface(painter, DiagramFont());
  return Measure(*Root, surface, *Display);
}

void TForm1::AdjustScrollBars() {
  const TSize size = MeasureRoot();
  vRange_ = size.cy + 50;
  hRange_ = size.cx + 50;
  UpdateScrollBarMaxima();
}

void TForm1::UpdateScrollBarMaxima() {
  // The scroll bar's maximum is the range less the visible extent, so positions stay within
  // 0 and range minus what is shown.
  const QSize visible = viewport()->size();
  horizontalScrollBar()->setPageStep(std::max(1, visible.width()));
  verticalScrollBar()->setPageStep(std::max(1, visible.height()));
  horizontalScrollBar()->setSingleStep(8);
  verticalScrollBar()->setSingleStep(8);
  horizontalScrollBar()->setRange(0, std::max(0, hRange_ - visible.width()));
  verticalScrollBar()->setRange(0, std::max(0, vRange_ - visible.height()));
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBarMaxima();
}

void TForm1::scrollContentsBy(int, int) { viewport()->update(); }

void TForm1::DisplayStruktogramm(TSurface& surface, TPoint anchor, const TRect* clip) {
  ::DisplayStruktogramm(surface, anchor, *Root, *Display, clip);
}

void TForm1::FormPaint(const QRect& exposed) {
  QPainter painter(viewport());
  painter.fillRect(exposed, kBackground);
  QtSurface surface(painter, DiagramFont());
  // Only what intersects the exposed rectangle is drawn; the root is measured once for both
  // its anchor and its figure.
  const TRect clip{exposed.left(), exposed.top(), exposed.right() + 1, exposed.bottom() + 1};
  PaintStruktogramm(surface, *Root, *Display,
                    TPoint{horizontalScrollBar()->value(), verticalScrollBar()->value()}, &clip);
}

void TForm1::paintEvent(QPaintEvent* event) {
  if (closing_ || !Display) return;
  TForm2* main = TForm2::MainForm();
  if (!main) return FormPaint(event->rect());
  Guarded(main->Services(), [&] { FormPaint(event->rect()); });
}

void TForm1::RepaintNow() {
  // The visible part is drawn; the selection's rectangle is recorded wherever it lies, as a
  // drawing of the whole figure would record it.
  const QSize visible = viewport()->size();
  QImage image = ScratchImage(*this, visible);
  {
    QPainter painter(&image);
    QtSurface surface(painter, DiagramFont());
    const TRect clip{0, 0, visible.width(), visible.height()};
    PaintStruktogramm(surface, *Root, *Display,
                      TPoint{horizontalScrollBar()->value(), verticalScrollBar()->value()}, &clip);
  }
  viewport()->update();
}

void TForm1::PrintStruktogramm(TSurface& surface) {
  ::PrintStruktogramm(surface, ToCp1252(Caption()), *Root, *Display);
}

void TForm1::FormClose(TCloseAction& action) {
  if (Secondary) {
    Display.reset();
    action = TCloseAction::Free;
  }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == SubWindow() && event->type() == QEvent::Close) {
    TCloseAction action = TCloseAction::Minimize;
    FormClose(action);
    if (action == TCloseAction::Minimize) {
      event->ignore();
      SubWindow()->showMinimized();
      return true;
    }
    // Display is gone: the window must neither paint nor measure again before it is deleted.
    closing_ = true;
    setUpdatesEnabled(false);
    // A deleted block this window alone still showed can go now.
    if (TForm2* main = TForm2::MainForm()) main->ReleaseUnshownDetached();
    return false;
  }
  return QAbstractScrollArea::eventFilter(watched, event);
}

void TForm1::ChangeDisplay(QObject*) {
  if (auto* block = As<TBlock>(Display->CurrentSelection())) ChangeMinimize(block);
}

void TForm1::ChangeMinimize(TBlock* block) {
  Display->ToggleCollapsed(block);
  RepaintNow();
  AdjustScrollBars();
  const TRect r = Display->SelectedRect;
  const QWidget* outer = SubWindow() ? static_cast<QWidget*>(SubWindow()) : this;
  const int height = outer->frameGeometry().height();
  const int width = outer->frameGeometry().width();
  QScrollBar* vertical = verticalScrollBar();
  QScrollBar* horizontal = horizontalScrollBar();
  if (r.bottom - r.top > height)
    vertical->setValue(r.top + vertical->value() - 2);
  else
    vertical->setValue((r.top + r.bottom) / 2 + vertical->value() - height / 2);
  horizontal->setValue((r.left + r.right) / 2 + horizontal->value() - width / 2);
  viewport()->update();
}

void TForm1::createPopupMenu() {
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  Einfgen1 = PopupMenu1->addMenu(QStringLiteral("Einfügen"));
  Einfgen1->setObjectName(QStringLiteral("Einfgen1"));
  for (const TPopupEntry& entry : kPopupItems) {
    auto* action = new QAction(PopupMenu1);
    action->setObjectName(QLatin1String(entry.name));
    if (QLatin1String(entry.caption) == QLatin1String("-")) {
      action->setSeparator(true);
    } else {
      action->setText(QString::fromUtf8(entry.caption));
      const TPopupHandler handler = entry.handler;
      connect(action, &QAction::triggered, this,
              [this, action, handler] { Run([&] { (this->*handler)(action); }); });
    }
    action->setVisible(entry.visible);
    (entry.inSubmenu ? Einfgen1 : PopupMenu1)->addAction(action);
    this->*entry.field = action;
  }
}

template <class F> void TForm1::Run(F&& handler) {
  TForm2* main = TForm2::MainForm();
  if (!main) return handler();
  Guarded(main->Services(), std::forward<F>(handler));
}

TElement* TForm1::HitAt(int X, int Y) {
  QImage image = ScratchImage(*this, QSize(1, 1));
  QPainter painter(&image);
  QtSurface surface(painter, DiagramFont());
  return HitTestStruktogramm(surface, *Root, *Display, X + horizontalScrollBar()->value(),
                             Y + verticalScrollBar()->value());
}

void TForm1::Select(TElement* e) {
  Display->ClearSelection();
  if (e) Display->AddSelection(e);
}

// --- Mouse and keys ------------------------------------------------------------------------------

void TForm1::FormMouseDown(QObject*, Qt::MouseButton, TShiftState shift, int X, int Y) {
  if (shift.Left || shift.Right) {
    TElement* old = Display->CurrentSelection();
    TElement* p = HitAt(X, Y);
    if (p && p->Independent) Dragging = true;
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

bool TForm1::FitsAt(const TElement& target, bool after, int32_t depth) const {
  if (depth == 0) return true;
  // A block deleted from the document but still shown here counts from its own root.
  const TForm2* main = TForm2::MainForm();
  const TBlock& tree = main ? *main->Program : *Root;
  const auto level = [&](const TBlock& root) {
    return after || target.Kind() != TKind::Block ? SuccessorLevel(root, target)
                                                  : InsertionLevel(root, target);
  };
  int32_t at = level(tree);
  if (at < 0) at = level(*Root);
  return FitsNesting(at, depth);
}

void TForm1::ReportTooDeep() {
  if (TForm2* main = TForm2::MainForm())
    main->Services().ShowMessage(
        QStringLiteral("Das Struktogramm kann nicht tiefer als %1 Ebenen verschachtelt werden.")
            .arg(kMaxNestingDepth),
        TMessageKind::Error);
}

bool TForm1::RefusedTarget(TElement* moving, TElement* p) const {
  if (!moving || !p) return true;
  // Linking an element into its own figure would cut it off from the tree and close a cycle;
  // this also covers every target of a window whose root block is being dragged.
  if (Contains(*moving, *p)) return true;
  if (!FitsAt(*p, Display->DropAfter, NestingDepth(*moving))) return true;
  if (TBlock* block = As<TBlock>(p))
    return Display->DropAfter ? block->Next == moving : block->Body == moving;
  return p->Next == moving;
}

bool TForm1::OverOwnDrawing(int X, int Y) const {
  const QPoint point(X, Y);
  if (!viewport()->rect().contains(point)) return false;
  // Another window lying over this one hides the point.
  const QWidget* under = QApplication::widgetAt(viewport()->mapToGlobal(point));
  return !under || under == viewport();
}

void TForm1::FormMouseMove(QObject*, TShiftState, int X, int Y) {
  if (!Dragging) return;
  TElement* moving = Display->CurrentSelection();
  // Only what the user sees in this window can be a drop target.
  TElement* p = OverOwnDrawing(X, Y) ? HitAt(X, Y) : nullptr;
  if (RefusedTarget(moving, p)) p = nullptr;
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
  if (!moving || !target) return;
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
  case 13: Textbearbeiten(); break;
  case 45: Einfuegen(Anweisung); break;
  case 46: Loeschen(nullptr); break;
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
    if (!s) s = Root;
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
    if (TForm2* main = TForm2::MainForm()) main->RefreshAll();
    break;
  }
  default: break;
  }
}

void TForm1::mousePressEvent(QMouseEvent* event) {
  const Qt::MouseButton button = event->button();
  if (button != Qt::LeftButton && button != Qt::RightButton) return;
  const QPoint point = event->position().toPoint();
  Run([&] { FormMouseDown(this, button, ShiftOf(*event), point.x(), point.y()); });
}

void TForm1::mouseDoubleClickEvent(QMouseEvent* event) {
  const Qt::MouseButton button = event->button();
  if (button != Qt::LeftButton && button != Qt::RightButton) return;
  const QPoint point = event->position().toPoint();
  Run([&] { FormMouseDown(this, button, ShiftOf(*event, true), point.x(), point.y()); });
}

void TForm1::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  Run([&] { FormMouseMove(this, ShiftOf(*event), point.x(), point.y()); });
}

void TForm1::mouseReleaseEvent(QMouseEvent* event) {
  const Qt::MouseButton button = event->button();
  if (button != Qt::LeftButton && button != Qt::RightButton) return;
  const QPoint point = event->position().toPoint();
  Run([&] { FormMouseUp(this, button, ShiftOf(*event), point.x(), point.y()); });
  if (button == Qt::RightButton && !closing_)
    PopupMenu1->popup(viewport()->mapToGlobal(point));
}

void TForm1::keyPressEvent(QKeyEvent* event) {
  int key = 0;
  switch (event->key()) {
  case Qt::Key_Return:
  case Qt::Key_Enter: key = 13; break;
  case Qt::Key_Insert: key = 45; break;
  case Qt::Key_Delete: key = 46; break;
  case Qt::Key_Left: key = 37; break;
  case Qt::Key_Up: key = 38; break;
  case Qt::Key_Right: key = 39; break;
  case Qt::Key_Down: key = 40; break;
  default: event->ignore(); return;
  }
  TShiftState shift;
  Run([&] { FormKeyDown(this, key, shift); });
}

// --- Editing commands ----------------------------------------------------------------------------

void TForm1::Einfuegen(QObject* sender) {
  TElement* s = Display->CurrentSelection();
  if (!s) return;
  TKind kind = TKind::Anweisung;
  if (!KindForSender(sender, kind)) return;
  if (!FitsAt(*s, false, kind == TKind::Anweisung ? 0 : 1)) return ReportTooDeep();
  TForm2* main = TForm2::MainForm();
  main->PushUndo();
  TElement* e = CreateElement(kind).release();
  s->Insert(e);
  if (auto* block = As<TBlock>(s)) {
    if (Display->IsCollapsed(block)) main->ToggleCollapsedEverywhere(block);
  }
  Select(e);
  main->RefreshAll();
  const bool cancelled = Textbearbeiten();
  if (cancelled) {
    Loeschen(nullptr);
    main->DropNewestUndo();
    main->DropNewestUndo();
  }
  main->DropNewestUndo();
  main->RefreshAll();
}

bool TForm1::Textbearbeiten() {
  TElement* s = Display->CurrentSelection();
  if (!s) return false;
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
      title = QStringLiteral("Anweisung");
      prompt = QStringLiteral("Gib eine neue Anweisung ein:");
      break;
    case TKind::If:
      title = QStringLiteral("If-Anweisung");
      prompt = QStringLiteral("Gib eine neue Bedingung ein:");
      break;
    case TKind::Block:
      title = QStringLiteral("Anweisungsblock");
      prompt = QStringLiteral("Gib eine neue Bezeichnung ein:");
      break;
    default:
      title = QStringLiteral("Schleife");
      prompt = QStringLiteral("Gib eine neue Bedingung ein:");
      break;
    }
    QString text = FromCp1252(s->Text);
    const bool ok = main->Services().InputQuery(title, prompt, text);
    if (ok) s->Text = InputToCp1252(text);
    cancelled = !ok;
    if (s->Kind() == TKind::Block) main->UpdateCaptions();
  }
  main->RefreshAll();
  return cancelled;
}

void TForm1::Textbearbeiten1Click(QObject*) { Textbearbeiten(); }

void TForm1::Loeschen(QObject*) {
  TElement* s = Display->CurrentSelection();
  if (!s) return;
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
    if (!predecessor) return;
    auto* holder = As<TBlock>(predecessor);
    if (predecessor->Next == s)
      place = TPlace::Successor;
    else if (holder && holder->Body == s)
      place = TPlace::BodyHead;
    else
      place = TPlace::Branch;
  }
  auto* block = As<TBlock>(s);
  const TElement* freedChain = nullptr;  // every element of this chain is freed
  const TElement* freedElement = nullptr;  // this element is freed with what it owns
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
    if (window != this && freed(window->Root)) window->SubWindow()->close();
  }
  const QList<TForm1*> windows = main->DiagramWindows();
  const bool blockStillShown =
      unlinkedBlock && std::any_of(windows.begin(), windows.end(), [&](TForm1* w) {
        return Contains(*s, *w->Root);
      });
  const auto gone = [&](const TElement* x) {
    return freed(x) || (unlinkedBlock && !blockStillShown && Contains(*s, *x));
  };
  for (TForm1* window : windows) {
    TDisplayOptions& display = *window->Display;
    TElement* selection = display.CurrentSelection();
    // A window that does not show the deleted block must not act on what is inside it.
    if (selection && (gone(selection) || (unlinkedBlock && !Contains(*s, *window->Root) &&
                                          Contains(*s, *selection))))
      display.ClearSelection();
    std::vector<TBlock*> stale;
    for (int i = 0; i < display.CollapsedCount; ++i)
      if (gone(display.Collapsed[i])) stale.push_back(display.Collapsed[i]);
    for (TBlock* b : stale) display.ToggleCollapsed(b);
  }

  Root->Remove(s);
  Display->ClearSelection();
  if (!block) {
    DisposeElement(s);
  } else if (unlinkedBlock) {
    s->Next = nullptr;  // Remove leaves the old successor, which stays in the tree
    if (blockStillShown)
      main->KeepDetached(TOwned<TElement>(s));
    else
      DisposeTree(s);
  }
  main->RefreshAll();
}

void TForm1::InneuemFensteranzeigen(QObject*) {
  auto* block = As<TBlock>(Display->CurrentSelection());
  if (!block) return;
  TForm1* window = CreateForBlock(nullptr, block);
  window->SetCaption(FromCp1252(block->Text));
}

void TForm1::Genauerbestimmen1Click(QObject*) {
  TElement* s = Display->CurrentSelection();
  TForm2* main = TForm2::MainForm();
  if (s && s->Kind() == TKind::Anweisung) {
    if (!FitsAt(*s, true, 1)) return ReportTooDeep();
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
        QStringLiteral("Nur Anweisungen können genauer spezifiziert werden"),
        TMessageKind::Error);
  }
}

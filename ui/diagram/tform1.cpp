// SPDX-License-Identifier: MIT
#include "ui/diagram/tform1.h"

#include "render/diagram_paint.h"
#include "render/figures.h"
#include "render/qt_surface.h"
#include "ui/main/text_codec.h"
#include "ui/main/tform2.h"
#include "ui/main/windowing_services.h"

#include <QCloseEvent>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

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
}

TForm1::~TForm1() = default;

TForm1* TForm1::CreateForBlock(TForm2* owner, TBlock* block) {
  TForm2* frame = owner ? owner : TForm2::MainForm();
  auto* window = new TForm1(block);
  QMdiSubWindow* sub = frame->MdiArea()->addSubWindow(window);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->installEventFilter(window);
  const QSize area = frame->MdiArea()->size();
  sub->resize(std::max(320, area.width() * 3 / 4), std::max(220, area.height() * 3 / 4));
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
  const TSize size = Measure(*Root, surface, *Display);
  const TPoint anchor{size.cx / 2 + 30 - horizontalScrollBar()->value(),
                      15 - verticalScrollBar()->value()};
  const TRect clip{exposed.left(), exposed.top(), exposed.right() + 1, exposed.bottom() + 1};
  DisplayStruktogramm(surface, anchor, &clip);
}

void TForm1::paintEvent(QPaintEvent* event) {
  if (closing_ || !Display) return;
  TForm2* main = TForm2::MainForm();
  if (!main) return FormPaint(event->rect());
  Guarded(main->Services(), [&] { FormPaint(event->rect()); });
}

void TForm1::RepaintNow() {
  // The whole figure is drawn, not only the visible part, so the selection's rectangle is
  // recorded wherever it lies.
  QImage image = ScratchImage(*this, viewport()->size());
  {
    QPainter painter(&image);
    QtSurface surface(painter, DiagramFont());
    const TSize size = Measure(*Root, surface, *Display);
    DisplayStruktogramm(surface, TPoint{size.cx / 2 + 30 - horizontalScrollBar()->value(),
                                        15 - verticalScrollBar()->value()});
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
    return false;
  }
  return QAbstractScrollArea::eventFilter(watched, event);
}

void TForm1::ChangeDisplay() {
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

void TForm1::SelectAt(const QPoint& windowPoint) {
  QImage image = ScratchImage(*this, QSize(1, 1));
  QPainter painter(&image);
  QtSurface surface(painter, DiagramFont());
  const TPoint anchor = RootAnchor(*Root, surface, *Display);
  TElement* old = Display->CurrentSelection();
  TElement* hit = HitTest(*Root, surface, anchor, *Display,
                          windowPoint.x() + horizontalScrollBar()->value(),
                          windowPoint.y() + verticalScrollBar()->value());
  if (hit != old) {
    Display->ClearSelection();
    if (hit) Display->AddSelection(hit);
    viewport()->update();
  }
}

void TForm1::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
  const QPoint point = event->position().toPoint();
  Guarded(TForm2::MainForm()->Services(), [&] { SelectAt(point); });
}

void TForm1::Einfuegen(QObject*) {
  // Inserting elements comes with the editing commands; until then nothing happens, as when
  // nothing is selected.
}

void TForm1::InneuemFensteranzeigen() {
  auto* block = As<TBlock>(Display->CurrentSelection());
  if (!block) return;
  TForm1* window = CreateForBlock(nullptr, block);
  window->SetCaption(FromCp1252(block->Text));
}

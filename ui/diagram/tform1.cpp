// SPDX-License-Identifier: MIT
// The diagram window's view: creation, painting, scrolling, collapsing, printing and closing.
#include "ui/diagram/tform1.h"

#include "render/diagram_paint.h"
#include "render/figures.h"
#include "render/qt_surface.h"
#include "ui/main/text_codec.h"
#include "ui/main/tform2.h"
#include "ui/main/windowing_services.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

const QColor kBackground(0xF5, 0xF5, 0xF5);

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
    {&TForm1::Anweisung, "Anweisung", QT_TRANSLATE_NOOP("TForm1", "Anweisung"), true, true,
     &TForm1::Einfuegen},
    {&TForm1::N1, "N1", "-", true, true, nullptr},
    {&TForm1::IfAnweisung, "IfAnweisung", QT_TRANSLATE_NOOP("TForm1", "Entscheidung"), true, true,
     &TForm1::Einfuegen},
    {&TForm1::N2, "N2", "-", true, true, nullptr},
    {&TForm1::WhileSchleife, "WhileSchleife", QT_TRANSLATE_NOOP("TForm1", "Schleife (Test vorher)"),
     true, true, &TForm1::Einfuegen},
    {&TForm1::DoWhileSchleife, "DoWhileSchleife",
     QT_TRANSLATE_NOOP("TForm1", "Schleife (Test danach)"), true, true, &TForm1::Einfuegen},
    {&TForm1::RepeatUntilSchleife, "RepeatUntilSchleife",
     QT_TRANSLATE_NOOP("TForm1", "Schleife (Test danach)"), false, true, &TForm1::Einfuegen},
    {&TForm1::ForSchleife, "ForSchleife", QT_TRANSLATE_NOOP("TForm1", "Zählschleife"), false, true,
     &TForm1::Einfuegen},
    {&TForm1::Textbearbeiten1, "Textbearbeiten1", QT_TRANSLATE_NOOP("TForm1", "Text bearbeiten"),
     true, false, &TForm1::Textbearbeiten1Click},
    {&TForm1::Genauerbestimmen1, "Genauerbestimmen1",
     QT_TRANSLATE_NOOP("TForm1", "Genauer bestimmen"), true, false,
     &TForm1::Genauerbestimmen1Click},
    {&TForm1::Lschen1, "Lschen1", QT_TRANSLATE_NOOP("TForm1", "Löschen"), true, false,
     &TForm1::Loeschen},
    {&TForm1::N3, "N3", "-", true, false, nullptr},
    {&TForm1::Anzeigeverkleinernvergrern1, "Anzeigeverkleinernvergrern1",
     QT_TRANSLATE_NOOP("TForm1", "Anzeige verkleinern/vergrößern"), true, false,
     &TForm1::ChangeDisplay},
    {&TForm1::InneuemFensteranzeigen1, "InneuemFensteranzeigen1",
     QT_TRANSLATE_NOOP("TForm1", "In neuem Fenster anzeigen"), true, false,
     &TForm1::InneuemFensteranzeigen},
    // Beyond the original program's items.
    {&TForm1::N4, "N4", "-", true, false, nullptr},
    {&TForm1::Ausschneiden1, "Ausschneiden1", QT_TRANSLATE_NOOP("TForm1", "Ausschneiden"), true,
     false, &TForm1::Ausschneiden1Click},
    {&TForm1::Kopieren1, "Kopieren1", QT_TRANSLATE_NOOP("TForm1", "Kopieren"), true, false,
     &TForm1::Kopieren1Click},
    {&TForm1::AusZwischenablageeinfgen1, "AusZwischenablageeinfgen1",
     QT_TRANSLATE_NOOP("TForm1", "Aus Zwischenablage einfügen"), true, false,
     &TForm1::AusZwischenablageeinfgen1Click},
};

// Where the window opened after `open` others goes: three quarters of the frame's area (at least
// 320 × 220 where there is room), cascading down from the top-left by a title bar's height and
// starting again at the top-left before a window would reach beyond the area, so that every
// new window lies wholly inside what the frame shows.
QRect CascadedGeometry(QSize area, int open, int step) {
  const QSize size(std::min(area.width(), std::max(320, area.width() * 3 / 4)),
                   std::min(area.height(), std::max(220, area.height() * 3 / 4)));
  step = std::max(step, 1);
  const int fitting = std::max(
      1,
      std::min((area.width() - size.width()) / step, (area.height() - size.height()) / step) + 1);
  const int k = open % fitting;
  return QRect(QPoint(k * step, k * step), size);
}

} // namespace

TForm1::TForm1(TBlock* block) : Root(block), Display(std::make_unique<TDisplayOptions>()) {
  Display->DrawRoot = block; // the root is the whole diagram, measured before the first paint
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(tr("Komplettes Programm"));
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
  // A block opened from a window is drawn as that window draws.
  const TForm1* from = frame->ActiveWindow();
  auto* window = new TForm1(block);
  if (from)
    window->Display->Notation = from->Notation();
  QMdiArea* mdi = frame->MdiArea();
  const int open = static_cast<int>(mdi->subWindowList().size());
  QMdiSubWindow* sub = mdi->addSubWindow(window);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->installEventFilter(window);
  sub->setGeometry(
      CascadedGeometry(mdi->viewport()->size(), open,
                       sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub)));
  window->Secondary = true;
  window->FormCreate();
  sub->show();
  // The keys and shortcuts after the command that opened the window are meant for it: it is
  // made the active window with the focus here rather than left to what showing happens to do.
  mdi->setActiveSubWindow(sub);
  window->setFocus(Qt::OtherFocusReason);
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
  caption_ = caption;
  ShowCaption();
}

QString TForm1::Caption() const {
  return caption_;
}

void TForm1::ShowCaption() {
  // The zoom is told only where it is not the original size.
  const QString shown =
      zoom_ == 100 ? caption_ : QStringLiteral("%1 (%2 %)").arg(caption_).arg(zoom_);
  setWindowTitle(shown);
  if (QMdiSubWindow* sub = SubWindow())
    sub->setWindowTitle(shown);
}

void TForm1::SetRoot(TBlock* block) {
  layout_.reset(); // it measured the old root with the old display state
  const TNotation notation = Notation();
  Display = std::make_unique<TDisplayOptions>();
  Display->Notation = notation;
  Display->DrawRoot = block;
  Root = block;
  AdjustScrollBars();
  viewport()->update();
}

void TForm1::SetNotation(TNotation notation) {
  if (!Display || Display->Notation == notation)
    return;
  Display->Notation = notation;
  layout_.reset(); // every size differs between the notations
  AdjustScrollBars();
  viewport()->update();
}

TText TForm1::GetRootTitle() const {
  return Root->Text;
}

TWindowLayout* TForm1::Layout() {
  const TForm2* main = TForm2::MainForm();
  // While a command changes the tree, nothing measured then may be kept.
  if (!main || main->TreeChanging()) {
    layout_.reset();
    return nullptr;
  }
  const std::vector<const TBlock*> collapsed(Display->Collapsed,
                                             Display->Collapsed + Display->CollapsedCount);
  if (!layout_ || layoutGeneration_ != main->LayoutGeneration() || layoutCollapsed_ != collapsed ||
      layoutSpacing_ != Display->Spacing || Display->PrintMode) {
    if (Display->PrintMode)
      return nullptr;
    if (!layout_)
      layout_ = std::make_unique<TWindowLayout>(*Root, *Display);
    else
      layout_->Invalidate();
    layoutGeneration_ = main->LayoutGeneration();
    layoutCollapsed_ = collapsed;
    layoutSpacing_ = Display->Spacing;
  }
  return layout_.get();
}

TSize TForm1::MeasureRoot() {
  QImage image = ScratchImage(QSize(1, 1));
  QPainter painter(&image);
  QtSurface surface(painter, DiagramFont());
  TWindowLayout* layout = Layout();
  if (!layout)
    return Measure(*Root, surface, *Display);
  const TSize size = layout->RootSize(surface);
  // Debug builds make sure the kept measurements are never stale.
  Q_ASSERT_X(size == Measure(*Root, surface, *Display), "TForm1::MeasureRoot", "stale layout");
  return size;
}

void TForm1::ScheduleAdjust() {
  rangesStale_ = true;
}

void TForm1::EnsureRanges() {
  if (rangesStale_)
    AdjustScrollBars();
}

int TForm1::HorizontalRange() const {
  const_cast<TForm1*>(this)->EnsureRanges();
  return hRange_;
}

int TForm1::VerticalRange() const {
  const_cast<TForm1*>(this)->EnsureRanges();
  return vRange_;
}

void TForm1::AdjustScrollBars() {
  rangesStale_ = false;
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
  // The ranges are the figure's units; at another zoom the window scrolls over their scaled size.
  const int width = static_cast<int>(std::ceil(hRange_ * zoom_ / 100.0));
  const int height = static_cast<int>(std::ceil(vRange_ * zoom_ / 100.0));
  horizontalScrollBar()->setRange(0, std::max(0, width - visible.width()));
  verticalScrollBar()->setRange(0, std::max(0, height - visible.height()));
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBarMaxima();
}

void TForm1::scrollContentsBy(int, int) {
  viewport()->update();
}

void TForm1::DisplayStruktogramm(TSurface& surface, TPoint anchor, const TRect* clip) {
  ::DisplayStruktogramm(surface, anchor, *Root, *Display, clip);
}

void TForm1::FormPaint(const QRect& exposed) {
  QPainter painter(viewport());
  painter.fillRect(exposed, kBackground);
  if (zoom_ != 100)
    return PaintZoomed(painter, exposed, false);
  QtSurface surface(painter, DiagramFont());
  // Only what intersects the exposed rectangle is drawn.
  const TRect clip{exposed.left(), exposed.top(), exposed.right() + 1, exposed.bottom() + 1};
  // The selection's rectangle matters only to scrolling after a collapse, which draws anew.
  Paint(surface, TPoint{horizontalScrollBar()->value(), verticalScrollBar()->value()}, &clip,
        false);
}

void TForm1::paintEvent(QPaintEvent* event) {
  if (closing_ || !Display)
    return;
  EnsureRanges();
  TForm2* main = TForm2::MainForm();
  if (!main)
    return FormPaint(event->rect());
  Guarded(main->Services(), [&] { FormPaint(event->rect()); });
}

void TForm1::RepaintNow() {
  // The visible part is drawn; the selection's rectangle is recorded wherever it lies, as a
  // drawing of the whole figure would record it.
  const QSize visible = viewport()->size();
  QImage image = ScratchImage(visible);
  {
    QPainter painter(&image);
    if (zoom_ != 100) {
      PaintZoomed(painter, QRect(QPoint(0, 0), visible), true);
    } else {
      QtSurface surface(painter, DiagramFont());
      const TRect clip{0, 0, visible.width(), visible.height()};
      Paint(surface, TPoint{horizontalScrollBar()->value(), verticalScrollBar()->value()}, &clip,
            true);
    }
  }
  viewport()->update();
}

void TForm1::PaintZoomed(QPainter& painter, const QRect& exposed, bool locateSelection) {
  // The figures keep computing in their own units; the painter scales them, so lines and text
  // are drawn at the zoomed size (and at the screen's own density), not enlarged afterwards.
  const double z = zoom_ / 100.0;
  const int hs = horizontalScrollBar()->value();
  const int vs = verticalScrollBar()->value();
  painter.translate(-hs, -vs);
  painter.scale(z, z);
  QtSurface surface(painter, DiagramFont());
  const TRect clip{static_cast<int32_t>(std::floor((exposed.left() + hs) / z)) - 1,
                   static_cast<int32_t>(std::floor((exposed.top() + vs) / z)) - 1,
                   static_cast<int32_t>(std::ceil((exposed.right() + 1 + hs) / z)) + 1,
                   static_cast<int32_t>(std::ceil((exposed.bottom() + 1 + vs) / z)) + 1};
  Paint(surface, TPoint{0, 0}, &clip, locateSelection);
}

void TForm1::Paint(TSurface& surface, TPoint scroll, const TRect* clip, bool locateSelection) {
  // A run's marks and the breakpoints are the document's, shown in every window.
  const TForm2* main = TForm2::MainForm();
  Display->Marks = main ? main->RunMarks() : nullptr;
  Display->Checks = main ? main->CheckMarks() : nullptr;
  if (TWindowLayout* layout = Layout())
    layout->Paint(surface, scroll, clip, locateSelection);
  else
    PaintStruktogramm(surface, *Root, *Display, scroll, clip);
}

QPoint TForm1::ContentPoint(QPoint window) const {
  const double z = zoom_ / 100.0;
  return QPoint(static_cast<int>(std::floor((window.x() + horizontalScrollBar()->value()) / z)),
                static_cast<int>(std::floor((window.y() + verticalScrollBar()->value()) / z)));
}

void TForm1::SetZoom(int percent, QPoint around) {
  percent = std::clamp(percent, kZoomSteps.front(), kZoomSteps.back());
  if (percent == zoom_)
    return;
  // The point of the figure under `around` stays where it is.
  const double old = zoom_ / 100.0;
  const double x = (around.x() + horizontalScrollBar()->value()) / old;
  const double y = (around.y() + verticalScrollBar()->value()) / old;
  zoom_ = percent;
  const double z = zoom_ / 100.0;
  UpdateScrollBarMaxima();
  horizontalScrollBar()->setValue(static_cast<int>(std::lround(x * z - around.x())));
  verticalScrollBar()->setValue(static_cast<int>(std::lround(y * z - around.y())));
  ShowCaption();
  viewport()->update();
}

void TForm1::ZoomIn(QPoint around) {
  for (int step : kZoomSteps)
    if (step > zoom_)
      return SetZoom(step, around);
}

void TForm1::ZoomOut(QPoint around) {
  for (auto it = kZoomSteps.rbegin(); it != kZoomSteps.rend(); ++it)
    if (*it < zoom_)
      return SetZoom(*it, around);
}

QPoint TForm1::ViewCentre() const {
  return viewport()->rect().center();
}

void TForm1::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier))
    return QAbstractScrollArea::wheelEvent(event);
  const QPoint at = event->position().toPoint();
  if (event->angleDelta().y() > 0)
    ZoomIn(at);
  else if (event->angleDelta().y() < 0)
    ZoomOut(at);
  event->accept();
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
    if (TForm2* main = TForm2::MainForm())
      main->ReleaseUnshownDetached();
    return false;
  }
  return QAbstractScrollArea::eventFilter(watched, event);
}

TRect TForm1::SelectedWindowRect() const {
  const TRect r = Display->SelectedRect;
  if (zoom_ == 100)
    return r; // drawn in window coordinates
  // Drawn in the figure's units: scaled and shifted by the scroll positions.
  const double z = zoom_ / 100.0;
  const int hs = horizontalScrollBar()->value();
  const int vs = verticalScrollBar()->value();
  return {static_cast<int32_t>(std::lround(r.left * z)) - hs,
          static_cast<int32_t>(std::lround(r.top * z)) - vs,
          static_cast<int32_t>(std::lround(r.right * z)) - hs,
          static_cast<int32_t>(std::lround(r.bottom * z)) - vs};
}

void TForm1::ChangeDisplay(QObject*) {
  if (auto* block = As<TBlock>(Display->CurrentSelection()))
    ChangeMinimize(block);
}

void TForm1::ChangeMinimize(TBlock* block) {
  Display->ToggleCollapsed(block);
  RepaintNow();
  AdjustScrollBars();
  const TRect r = SelectedWindowRect();
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
  Einfgen1 = PopupMenu1->addMenu(QString());
  Einfgen1->setObjectName(QStringLiteral("Einfgen1"));
  for (const TPopupEntry& entry : kPopupItems) {
    auto* action = new QAction(PopupMenu1);
    action->setObjectName(QLatin1String(entry.name));
    if (QLatin1String(entry.caption) == QLatin1String("-")) {
      action->setSeparator(true);
    } else {
      const TPopupHandler handler = entry.handler;
      connect(action, &QAction::triggered, this,
              [this, action, handler] { Run([&] { (this->*handler)(action); }); });
    }
    action->setVisible(entry.visible);
    (entry.inSubmenu ? Einfgen1 : PopupMenu1)->addAction(action);
    this->*entry.field = action;
  }
  RetranslatePopupMenu();
}

void TForm1::Run(const std::function<void()>& handler) {
  TForm2* main = TForm2::MainForm();
  if (!main)
    return handler();
  Guarded(main->Services(), handler);
}

QImage TForm1::ScratchImage(QSize size) const {
  // A scratch picture with the screen's resolution: measuring and the immediate repaint need a
  // surface even while the window is hidden or minimised.
  QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  constexpr double kInchesPerMetre = 39.37007874;
  image.setDotsPerMeterX(qRound(logicalDpiX() * kInchesPerMetre));
  image.setDotsPerMeterY(qRound(logicalDpiY() * kInchesPerMetre));
  image.fill(kBackground);
  return image;
}

void TForm1::RetranslatePopupMenu() {
  Einfgen1->setTitle(tr("Einfügen"));
  for (const TPopupEntry& entry : kPopupItems)
    if (QLatin1String(entry.caption) != QLatin1String("-"))
      (this->*entry.field)->setText(tr(entry.caption));
}

void TForm1::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::LanguageChange && PopupMenu1)
    RetranslatePopupMenu();
}

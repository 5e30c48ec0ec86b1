// SPDX-License-Identifier: MIT
// A diagram window: one block of the document drawn as a flowchart, scrolled, collapsed and
// printed. It borrows its root block; the main window owns the document. The view lives in
// tform1.cpp, mouse and keys in tform1_input.cpp, the editing commands in tform1_editing.cpp.
#pragma once

#include "model/element.h"
#include "render/display_options.h"
#include "render/surface.h"

#include <QAbstractScrollArea>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QImage;
class QPainter;
class QWheelEvent;
class QMdiSubWindow;
class QMenu;
class TForm2;
class TWindowLayout;
struct TRunMarks;

// Which buttons a mouse event carries, and whether it is the second press of a double click.
struct TShiftState {
  bool Left = false;
  bool Right = false;
  bool Double = false;
};

class TForm1 : public QAbstractScrollArea {
  Q_OBJECT
public:
  // What closing a window does: destroy it, or only minimise it.
  enum class TCloseAction { Free, Minimize };

  // Creates and shows a window for block in the main window's frame; Secondary is true.
  // The window lives in its frame sub-window, which the frame owns.
  static TForm1* CreateForBlock(TForm2* owner, TBlock* block);
  ~TForm1() override;

  // The popup menu on the right mouse button; its items carry the names its handlers map by.
  QMenu* PopupMenu1 = nullptr;
  QMenu* Einfgen1 = nullptr;
  QAction* Anweisung = nullptr;
  QAction* N1 = nullptr;
  QAction* IfAnweisung = nullptr;
  QAction* N2 = nullptr;
  QAction* WhileSchleife = nullptr;
  QAction* DoWhileSchleife = nullptr;
  QAction* RepeatUntilSchleife = nullptr;
  QAction* ForSchleife = nullptr;
  QAction* Textbearbeiten1 = nullptr;
  QAction* Genauerbestimmen1 = nullptr;
  QAction* Lschen1 = nullptr;
  QAction* N3 = nullptr;
  QAction* Anzeigeverkleinernvergrern1 = nullptr;
  QAction* InneuemFensteranzeigen1 = nullptr;
  QAction* N4 = nullptr;
  QAction* Ausschneiden1 = nullptr;
  QAction* Kopieren1 = nullptr;
  QAction* AusZwischenablageeinfgen1 = nullptr;

  TBlock* Root = nullptr;
  std::unique_ptr<TDisplayOptions> Display;
  bool Dragging = false;
  bool Secondary = true;

  // Shows another block with a fresh display state; the caption stays.
  void SetRoot(TBlock* block);
  TText GetRootTitle() const;
  // Both scroll ranges from the root figure's size plus 50.
  void AdjustScrollBars();
  // Start mark and root figure at anchor on surface; clip limits the work (nullptr: all).
  void DisplayStruktogramm(TSurface& surface, TPoint anchor, const TRect* clip = nullptr);
  // The window's caption and flowchart on a printer page, in the print layout.
  void PrintStruktogramm(TSurface& surface);
  // Secondary windows are destroyed, the first is only minimised.
  void FormClose(TCloseAction& action);
  // Collapses or expands the selected block.
  void ChangeDisplay(QObject* sender = nullptr);
  // Toggles block's collapsed state here and scrolls to the selection.
  void ChangeMinimize(TBlock* block);
  // Selects the element under (X, Y), starts a drag, and edits the text on a double click.
  void FormMouseDown(QObject* sender, Qt::MouseButton button, TShiftState shift, int X, int Y);
  // While dragging: shows the element under (X, Y) as the drop target unless the drop is refused.
  void FormMouseMove(QObject* sender, TShiftState shift, int X, int Y);
  // Ends a drag, moving the selection to the element under (X, Y) when that is allowed.
  void FormMouseUp(QObject* sender, Qt::MouseButton button, TShiftState shift, int X, int Y);
  // Keys 13, 45, 46 and the arrows 37 to 40; key is left unchanged.
  void FormKeyDown(QObject* sender, int& key, TShiftState shift);
  // Relinks the selection after target, or at the head of target's body (DropAfter false).
  void MoveElement(TElement* target);

  // Inserts the element kind the sender (menu item or button) stands for after the selection.
  void Einfuegen(QObject* sender);
  // Edits the selection's text; true when the user cancelled.
  bool Textbearbeiten();
  void Textbearbeiten1Click(QObject* sender);
  // Deletes the selection; nothing is selected afterwards.
  void Loeschen(QObject* sender);
  // Opens the selected block in a new window.
  void InneuemFensteranzeigen(QObject* sender = nullptr);
  // Refines the selected statement into a named block shown in a new window.
  void Genauerbestimmen1Click(QObject* sender);
  // Copy puts the selected element (with what it holds, without its successors) on the
  // clipboard, as a structogram record and as Pascal source; cut copies and deletes it.
  void Kopieren1Click(QObject* sender);
  void Ausschneiden1Click(QObject* sender);
  // Pastes a copy of the clipboard's element after the selection (at the head of a selected
  // block's body), as one undo step; a clipboard without a structogram pastes nothing.
  void AusZwischenablageeinfgen1Click(QObject* sender);

  // The window's caption (the block's title); shown with the zoom when that is not 100 %.
  void SetCaption(const QString& caption);
  QString Caption() const;

  // The window's notation: a flowchart (as at first) or a Nassi-Shneiderman diagram; kept when
  // the window shows another block.
  void SetNotation(TNotation notation);
  TNotation Notation() const { return Display ? Display->Notation : TNotation::Flow; }

  // Zoom in percent, 25 to 400; the figures are computed in their own units and drawn scaled.
  static constexpr std::array<int, 9> kZoomSteps = {25, 50, 75, 100, 125, 150, 200, 300, 400};
  int ZoomPercent() const { return zoom_; }
  // Sets the zoom keeping the figure's point under `around` (window coordinates) in place.
  void SetZoom(int percent, QPoint around);
  void ZoomIn(QPoint around);
  void ZoomOut(QPoint around);
  QPoint ViewCentre() const;
  // The point of the figure (content coordinates, the figures' units) under a window point.
  QPoint ContentPoint(QPoint window) const;
  // The frame sub-window that holds this window.
  QMdiSubWindow* SubWindow() const;
  // Horizontal and vertical scroll ranges (the figure's size plus 50).
  int HorizontalRange() const;
  int VerticalRange() const;
  // The ranges are set anew before the next paint, hit test or reading of them; a command that
  // refreshes the window several times measures once.
  void ScheduleAdjust();
  // Shows where a run stands: finds target in this window (as itself, or as a collapsed block of
  // marks' Around holding it; without marks the window finds the blocks itself), selects it
  // where it is shown as itself, and scrolls it into view. False where the window does not
  // show it; exact tells whether it is shown as itself.
  bool ShowRunElement(const TElement* target, const TRunMarks* marks, bool select, bool scroll,
                      bool* exact = nullptr);
  // True once the window has been closed for good; the frame deletes it soon.
  bool IsClosing() const { return closing_; }

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Ctrl + wheel zooms around the pointer; the wheel alone scrolls.
  void wheelEvent(QWheelEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // A new language: the popup menu's items anew.
  void changeEvent(QEvent* event) override;
  // Tooltips: what the checks found at the figure under the pointer, while marks are shown.
  bool viewportEvent(QEvent* event) override;

private:
  explicit TForm1(TBlock* block);
  void FormCreate();
  void FormPaint(const QRect& exposed);
  // The paint at a zoom other than 100 %, for the exposed window rectangle.
  void PaintZoomed(QPainter& painter, const QRect& exposed, bool locateSelection);
  // The selection's rectangle as last drawn, in window coordinates.
  TRect SelectedWindowRect() const;
  void ShowCaption();
  TSize MeasureRoot();
  // The kept measurements of this window's figure, or nullptr while a command changes the tree.
  TWindowLayout* Layout();
  // locateSelection: record the selection's rectangle also where it is not drawn.
  void Paint(TSurface& surface, TPoint scroll, const TRect* clip, bool locateSelection);
  void EnsureRanges();
  // Repaints at once, so that the drawing records the selection's rectangle, then schedules the
  // on-screen repaint.
  void RepaintNow();
  void UpdateScrollBarMaxima();
  void createPopupMenu();
  void RetranslatePopupMenu();
  // The element under a point in window coordinates; writes Display's DropAfter.
  TElement* HitAt(int X, int Y);
  // Whether the window point lies in the visible part of this window's drawing.
  bool OverOwnDrawing(int X, int Y) const;
  void Select(TElement* e);
  // Whether dropping moving onto p (DropAfter as the last hit test left it) is refused.
  bool RefusedTarget(TElement* moving, TElement* p) const;
  // Whether x (nesting `depth` deep) may be linked at target: after it when after is true, else
  // as Insert on target links it. Nesting beyond what files can hold is refused.
  bool FitsAt(const TElement& target, bool after, int32_t depth) const;
  void ReportTooDeep();
  // Runs a handler; failures it does not handle are reported and the event loop goes on.
  void Run(const std::function<void()>& handler);
  // Scrolls so that r (content coordinates) is in view, centred where it was not.
  void EnsureVisible(const TRect& r);
  // A picture to measure and draw on while the window cannot paint (hidden, minimised).
  QImage ScratchImage(QSize size) const;

  int hRange_ = 50;
  int vRange_ = 50;
  bool closing_ = false;
  int zoom_ = 100;
  std::unique_ptr<TWindowLayout> layout_;
  uint64_t layoutGeneration_ = 0;
  std::vector<const TBlock*> layoutCollapsed_;
  int32_t layoutSpacing_ = 0;
  bool rangesStale_ = false;
  QString caption_ = QStringLiteral("Komplettes Programm");
};

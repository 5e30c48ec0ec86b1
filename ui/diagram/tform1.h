// SPDX-License-Identifier: MIT
// A diagram window: one block of the document drawn as a flowchart, scrolled, collapsed and
// printed. It borrows its root block; the main window owns the document.
#pragma once

#include "model/element.h"
#include "render/display_options.h"
#include "render/surface.h"

#include <QAbstractScrollArea>
#include <QString>

#include <memory>

class QMdiSubWindow;
class TForm2;

class TForm1 : public QAbstractScrollArea {
  Q_OBJECT
public:
  // What closing a window does: destroy it, or only minimise it.
  enum class TCloseAction { Free, Minimize };

  // Creates and shows a window for block in the main window's frame; Secondary is true.
  // The window lives in its frame sub-window, which the frame owns.
  static TForm1* CreateForBlock(TForm2* owner, TBlock* block);
  ~TForm1() override;

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
  void ChangeDisplay();
  // Toggles block's collapsed state here and scrolls to the selection.
  void ChangeMinimize(TBlock* block);
  // Inserts the element kind the sender (menu item or button) stands for after the selection.
  void Einfuegen(QObject* sender);
  // Opens the selected block in a new window.
  void InneuemFensteranzeigen();

  void SetCaption(const QString& caption);
  QString Caption() const;
  // The frame sub-window that holds this window.
  QMdiSubWindow* SubWindow() const;
  // Horizontal and vertical scroll ranges (the figure's size plus 50).
  int HorizontalRange() const { return hRange_; }
  int VerticalRange() const { return vRange_; }
  // True once the window has been closed for good; the frame deletes it soon.
  bool IsClosing() const { return closing_; }

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  explicit TForm1(TBlock* block);
  void FormCreate();
  void FormPaint(const QRect& exposed);
  TSize MeasureRoot();
  // Repaints at once, so that the drawing records the selection's rectangle, then schedules the
  // on-screen repaint.
  void RepaintNow();
  void UpdateScrollBarMaxima();
  void SelectAt(const QPoint& windowPoint);

  int hRange_ = 50;
  int vRange_ = 50;
  bool closing_ = false;
};

// SPDX-License-Identifier: MIT
#include "ui/main/outer_geometry.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// The frame's extent around the client area as the window system reports it now; none while it
// is unknown. Qt may report nonsense for a window being shown again (negative extents the size
// of the window), which counts as unknown too.
QMargins FrameMargins(const QWidget& window) {
  const QWindow* handle = window.windowHandle();
  if (!handle)
    return {};
  const QMargins frame = handle->frameMargins();
  const bool sane = frame.left() >= 0 && frame.top() >= 0 && frame.right() >= 0 &&
                    frame.bottom() >= 0 && frame.left() + frame.right() < window.width() &&
                    frame.top() + frame.bottom() < window.height();
  return sane ? frame : QMargins();
}

} // namespace

void SetOuterGeometry(QWidget& window, const QRect& outer) {
  const QMargins frame = FrameMargins(window);
  window.resize(outer.width() - frame.left() - frame.right(),
                outer.height() - frame.top() - frame.bottom());
  window.move(outer.topLeft());
}

void KeepOuterGeometry(QWidget& window, const QRect& outer) {
  SetOuterGeometry(window, outer);
  // Polled: the window system sends no event of its own when it learns the frame's extent.
  auto* timer = new QTimer(&window);
  timer->setInterval(20);
  const QPointer<QWidget> watched(&window);
  int rounds = 0;
  QObject::connect(timer, &QTimer::timeout, timer, [timer, watched, outer, rounds]() mutable {
    const bool known = watched && !FrameMargins(*watched).isNull();
    const bool placed = known && watched->frameGeometry() == outer;
    if (known && !placed)
      SetOuterGeometry(*watched, outer);
    if (placed || !watched || !watched->isVisible() || ++rounds >= 250)
      timer->deleteLater();
  });
  timer->start();
}

// SPDX-License-Identifier: MIT
#include "ui/main/outer_geometry.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// The frame's extent around the client area as the window system reports it now.
QMargins FrameMargins(const QWidget& window) {
  if (const QWindow* handle = window.windowHandle())
    return handle->frameMargins();
  return {};
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
  if (!FrameMargins(window).isNull())
    return;
  // Polled: the window system sends no event of its own when it learns the frame's extent.
  auto* timer = new QTimer(&window);
  timer->setInterval(20);
  const QPointer<QWidget> watched(&window);
  int rounds = 0;
  QObject::connect(timer, &QTimer::timeout, timer, [timer, watched, outer, rounds]() mutable {
    const bool known = watched && !FrameMargins(*watched).isNull();
    if (known)
      SetOuterGeometry(*watched, outer);
    if (known || !watched || !watched->isVisible() || ++rounds >= 100)
      timer->deleteLater();
  });
  timer->start();
}

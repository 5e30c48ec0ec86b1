// SPDX-License-Identifier: MIT
#include "ui/main/outer_geometry.h"

#include <QWidget>

void SetOuterGeometry(QWidget& window, const QRect& outer) {
  const QRect frame = window.frameGeometry();
  const QRect client = window.geometry();
  const int extraWidth = frame.width() - client.width();
  const int extraHeight = frame.height() - client.height();
  window.resize(outer.width() - extraWidth, outer.height() - extraHeight);
  window.move(outer.topLeft());
}

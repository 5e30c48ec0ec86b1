// SPDX-License-Identifier: MIT
#include "ui/main/toolbar_pictures.h"

#include <QPainter>
#include <QPolygon>

namespace {

// A few colours of the classic 16-colour palette, as the pictures were first drawn.
const QColor kLine(0, 0, 0);
const QColor kFill(255, 255, 255);
const QColor kMark(0, 0, 128);
const QColor kYes(0, 128, 0);

void Diamond(QPainter& p, int cx, int top, int halfWidth, int height) {
  const QPolygon diamond({QPoint(cx, top), QPoint(cx + halfWidth, top + height / 2),
                          QPoint(cx, top + height), QPoint(cx - halfWidth, top + height / 2)});
  p.drawPolygon(diamond);
}

void Box(QPainter& p, int left, int top, int width, int height) {
  p.drawRect(left, top, width, height);
}

// Downward stem with an arrow head ending at (x, y).
void ArrowDown(QPainter& p, int x, int y0, int y) {
  p.drawLine(x, y0, x, y);
  p.drawLine(x - 2, y - 2, x, y);
  p.drawLine(x + 2, y - 2, x, y);
}

void DrawStatement(QPainter& p) {
  ArrowDown(p, 25, 0, 5);
  Box(p, 9, 6, 32, 12);
  p.drawLine(25, 19, 25, 24);
  p.setPen(kMark);
  p.drawLine(14, 12, 36, 12);
}

void DrawDecision(QPainter& p) {
  Diamond(p, 25, 0, 10, 10);
  // Two columns below, joined again at the bottom.
  p.drawLine(15, 5, 8, 5);
  p.drawLine(35, 5, 42, 5);
  ArrowDown(p, 8, 5, 11);
  ArrowDown(p, 42, 5, 11);
  Box(p, 3, 12, 10, 6);
  Box(p, 37, 12, 10, 6);
  p.drawLine(8, 19, 8, 22);
  p.drawLine(42, 19, 42, 22);
  p.drawLine(8, 22, 42, 22);
  p.drawLine(25, 22, 25, 24);
  p.setPen(kYes);
  p.drawPoint(10, 3);
}

void DrawLoopBefore(QPainter& p, bool counting) {
  Diamond(p, 25, 1, 10, 10);
  // Body to the right of the test, the way back to the test on the left.
  p.drawLine(25, 11, 25, 13);
  Box(p, 18, 14, 14, 6);
  p.drawLine(25, 21, 25, 23);
  p.drawLine(25, 23, 7, 23);
  p.drawLine(7, 23, 7, 6);
  p.drawLine(7, 6, 13, 6);
  p.drawLine(12, 5, 14, 6);
  p.drawLine(12, 7, 14, 6);
  p.drawLine(35, 6, 44, 6);
  p.drawLine(44, 6, 44, 24);
  if (counting) {
    // "i" marks for the counting variable.
    p.setPen(kMark);
    for (int x : {21, 25, 29}) {
      p.drawPoint(x, 15);
      p.drawLine(x, 17, x, 19);
    }
  }
}

void DrawLoopAfter(QPainter& p, bool repeatOnYes) {
  ArrowDown(p, 25, 0, 3);
  Box(p, 18, 4, 14, 6);
  p.drawLine(25, 11, 25, 12);
  Diamond(p, 25, 13, 10, 10);
  // The way back up from the test to the body.
  p.drawLine(15, 18, 7, 18);
  p.drawLine(7, 18, 7, 2);
  p.drawLine(7, 2, 25, 2);
  p.drawLine(35, 18, 44, 18);
  p.drawLine(44, 18, 44, 24);
  p.setPen(repeatOnYes ? kYes : kMark);
  p.drawLine(10, 16, 12, 16);
}

}  // namespace

QPixmap ToolPicture(TKind kind) {
  QPixmap picture(kToolPictureWidth, kToolPictureHeight);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setPen(QPen(kLine, 1));
  p.setBrush(kFill);
  switch (kind) {
  case TKind::Anweisung:
  case TKind::Block:
    DrawStatement(p);
    break;
  case TKind::If:
    DrawDecision(p);
    break;
  case TKind::While:
    DrawLoopBefore(p, false);
    break;
  case TKind::For:
    DrawLoopBefore(p, true);
    break;
  case TKind::DoWhile:
    DrawLoopAfter(p, true);
    break;
  case TKind::Repeat:
    DrawLoopAfter(p, false);
    break;
  }
  return picture;
}

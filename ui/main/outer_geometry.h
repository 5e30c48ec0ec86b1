// SPDX-License-Identifier: MIT
// Placing a top-level window by its outer frame, title bar and border included.
#pragma once

#include <QRect>

class QWidget;

// Moves the frame's top-left corner to outer's and sizes the client area so that the frame
// measures outer's size, as far as the window system has told the frame's extent yet.
void SetOuterGeometry(QWidget& window, const QRect& outer);

// SPDX-License-Identifier: MIT
// Placing a top-level window by its outer frame, title bar and border included.
#pragma once

#include <QRect>

class QWidget;

// Moves the frame's top-left corner to outer's and sizes the client area so that the frame
// measures outer's size, as far as the window system has told the frame's extent yet.
void SetOuterGeometry(QWidget& window, const QRect& outer);

// SetOuterGeometry now, and again until the frame stands where outer says: the window manager
// tells the frame's extent only some time after the window is shown. Call it from the window's
// show event; it stops watching once the frame is in place or after five seconds, so a window the
// user moves or resizes later is left alone.
void KeepOuterGeometry(QWidget& window, const QRect& outer);

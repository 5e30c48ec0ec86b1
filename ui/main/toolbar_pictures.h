// SPDX-License-Identifier: MIT
// The toolbar's pictures: a small figure of each element kind the buttons insert.
#pragma once

#include "model/element.h"

#include <QPixmap>

constexpr int kToolPictureWidth = 50;
constexpr int kToolPictureHeight = 25;

// A 50 x 25 picture of the figure of kind (statement, decision, or one of the loops).
QPixmap ToolPicture(TKind kind);

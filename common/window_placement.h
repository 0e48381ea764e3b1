// SPDX-License-Identifier: MIT
// Where a program's own window opens: centred on the screen the pointer is on (where the
// menu that started it was clicked), and no larger than that screen's free area, at any
// scale.
#pragma once

#include <QWidget>

namespace desk {

// Shrinks `window` to fit the free area of its screen, frame included.
void FitToScreen(QWidget* window, const QScreen* screen);
// Fits `window` to the pointer's screen, centres it there and shows it.
void ShowCentred(QWidget* window);
// Makes a shown `window` up to `extraHeight` taller, as far as the free area of its screen
// allows, moving it up where its lower edge would leave that area.
void GrowWithinScreen(QWidget* window, int extraHeight);

}  // namespace desk

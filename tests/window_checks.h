// SPDX-License-Identifier: MIT
// Checks that both programs' windows must pass alike.
#pragma once

class QWidget;
class QImage;

namespace testsupport {

// Makes `window` active, waiting for the window system to say so; false if it never does.
bool Activate(QWidget* window);

// From its start position, the window's first activation gives it its final outer size
// (12000 by 8595 twips) and lifts it by `liftTwips`; focus leaving and coming back moves
// it no further.
void ExpectFinalPlacementOnce(QWidget* window, int liftTwips);

// How many 2x2 pixel blocks of `image` are not of one colour. A picture drawn for a
// high-resolution screen has detail inside such blocks; one drawn at normal resolution and
// enlarged has none.
int BlocksWithDetail(const QImage& image);

// At twice the scale (QT_SCALE_FACTOR=2), each picture button of `window` must be drawn
// at the screen's resolution from its vector source.
void ExpectCrispPictureButtons(QWidget* window);

}  // namespace testsupport

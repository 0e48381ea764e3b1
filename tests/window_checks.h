// SPDX-License-Identifier: MIT
// Checks that both programs' windows must pass alike.
#pragma once

#include <QSize>

class QImage;
class QString;
class QWidget;

namespace testsupport {

// Makes `window` active, waiting for the window system to say so; false if it never does.
bool Activate(QWidget* window);

// From its start position, the window's first activation gives it its final outer size
// (12000 by 8595 twips) and lifts it by `liftTwips`; focus leaving and coming back moves
// it no further.
void ExpectFinalPlacementOnce(QWidget* window, int liftTwips);

// The mean difference, per colour channel, between `drawn` and the top-left corner of the
// vector picture `source` drawn afresh on white at `sourceSize` (by default the size of
// `drawn`).
int DifferenceFromSource(const QImage& drawn, const QString& source, QSize sourceSize = {});

// At twice the scale (QT_SCALE_FACTOR=2), each picture button of `window` must be drawn
// at the screen's resolution from its vector source.
void ExpectCrispPictureButtons(QWidget* window);

}  // namespace testsupport

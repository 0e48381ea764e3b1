// SPDX-License-Identifier: MIT
// What the window tests share: checks that every program's windows must pass alike, and
// the text a learner sees of a stored one.
#pragma once

#include <QSize>
#include <string>

class QImage;
class QString;
class QWidget;

namespace testsupport {

// A stored text (UTF-8 here) as the learner sees it.
QString Display(const std::string& stored);

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

// SPDX-License-Identifier: MIT
// Checks that both programs' windows must pass alike.
#pragma once

class QWidget;

namespace testsupport {

// Makes `window` active, waiting for the window system to say so; false if it never does.
bool Activate(QWidget* window);

// From its start position, the window's first activation gives it its final outer size
// (12000 by 8595 twips) and lifts it by `liftTwips`; focus leaving and coming back moves
// it no further.
void ExpectFinalPlacementOnce(QWidget* window, int liftTwips);

}  // namespace testsupport

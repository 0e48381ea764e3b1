// SPDX-License-Identifier: MIT
#include "window_checks.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

#include "twips.h"

namespace testsupport {

bool Activate(QWidget* window) {
  window->activateWindow();
  return QTest::qWaitForWindowActive(window);
}

void ExpectFinalPlacementOnce(QWidget* window, int liftTwips) {
  const QPoint shown = window->pos();
  ASSERT_TRUE(Activate(window));
  EXPECT_EQ(window->frameGeometry().size(), desk::TwipsSize(12000, 8595));
  EXPECT_EQ(window->pos().y(), shown.y() - desk::TwipsToPixels(liftTwips));

  QWidget other;
  other.show();
  ASSERT_TRUE(Activate(&other));
  ASSERT_TRUE(Activate(window));
  EXPECT_EQ(window->pos().y(), shown.y() - desk::TwipsToPixels(liftTwips));
}

}  // namespace testsupport

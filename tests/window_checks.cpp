// SPDX-License-Identifier: MIT
#include "window_checks.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QPushButton>
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

int BlocksWithDetail(const QImage& image) {
  int blocks = 0;
  for (int y = 0; y + 1 < image.height(); y += 2) {
    for (int x = 0; x + 1 < image.width(); x += 2) {
      const QRgb corner = image.pixel(x, y);
      blocks += image.pixel(x + 1, y) != corner || image.pixel(x, y + 1) != corner ||
                image.pixel(x + 1, y + 1) != corner;
    }
  }
  return blocks;
}

void ExpectCrispPictureButtons(QWidget* window) {
  ASSERT_DOUBLE_EQ(window->devicePixelRatioF(), 2.0) << "run with QT_SCALE_FACTOR=2";
  const auto buttons = window->findChildren<QPushButton*>();
  int pictures = 0;
  for (QPushButton* button : buttons) {
    if (button->accessibleName().isEmpty()) continue;  // only picture buttons carry one
    ++pictures;
    const QImage face = button->grab().toImage();
    EXPECT_EQ(face.size(), button->size() * 2) << button->objectName().toStdString();
    // Compare with the same button drawn at normal resolution and enlarged.
    const QImage enlarged = face.scaled(face.size() / 2).scaled(face.size());
    EXPECT_GT(BlocksWithDetail(face), 4 * BlocksWithDetail(enlarged) + 100)
        << button->objectName().toStdString();
  }
  EXPECT_GT(pictures, 0);
}

}  // namespace testsupport

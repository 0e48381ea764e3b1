// SPDX-License-Identifier: MIT
#include "window_checks.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <QTest>
#include <QWidget>
#include <cstdlib>

#include "module1.h"
#include "picture_widgets.h"
#include "twips.h"

namespace testsupport {

QString Display(const std::string& stored) {
  return QString::fromStdU16String(
      course::UnscrambleText(QString::fromStdString(stored).toStdU16String()));
}

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

int DifferenceFromSource(const QImage& drawn, const QString& source, QSize sourceSize) {
  QImage whole(sourceSize.isValid() ? sourceSize : drawn.size(),
               QImage::Format_ARGB32_Premultiplied);
  whole.fill(Qt::white);
  QPainter painter(&whole);
  QSvgRenderer(source).render(&painter);
  painter.end();
  const QImage reference = whole.copy(drawn.rect());
  const QImage shown = drawn.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  long long total = 0;
  for (int y = 0; y < shown.height(); ++y) {
    for (int x = 0; x < shown.width(); ++x) {
      const QRgb a = shown.pixel(x, y);
      const QRgb b = reference.pixel(x, y);
      total += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
               std::abs(qBlue(a) - qBlue(b));
    }
  }
  return static_cast<int>(total / (3LL * shown.width() * shown.height()));
}

void ExpectCrispPictureButtons(QWidget* window) {
  ASSERT_DOUBLE_EQ(window->devicePixelRatioF(), 2.0) << "run with QT_SCALE_FACTOR=2";
  const auto buttons = window->findChildren<desk::PictureButton*>();
  ASSERT_FALSE(buttons.isEmpty());
  for (desk::PictureButton* button : buttons) {
    const QImage face = button->grab().toImage();
    ASSERT_EQ(face.size(), button->size() * 2) << button->objectName().toStdString();
    // The 64 by 64 picture sits centred on the 65 by 65 face: one device pixel in.
    const QImage picture = face.copy(1, 1, 128, 128);
    EXPECT_LE(DifferenceFromSource(picture, button->picture()), 1)
        << button->objectName().toStdString() << " is not drawn from its source at 2x";
  }
}

}  // namespace testsupport

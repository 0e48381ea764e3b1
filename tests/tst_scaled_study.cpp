// SPDX-License-Identifier: MIT
// The study windows at twice the scale (the test runs with QT_SCALE_FACTOR=2): drawn at
// the screen's resolution, and no text cut off.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "course_file.h"
#include "dictation_window.h"
#include "learn_window.h"
#include "test_support.h"

namespace {

// Every label and button on show has the room its text asks for.
void ExpectNothingCutOff(QWidget* window) {
  ASSERT_DOUBLE_EQ(window->devicePixelRatioF(), 2.0) << "run with QT_SCALE_FACTOR=2";
  const QImage drawn = window->grab().toImage();
  EXPECT_EQ(drawn.size(), window->size() * 2);
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    if (!widget->isVisible()) continue;
    const bool wraps = qobject_cast<QLabel*>(widget) && qobject_cast<QLabel*>(widget)->wordWrap();
    if (!qobject_cast<QPushButton*>(widget) && !(qobject_cast<QLabel*>(widget) && !wraps)) continue;
    EXPECT_GE(widget->width(), widget->minimumSizeHint().width())
        << widget->metaObject()->className() << " " << widget->objectName().toStdString();
    EXPECT_GE(widget->height(), widget->minimumSizeHint().height())
        << widget->metaObject()->className() << " " << widget->objectName().toStdString();
  }
}

TEST(ScaledStudy, CardsAndRoundsFitAtTwiceTheScale) {
  testsupport::TempDir dir;
  course::RecordTable table;
  table[0] = testsupport::MakeRecord({"B", "L", "responsibility", "gloss"});
  table[1] = testsupport::MakeRecord({"B", "L", "keep in touch with", "gloss"});
  ASSERT_TRUE(course::WriteCourseFile(dir.file("900_1.dat"), table).ok());
  const suite::FilePlaces places(dir.path().string(), dir.file("user"), true);
  const auto clock = [] { return *study::ParseIso("2026-01-05T08:00:00Z"); };

  studydesk::LearnWindow learn(places, clock, nullptr);
  learn.show();
  learn.start();
  QTest::keyClick(&learn, Qt::Key_Space);
  ExpectNothingCutOff(&learn);

  studydesk::DictationWindow dictation(places, clock, nullptr, 1);
  dictation.show();
  dictation.start();
  ExpectNothingCutOff(&dictation);
}

}  // namespace

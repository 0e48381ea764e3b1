// SPDX-License-Identifier: MIT
// The study windows at twice the scale (the test runs with QT_SCALE_FACTOR=2 on a screen of
// 1024×768 beside a larger one): drawn at the screen's resolution, no text cut off, and
// every window whole on the small screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "course_file.h"
#include "dictation_window.h"
#include "learn_window.h"
#include "listening_window.h"
#include "review_window.h"
#include "test_support.h"
#include "typing_window.h"
#include "window_placement.h"

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

// Opened as the program opens it, from the small screen, the window lies whole on it.
template <typename Window, typename... More>
void ExpectWholeOnTheSmallScreen(const suite::FilePlaces& places, More... more) {
  const auto screens = QGuiApplication::screens();
  const auto found = std::find_if(screens.begin(), screens.end(), [](const QScreen* screen) {
    return screen->geometry().size() * 2 == QSize(1024, 768);
  });
  ASSERT_NE(found, screens.end()) << "run on tests/data/two_screens.json";
  QScreen* small = *found;
  QCursor::setPos(small->geometry().center());
  Window window(
      places, [] { return *study::ParseIso("2026-01-05T08:00:00Z"); }, nullptr, more...);
  desk::ShowCentred(&window);
  window.start();
  QApplication::processEvents();
  const QRect area = small->availableGeometry();
  EXPECT_TRUE(area.contains(window.frameGeometry()))
      << window.windowTitle().toStdString() << ": " << window.width() << "×" << window.height();
  // A window manager's frame must still fit beside it.
  EXPECT_LE(window.width() + 16, area.width()) << window.windowTitle().toStdString();
  ExpectNothingCutOff(&window);
}

TEST(ScaledStudy, EveryStudyWindowLiesWholeOnA1024By768Screen) {
  testsupport::TempDir dir;
  course::RecordTable table;
  for (std::size_t i = 0; i < 4; ++i) {
    table[i] = testsupport::MakeRecord({"B", "L", "word" + std::to_string(i), "gloss"});
  }
  ASSERT_TRUE(course::WriteCourseFile(dir.file("900_1.dat"), table).ok());
  const suite::FilePlaces places(dir.path().string(), dir.file("user"), true);
  ExpectWholeOnTheSmallScreen<studydesk::LearnWindow>(places);
  ExpectWholeOnTheSmallScreen<studydesk::ReviewWindow>(places);
  ExpectWholeOnTheSmallScreen<studydesk::DictationWindow>(places, 1u);
  ExpectWholeOnTheSmallScreen<studydesk::ListeningWindow>(places, 1u);
  ExpectWholeOnTheSmallScreen<studydesk::TypingWindow>(places);
}

}  // namespace

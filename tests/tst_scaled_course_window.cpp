// SPDX-License-Identifier: MIT
// 课程编辑 at twice the scale (the test runs with QT_SCALE_FACTOR=2): drawn at the screen's
// resolution, every text with room for its characters.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QMenuBar>
#include <QScreen>

#include "course_file.h"
#include "course_window.h"
#include "import_dialog.h"
#include "module1.h"
#include "test_support.h"
#include "window_placement.h"

namespace {

// Whether `text` fits whole in `rect` as an item view draws it: on one line or wrapped.
bool ShownWhole(const QRect& rect, const QString& text, const QFontMetrics& metrics) {
  constexpr int kMargins = 8;  // the item's own padding, a few pixels a side
  const QRect needed =
      metrics.boundingRect(QRect(0, 0, rect.width() - kMargins, 10000), Qt::TextWordWrap, text);
  return needed.width() <= rect.width() - kMargins && needed.height() <= rect.height();
}

TEST(ScaledCourseWindow, ShowsWholeLessonNamesAndEnglishOnTheSmallestScreen) {
  testsupport::TempDir dir;
  course::RecordTable table;
  const std::u16string lesson = u"第十二课 晨间集市里的讨价还价";
  const std::u16string english = u"Where there is a will, there is a way.";
  table[0].text(2) = *course::ScrambleText(lesson);
  table[0].text(3) = *course::ScrambleText(english);
  table[0].text(4) = *course::ScrambleText(u"有志者事竟成。");
  table[0].text(5) = *course::ScrambleText(u"phr.");
  ASSERT_TRUE(course::WriteCourseFile(dir.file("c1.dat"), table).ok());
  coursedesk::CourseWindow window(suite::FilePlaces(dir.path().string(), dir.file("user"), true));
  window.openBook(0);
  desk::ShowCentred(&window);
  ASSERT_EQ(window.screen()->size(), QSize(512, 384)) << "1024×768 at twice the scale";
  QApplication::processEvents();
  const auto* lessons = window.lessonList;
  EXPECT_TRUE(ShownWhole(lessons->visualItemRect(lessons->item(0)),
                         QString::fromStdU16String(lesson), lessons->fontMetrics()))
      << lessons->visualItemRect(lessons->item(0)).width();
  const auto* entries = window.entryTable;
  EXPECT_TRUE(ShownWhole(entries->visualRect(entries->model()->index(0, 0)),
                         QString::fromStdU16String(english), entries->fontMetrics()))
      << entries->visualRect(entries->model()->index(0, 0)).width();

  coursedesk::ImportDialog dialog(
      editor::ImportSource::FromText(u"单词 释义\n1. abandon [əˈbændən] vt.放弃；抛弃\n"),
      window.book(), QStringLiteral("剪贴板"), QStringLiteral("新课"), QString(),
      [](const QString&) { return QString(); }, &window);
  dialog.show();
  QApplication::processEvents();
  EXPECT_TRUE(window.screen()->availableGeometry().contains(dialog.frameGeometry()))
      << "the import dialog on the screen too: " << dialog.frameGeometry().height() << " "
      << dialog.minimumSizeHint().height() << " " << window.screen()->availableGeometry().height();
  EXPECT_TRUE(dialog.verdict->isVisible());
  EXPECT_GE(dialog.verdict->height(), dialog.fontMetrics().height());
}

TEST(ScaledCourseWindow, DrawsAtTheScreensResolutionWithRoomForEveryText) {
  testsupport::TempDir dir;
  course::RecordTable table;
  table[0].text(2) = *course::ScrambleText(u"第一课 晨间集市");
  table[0].text(3) = *course::ScrambleText(u"market");
  table[0].text(4) = *course::ScrambleText(u"市场");
  ASSERT_TRUE(course::WriteCourseFile(dir.file("c1.dat"), table).ok());
  coursedesk::CourseWindow window(suite::FilePlaces(dir.path().string(), dir.file("user"), true));
  window.openBook(0);
  desk::ShowCentred(&window);
  ASSERT_EQ(window.devicePixelRatio(), 2.0);
  EXPECT_TRUE(window.screen()->availableGeometry().contains(window.frameGeometry()))
      << "the whole window on the screen at twice the scale";
  const QPixmap drawn = window.grab();
  EXPECT_EQ(drawn.devicePixelRatio(), 2.0);
  EXPECT_EQ(drawn.width(), window.width() * 2) << "drawn at the screen's pixels, not scaled up";

  const int line = window.fontMetrics().height();
  EXPECT_GE(window.lessonList->visualItemRect(window.lessonList->item(0)).height(), line);
  EXPECT_GE(window.entryTable->rowHeight(0), line);
  EXPECT_GE(window.entryTable->horizontalHeader()->height(), line);
  EXPECT_GE(window.menuBar()->height(), line);
  for (int c = 0; c < window.entryTable->columnCount(); ++c) {
    EXPECT_GE(
        window.entryTable->columnWidth(c),
        window.fontMetrics().horizontalAdvance(window.entryTable->horizontalHeaderItem(c)->text()));
  }
  EXPECT_GE(window.statusLine->height(), line);
}

}  // namespace

// SPDX-License-Identifier: MIT
// 听写训练, 听力自测 and 休闲打字 driven through their real widgets. No sound device is
// expected here: the words stand in as text, which is what these tests read.
#include <gtest/gtest.h>

#include <QApplication>
#include <QChartView>
#include <QTest>

#include "course_file.h"
#include "dictation_window.h"
#include "listening_window.h"
#include "test_support.h"
#include "typing_window.h"
#include "window_checks.h"

namespace {

using testsupport::Display;
using testsupport::MakeRecord;
using testsupport::TempDir;

class RoundWindows : public ::testing::Test {
 protected:
  suite::FilePlaces places() const {
    return suite::FilePlaces(app_.path().string(), app_.file("user"), true);
  }
  // Entries whose English lines the learner sees as "abc0", "abc1", … (stored 10 lower).
  void handOff(int entries) {
    course::RecordTable table;
    for (int i = 0; i < entries; ++i) {
      table[static_cast<std::size_t>(i)] = MakeRecord(
          {"B", "L", "WXY" + std::string(1, char('&' + i)), "gloss" + std::to_string(i)});
    }
    ASSERT_TRUE(course::WriteCourseFile(app_.file("900_1.dat"), table).ok());
  }
  std::vector<study::RoundResult> results() const {
    study::OpenResult result;
    auto store = study::ProgressStore::Open(app_.file("study.db"), now_, result);
    study::StoreFailure failure;
    return store ? store->results(failure) : std::vector<study::RoundResult>{};
  }
  template <typename Window, typename... More>
  std::unique_ptr<Window> open(More... more) {
    auto window = std::make_unique<Window>(
        places(), [this] { return now_; }, more...);
    window->show();
    window->start();
    return window;
  }

  TempDir app_;
  study::Millis now_ = *study::ParseIso("2026-01-05T08:00:00Z");
};

TEST_F(RoundWindows, DictationMarksAMissAndBringsItBackAtTheEnd) {
  handOff(3);
  auto window = open<studydesk::DictationWindow>(1u);
  EXPECT_EQ(window->windowTitle(), "听写训练 — " + Display("L"));
  if (window->notice->isVisible()) {
    EXPECT_TRUE(window->notice->text().startsWith("无法播放读音："));
    EXPECT_EQ(window->prompt->text(), "请写出：" + Display("gloss0"));
  }
  QTest::keyClicks(window->input, "  ABC0 ");
  QTest::keyClick(window->input, Qt::Key_Return);
  QTest::keyClicks(window->input, "abd1");
  QTest::keyClick(window->input, Qt::Key_Return);
  EXPECT_TRUE(window->feedback->text().contains("你写的"))
      << window->feedback->text().toStdString();
  EXPECT_TRUE(window->input->isReadOnly());
  QTest::keyClick(window->input, Qt::Key_Return);  // goes on
  QTest::keyClicks(window->input, "abc2");
  QTest::keyClick(window->input, Qt::Key_Return);
  QTest::keyClicks(window->input, "abc1");  // the missed one, at the end
  QTest::keyClick(window->input, Qt::Key_Return);
  EXPECT_TRUE(window->summary->text().startsWith("听写结束：2 / 3"))
      << window->summary->text().toStdString();
  EXPECT_TRUE(window->summary->text().contains("abc1"));
  const auto kept = results();
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].activity, "dictation");
  EXPECT_EQ(kept[0].right, 2);
  EXPECT_EQ(kept[0].total, 3);
  EXPECT_FALSE(kept[0].wordsPerMinute);

  QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
  EXPECT_TRUE(window->shuffleButton->isChecked());
  QTest::keyClick(window.get(), Qt::Key_Return);  // 再练一遍
  EXPECT_EQ(window->pages->currentIndex(), 0);
  EXPECT_TRUE(window->input->text().isEmpty());
}

TEST_F(RoundWindows, ListeningAsksEachMeaningAndAOneEntryLessonIsANote) {
  handOff(1);
  EXPECT_TRUE(open<studydesk::ListeningWindow>(5u)->summary->text().contains("只有 1 个词条"));

  handOff(4);
  auto window = open<studydesk::ListeningWindow>(5u);
  for (int q = 0; q < 4; ++q) {
    // The right meaning is the gloss of the entry the prompt or the sound gives.
    int right = -1;
    for (int i = 0; i < 4; ++i) {
      const QString option = window->options[static_cast<std::size_t>(i)]->text();
      if (option.endsWith(Display("gloss" + std::to_string(q)))) right = i;
    }
    ASSERT_GE(right, 0);
    const int chosen = q == 1 ? (right + 1) % 4 : right;
    QTest::keyClick(window.get(), static_cast<Qt::Key>(Qt::Key_1 + chosen));
    EXPECT_TRUE(window->verdict->text().contains(q == 1 ? "错了" : "正确"));
    QTest::keyClick(window.get(), Qt::Key_Return);
  }
  EXPECT_TRUE(window->summary->text().startsWith("听力自测结束：3 / 4"));
  ASSERT_EQ(results().size(), 1u);
  EXPECT_EQ(results()[0].activity, "listening");
}

TEST_F(RoundWindows, TypingCountsSpeedAndAccuracyAndShowsTheHistory) {
  handOff(2);  // the text: "abc0 abc1", nine characters
  auto window = open<studydesk::TypingWindow>();
  const QString keys = "abc0 abx1";  // one wrong, a key every 600 ms
  for (const QChar c : keys) {
    QTest::keyClick(window.get(), c.toLatin1());
    now_ += 600;
  }
  EXPECT_TRUE(window->summary->text().startsWith("打完了！"));
  auto kept = results();
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].activity, "typing");
  EXPECT_EQ(kept[0].right, 8);
  // 8 correct characters in 4.8 s from the first key: 8 / 5 words / 0.08 minutes.
  EXPECT_NEAR(*kept[0].wordsPerMinute, 20.0, 1e-9);
  EXPECT_NEAR(*kept[0].accuracy, 8.0 / 9.0, 1e-9);
  EXPECT_TRUE(window->summary->text().contains("最常打错的键：　c ×1"))
      << window->summary->text().toStdString();

  QTest::keyClick(window.get(), Qt::Key_Return);  // again, with a Backspace this time
  for (const QChar c : QString("abx")) QTest::keyClick(window.get(), c.toLatin1());
  QTest::keyClick(window.get(), Qt::Key_Backspace);
  for (const QChar c : QString("c0 abc1")) QTest::keyClick(window.get(), c.toLatin1());
  kept = results();
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_NEAR(*kept[1].accuracy, 9.0 / 10.0, 1e-9) << "Backspace is no keystroke";
  auto* chart = window->findChild<QChartView*>();
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(chart->accessibleName(), "最近 2 次打字的速度和正确率");
}

TEST_F(RoundWindows, WithoutALessonEachSaysHowToChooseOne) {
  EXPECT_EQ(open<studydesk::TypingWindow>()->summary->text(),
            "还没有选课：请先在“选 课”中选择一课。");
  EXPECT_EQ(open<studydesk::DictationWindow>(1u)->summary->text(),
            "还没有选课：请先在“选 课”中选择一课。");
  EXPECT_FALSE(std::filesystem::exists(app_.file("study.db")));
}

}  // namespace

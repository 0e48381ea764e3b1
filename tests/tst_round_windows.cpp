// SPDX-License-Identifier: MIT
// 听写训练, 听力自测 and 休闲打字 driven through their real widgets. No sound device is
// expected here: the words stand in as text, which is what these tests read.
#include <gtest/gtest.h>

#include <QApplication>
#include <QChartView>
#include <QInputMethodEvent>
#include <QMessageBox>
#include <QScrollBar>
#include <QTest>

#include "course_file.h"
#include "dictation_window.h"
#include "listening_window.h"
#include "progress_store.h"
#include "test_support.h"
#include "typing_window.h"
#include "window_checks.h"
#include "window_placement.h"

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
        places(), [this] { return now_; }, voice_, more...);
    window->show();
    window->start();
    return window;
  }

  TempDir app_;
  study::Millis now_ = *study::ParseIso("2026-01-05T08:00:00Z");
  study::Voice* voice_ = nullptr;  // no voice: the words stand in as text
};

// A voice that never gives a sound.
class MuteVoice final : public study::Voice {
 public:
  std::optional<suite::PcmWave> speak(const std::string&, study::Pace) override {
    ++asked;
    return std::nullopt;
  }
  int asked = 0;
};

TEST_F(RoundWindows, DictationMarksAMissAndBringsItBackAtTheEnd) {
  handOff(3);
  auto window = open<studydesk::DictationWindow>(1u);
  EXPECT_EQ(window->windowTitle(), "听写训练 — " + Display("L"));
  EXPECT_EQ(window->notice->text(), "无法播放读音：没有可用的英语语音。下面用文字代替读音。");
  EXPECT_EQ(window->prompt->text(), "请写出：" + Display("gloss0"));
  QTest::keyClicks(window->input, "  ABC0 ");
  QTest::keyClick(window->input, Qt::Key_Return);
  QTest::keyClicks(window->input, "abd1");
  QTest::keyClick(window->input, Qt::Key_Return);
  EXPECT_TRUE(window->feedback->text().contains("你写的"))
      << window->feedback->text().toStdString();
  EXPECT_TRUE(window->input->isReadOnly());
  QTest::keyClick(window->input, Qt::Key_Return);  // goes on
  EXPECT_TRUE(window->feedback->text().isEmpty()) << "the miss is gone with the next word";
  EXPECT_FALSE(window->input->isReadOnly());
  QTest::keyClicks(window->input, "abc2");
  QTest::keyClick(window->input, Qt::Key_Return);
  EXPECT_TRUE(window->feedback->text().contains("✓")) << "a right word gets its mark";
  QTest::keyClicks(window->input, "abc1");  // the missed one, at the end
  QTest::keyClick(window->input, Qt::Key_Return);
  EXPECT_TRUE(window->summary->isVisible()) << "the end stays on show after the last Enter";
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

// The question a dictation window has open, or null.
QMessageBox* OpenQuestion(QWidget* window) {
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  for (auto* box : window->findChildren<QMessageBox*>()) {
    if (box->isVisible()) return box;
  }
  return nullptr;
}

TEST_F(RoundWindows, DictationCountsItsPlaceAndTakesKeysTypedOnAMiss) {
  handOff(3);
  auto window = open<studydesk::DictationWindow>(1u);
  EXPECT_EQ(window->position->text(), "第 1 / 3 个");
  QTest::keyClicks(window->input, "abc0");
  QTest::keyClick(window->input, Qt::Key_Return);
  EXPECT_EQ(window->position->text(), "第 2 / 3 个");
  QTest::keyClicks(window->input, "abd1");
  QTest::keyClick(window->input, Qt::Key_Return);
  ASSERT_TRUE(window->feedback->text().contains("你写的"));
  EXPECT_EQ(window->position->text(), "第 2 / 3 个") << "the miss on show";
  // Typing on without Enter: the keys go to the next word, none is lost.
  QTest::keyClicks(window->input, "abc2");
  EXPECT_EQ(window->input->text(), "abc2");
  EXPECT_EQ(window->prompt->text(), "请写出：" + Display("gloss2"));
  EXPECT_EQ(window->position->text(), "第 3 / 3 个");
  QTest::keyClick(window->input, Qt::Key_Return);
  EXPECT_TRUE(window->feedback->text().contains("✓"));
  EXPECT_EQ(window->position->text(), "第 3 / 3 个") << "the missed word comes back";
  // An input method's commit on a miss goes on to the next word too.
  QTest::keyClicks(window->input, "abd1");
  QTest::keyClick(window->input, Qt::Key_Return);
  ASSERT_TRUE(window->feedback->text().contains("你写的"));
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("ａｂｃ１"));
  QApplication::sendEvent(window->input, &commit);
  EXPECT_EQ(window->input->text(), "ａｂｃ１");
  QTest::keyClick(window->input, Qt::Key_Return);
  EXPECT_TRUE(window->summary->text().startsWith("听写结束：2 / 3"));
}

TEST_F(RoundWindows, EscInTheMiddleOfADictationAsksAndKeepsWhatWasAnswered) {
  handOff(4);
  auto window = open<studydesk::DictationWindow>(1u);
  QTest::keyClick(window->input, Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible()) << "before the first answer there is nothing to keep";

  window = open<studydesk::DictationWindow>(1u);
  QTest::keyClicks(window->input, "abc0");
  QTest::keyClick(window->input, Qt::Key_Return);
  QTest::keyClicks(window->input, "nope");
  QTest::keyClick(window->input, Qt::Key_Return);
  // Esc on the question goes on with the round, as it was.
  QTest::keyClick(window->input, Qt::Key_Escape);
  QMessageBox* box = OpenQuestion(window.get());
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text(), "结束本轮？");
  QTest::keyClick(box, Qt::Key_Escape);
  EXPECT_FALSE(OpenQuestion(window.get()));
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->feedback->text().contains("你写的"));
  EXPECT_TRUE(results().empty());
  // Enter ends it: the two words answered are the round.
  QTest::keyClick(window->input, Qt::Key_Escape);
  box = OpenQuestion(window.get());
  ASSERT_TRUE(box);
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_TRUE(window->summary->isVisible());
  EXPECT_TRUE(window->summary->text().startsWith("听写提前结束：1 / 2"))
      << window->summary->text().toStdString();
  const auto kept = results();
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].right, 1);
  EXPECT_EQ(kept[0].total, 2);
  QTest::keyClick(window.get(), Qt::Key_Escape);  // the end page closes at once
  EXPECT_FALSE(OpenQuestion(window.get()));
  EXPECT_FALSE(window->isVisible());
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
    // The verdict marks the right meaning, and the one picked when it was wrong.
    EXPECT_TRUE(window->options[static_cast<std::size_t>(right)]->text().endsWith("✓ 正确答案"));
    EXPECT_EQ(window->options[static_cast<std::size_t>(chosen)]->text().endsWith("✗ 你的选择"),
              q == 1);
    EXPECT_EQ(window->tally->text(), QStringLiteral("答对 %1 / 4").arg(q == 0 ? 1 : q))
        << "the tally moves with the verdict";
    QTest::keyClick(window.get(), Qt::Key_Return);
    if (q < 3) {
      EXPECT_FALSE(window->options[0]->text().contains("正确答案")) << "marks go with the verdict";
    }
  }
  EXPECT_TRUE(window->summary->isVisible());
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
  EXPECT_TRUE(window->summary->isVisible());
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

TEST_F(RoundWindows, TypingTimesFromTheFirstKeyEvenWhenItIsTakenBack) {
  handOff(2);
  auto window = open<studydesk::TypingWindow>();
  EXPECT_EQ(window->figures->text(), "速度 0.0 词/分钟　正确率 100.0%　用时 0 秒");
  QTest::keyClick(window.get(), 'x');
  now_ += 3000;
  QTest::keyClick(window.get(), Qt::Key_Backspace);
  EXPECT_EQ(window->figures->text(), "速度 0.0 词/分钟　正确率 0.0%　用时 3 秒")
      << window->figures->text().toStdString();
}

TEST_F(RoundWindows, WithoutALessonEachSaysHowToChooseOne) {
  EXPECT_EQ(open<studydesk::TypingWindow>()->summary->text(),
            "还没有选课：请先在“选 课”中选择一课。");
  EXPECT_EQ(open<studydesk::DictationWindow>(1u)->summary->text(),
            "还没有选课：请先在“选 课”中选择一课。");
  EXPECT_FALSE(std::filesystem::exists(app_.file("study.db")));
}

TEST_F(RoundWindows, DictationTakesAnInputMethodsFormsAndAOneEntryLessonEnds) {
  course::RecordTable table;
  table[0] = MakeRecord({"B", "L", "FWd5", "gloss"});  // the learner sees "Pan?"
  ASSERT_TRUE(course::WriteCourseFile(app_.file("900_1.dat"), table).ok());
  auto window = open<studydesk::DictationWindow>(1u);
  window->input->insert(QStringLiteral("ｐａｎ？"));  // as an input method sends it
  QTest::keyClick(window->input, Qt::Key_Return);
  EXPECT_TRUE(window->summary->isVisible());
  EXPECT_TRUE(window->summary->text().startsWith("听写结束：1 / 1"))
      << window->summary->text().toStdString();
  // The Enter that answered did not start a round; a new Enter does.
  QTest::keyClick(window.get(), Qt::Key_Return);
  EXPECT_FALSE(window->summary->isVisible());
  EXPECT_EQ(window->tally->text(), "答对 0 / 1");
}

TEST_F(RoundWindows, AMissShowsTheCourseLineAsItIs) {
  course::RecordTable table;
  table[0] = MakeRecord({"B", "L", "FWh_i", "gloss"});  // "Paris"
  ASSERT_TRUE(course::WriteCourseFile(app_.file("900_1.dat"), table).ok());
  auto window = open<studydesk::DictationWindow>(1u);
  QTest::keyClicks(window->input, "paros");
  QTest::keyClick(window->input, Qt::Key_Return);
  EXPECT_TRUE(window->feedback->text().contains("正确的：P"))
      << window->feedback->text().toStdString();
}

TEST_F(RoundWindows, FortyMissesEndOnAPageThatFitsTheScreen) {
  handOff(40);
  auto window = std::make_unique<studydesk::DictationWindow>(
      places(), [this] { return now_; }, nullptr, 1u);
  desk::ShowCentred(window.get());
  window->start();
  for (int i = 0; i < 40; ++i) {
    QTest::keyClicks(window->input, "wrong");
    QTest::keyClick(window->input, Qt::Key_Return);
    QTest::keyClick(window->input, Qt::Key_Return);
  }
  for (int i = 0; i < 40; ++i) {
    QTest::keyClicks(window->input, QString("abc%1").arg(QChar('0' + i)));
    QTest::keyClick(window->input, Qt::Key_Return);
  }
  ASSERT_TRUE(window->summary->isVisible());
  EXPECT_TRUE(window->summary->text().startsWith("听写结束：0 / 40"));
  QApplication::processEvents();
  const QRect screen = window->screen()->availableGeometry();
  EXPECT_TRUE(screen.contains(window->frameGeometry()));
  EXPECT_TRUE(window->againButton->isVisible());
  EXPECT_TRUE(window->rect().contains(
      QRect(window->againButton->mapTo(window.get(), QPoint()), window->againButton->size())))
      << "the buttons stay in the window; the page scrolls";
}

TEST_F(RoundWindows, TheTypingTextScrollsToTheLineBeingTyped) {
  handOff(60);
  auto window = std::make_unique<studydesk::TypingWindow>(
      places(), [this] { return now_; }, nullptr);
  window->resize(360, 260);
  window->show();
  window->start();
  QApplication::processEvents();  // the window laid out at its size
  const QString all =
      QString::fromStdU16String(std::u16string(window->text->toPlainText().toStdU16String()));
  ASSERT_GT(all.size(), 280);
  for (int i = 0; i < 270; ++i) QTest::keyClick(window.get(), all[i].toLatin1());
  QApplication::processEvents();
  const QRect cursor = window->text->cursorRect();
  EXPECT_TRUE(cursor.top() >= 0 && cursor.bottom() < window->text->viewport()->height())
      << "the line of the next character is in view: " << cursor.y() << " of "
      << window->text->viewport()->height() << ", scrolled "
      << window->text->verticalScrollBar()->value();
  EXPECT_GT(window->text->verticalScrollBar()->value(), 0) << "the text has scrolled";
}

TEST_F(RoundWindows, AVoiceThatFailsLeavesTextInPlaceOfEveryWord) {
  handOff(2);
  MuteVoice mute;
  voice_ = &mute;
  auto listening = open<studydesk::ListeningWindow>(3u);
  EXPECT_TRUE(listening->notice->text().startsWith("无法播放读音：无法合成“abc"))
      << listening->notice->text().toStdString();
  const QString first = listening->prompt->text();
  EXPECT_TRUE(first == "abc0" || first == "abc1") << "the English line stands in";
  QTest::keyClick(listening.get(), Qt::Key_1);
  QTest::keyClick(listening.get(), Qt::Key_Return);
  EXPECT_NE(listening->prompt->text(), first) << "the next word stands in too";
  EXPECT_EQ(mute.asked, 1) << "after a failure the voice is not asked again";
  QTest::keyClick(listening.get(), Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(listening->prompt->text() == "abc0" || listening->prompt->text() == "abc1");

  auto dictation = open<studydesk::DictationWindow>(1u);
  EXPECT_EQ(dictation->prompt->text(), "请写出：" + Display("gloss0"));
  QTest::keyClicks(dictation->input, "abc0");
  QTest::keyClick(dictation->input, Qt::Key_Return);
  EXPECT_EQ(dictation->prompt->text(), "请写出：" + Display("gloss1"));
}

}  // namespace

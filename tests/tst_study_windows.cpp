// SPDX-License-Identifier: MIT
// 课文初记 and 复习回忆 driven through their real widgets, on folders of our own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QChartView>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <chrono>
#include <filesystem>

#include "app_folder.h"
#include "course_file.h"
#include "day_start_dialog.h"
#include "learn_window.h"
#include "progress_store.h"
#include "review_window.h"
#include "sqlite_handle.h"
#include "statistics_view.h"
#include "test_support.h"
#include "voice.h"
#include "window_checks.h"
#include "window_placement.h"

namespace {

using study::Grade;
using testsupport::Display;
using testsupport::MakeRecord;
using testsupport::TempDir;

const study::Millis kMonday = *study::ParseIso("2026-01-05T08:00:00Z");

class StudyWindows : public ::testing::Test {
 protected:
  suite::FilePlaces places() const {
    return suite::FilePlaces(app_.path().string(), user_.file("lumadesk"), true);
  }
  // A hand-off of `entries` words named word0, word1, … with glosses gloss0, ….
  void handOff(int entries) {
    course::RecordTable table;
    for (int i = 0; i < entries; ++i) {
      table[static_cast<std::size_t>(i)] =
          MakeRecord({"B", "L", "word" + std::to_string(i), "gloss" + std::to_string(i)});
    }
    ASSERT_TRUE(course::WriteCourseFile(app_.file("900_1.dat"), table).ok());
  }
  std::unique_ptr<studydesk::LearnWindow> learn() {
    auto window = std::make_unique<studydesk::LearnWindow>(
        places(), [this] { return now_; }, nullptr);
    window->show();
    window->start();
    return window;
  }
  // 课文初记 opened as the program opens it, on a lesson of one long sentence meaning `gloss`.
  std::unique_ptr<studydesk::LearnWindow> learnLongSentence(const std::string& gloss) {
    course::RecordTable table;
    table[0] = MakeRecord({"B", "L",
                           "Although the weather forecast had promised a quiet afternoon, the "
                           "wind rose so quickly over the hills that the farmers hurried to "
                           "bring their animals back before the storm.",
                           gloss});
    EXPECT_TRUE(course::WriteCourseFile(app_.file("900_1.dat"), table).ok());
    auto window = std::make_unique<studydesk::LearnWindow>(
        places(), [this] { return now_; }, nullptr);
    desk::ShowCentred(window.get());
    window->start();
    QApplication::processEvents();
    return window;
  }
  std::unique_ptr<studydesk::ReviewWindow> review() {
    auto window = std::make_unique<studydesk::ReviewWindow>(
        places(), [this] { return now_; }, nullptr);
    window->show();
    window->start();
    return window;
  }
  static void press(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(window, key, modifiers);
  }
  // Shows the meaning and grades with the keyboard.
  static void answer(QWidget* window, Grade grade) {
    press(window, Qt::Key_Space);
    press(window, static_cast<Qt::Key>(Qt::Key_0 + static_cast<int>(grade)));
  }
  std::vector<study::LogLine> log() const {
    study::OpenResult result;
    auto store = study::ProgressStore::Open(app_.file("study.db"), now_, result);
    study::StoreFailure failure;
    return store ? store->log(failure) : std::vector<study::LogLine>{};
  }

  TempDir app_;
  TempDir user_;
  study::Millis now_ = kMonday;
};

TEST_F(StudyWindows, WithoutAChosenLessonLearningSaysHowToChooseOne) {
  auto window = learn();
  EXPECT_EQ(window->message->text(), "还没有选课：请先在“选 课”中选择一课。");
  EXPECT_FALSE(window->againButton->isVisible());
  EXPECT_FALSE(std::filesystem::exists(app_.file("study.db"))) << "nothing else happens";
  press(window.get(), Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(StudyWindows, ALessonIsLearnedWithTheKeyboardAndAgainComesBack) {
  handOff(3);
  auto window = learn();
  EXPECT_EQ(window->windowTitle(), "课文初记 — " + Display("L"));
  EXPECT_EQ(window->card->line1->text(), Display("word0"));
  EXPECT_FALSE(window->card->line2->isVisible());
  EXPECT_TRUE(window->card->line2->text().isEmpty()) << "no screen reader tells the meaning early";
  EXPECT_EQ(window->progress->text(), "第 1 / 3 条");
  EXPECT_EQ(window->card->gradeButtons[2]->text(), "3 良好\n3天");

  press(window.get(), Qt::Key_3);  // a grade before the meaning is shown counts for nothing
  EXPECT_TRUE(log().empty());
  answer(window.get(), Grade::Good);
  answer(window.get(), Grade::Again);  // word1 comes back after word2
  EXPECT_EQ(window->progress->text(), "第 3 / 3 条") << "the third card of the pass";
  QTest::keyClick(window.get(), Qt::Key_Space);
  QKeyEvent held(QEvent::KeyPress, Qt::Key_3, Qt::NoModifier, QStringLiteral("3"), true);
  QApplication::sendEvent(window.get(), &held);  // a held key answers nothing
  EXPECT_EQ(log().size(), 2u);
  press(window.get(), Qt::Key_3);
  EXPECT_EQ(window->card->line1->text(), Display("word1"));  // word1 again
  answer(window.get(), Grade::Hard);
  EXPECT_TRUE(window->message->text().startsWith("学完了！这次学了 3 条"));
  const auto answers = log();
  ASSERT_EQ(answers.size(), 4u);
  EXPECT_EQ(answers[1].grade, Grade::Again);
  EXPECT_EQ(answers[3].card, answers[1].card);

  // Opened again: nothing left to learn; 再学一遍 goes through all, keeping the schedule.
  auto again = learn();
  EXPECT_TRUE(again->heading->text().contains("其中 3 条已在复习中"));
  EXPECT_TRUE(again->message->text().startsWith("本课的 3 条都已在复习中"));
  EXPECT_FALSE(again->progress->isVisible()) << "no busy bar for a pass of no cards";
  press(again.get(), Qt::Key_R);
  EXPECT_EQ(again->progress->text(), "第 1 / 3 条");
  EXPECT_EQ(again->card->line1->text(), Display("word0"));
  EXPECT_EQ(again->card->gradeButtons[2]->text(), "3 良好\n3天") << "from word0's state";
}

TEST_F(StudyWindows, LearningTakesBackAMistakenAnswerWithCtrlZ) {
  handOff(3);
  auto window = learn();
  answer(window.get(), Grade::Good);
  answer(window.get(), Grade::Again);  // meant 3 for word1
  EXPECT_TRUE(window->undoButton->isEnabled());
  press(window.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(window->card->line1->text(), Display("word1"));
  EXPECT_FALSE(window->card->line2->isVisible()) << "the card shows its front again";
  EXPECT_EQ(window->progress->text(), "第 2 / 3 条");
  ASSERT_EQ(log().size(), 1u) << "the answer went from the store";
  answer(window.get(), Grade::Good);
  answer(window.get(), Grade::Good);
  EXPECT_TRUE(window->message->text().startsWith("学完了！这次学了 3 条"));
  // From the end page the last answer comes back too.
  press(window.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(window->card->line1->text(), Display("word2"));
  EXPECT_EQ(log().size(), 2u);
  press(window.get(), Qt::Key_Z, Qt::ControlModifier);
  press(window.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(window->card->line1->text(), Display("word0"));
  EXPECT_TRUE(log().empty());
  EXPECT_FALSE(window->undoButton->isEnabled());
}

TEST_F(StudyWindows, LearningsBarFillsAsItsCountSays) {
  handOff(4);
  auto window = learn();
  // Each card as the bar and its words show it, then how it is answered.
  const struct {
    const char* text;
    Grade grade;
  } steps[] = {
      {"第 1 / 4 条", Grade::Good}, {"第 2 / 4 条", Grade::Again}, {"第 3 / 4 条", Grade::Again},
      {"第 4 / 4 条", Grade::Good}, {"第 4 / 4 条", Grade::Good},  {"第 4 / 4 条", Grade::Again},
      {"第 4 / 4 条", Grade::Easy},
  };
  for (const auto& step : steps) {
    EXPECT_EQ(window->progress->text(), step.text);
    const QStringList numbers = window->progress->text().split(' ');
    EXPECT_EQ(window->progress->value(), numbers[1].toInt()) << step.text;
    EXPECT_EQ(window->progress->maximum(), numbers[3].toInt()) << step.text;
    answer(window.get(), step.grade);
  }
  EXPECT_TRUE(window->message->text().startsWith("学完了！"));
}

TEST_F(StudyWindows, ReviewTakesTheMostOverdueAndUndoRestoresIt) {
  handOff(2);
  auto first = learn();
  answer(first.get(), Grade::Good);  // due in 3 days
  answer(first.get(), Grade::Easy);  // due in 8 days
  first.reset();

  auto none = review();
  EXPECT_TRUE(none->message->text().startsWith("现在没有要复习的词条。"));
  EXPECT_TRUE(none->message->text().contains("明天到期 0 条"))
      << none->message->text().toStdString();

  now_ = kMonday + 9 * study::kMillisPerDay;
  auto window = review();
  EXPECT_EQ(window->heading->text(), "今天还要复习 2 条。");
  EXPECT_EQ(window->card->line1->text(), Display("word0"));
  answer(window.get(), Grade::Again);
  EXPECT_EQ(window->card->line1->text(), Display("word1"));
  EXPECT_TRUE(window->undoButton->isEnabled());
  press(window.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(window->card->line1->text(), Display("word0")) << "the card taken back shows again";
  EXPECT_EQ(log().size(), 2u);
  EXPECT_FALSE(window->undoButton->isEnabled());

  answer(window.get(), Grade::Good);
  answer(window.get(), Grade::Good);
  EXPECT_TRUE(window->message->isVisible());
  EXPECT_TRUE(window->message->text().startsWith(
      "今天的复习完成了！这次复习了 2 个词条，回答 2 次（重来 0，困难 0，良好 2，简单 0）"))
      << window->message->text().toStdString();
  EXPECT_TRUE(window->message->text().contains("明天到期 0 条"));
  press(window.get(), Qt::Key_S);
  auto* stats = window->findChild<studydesk::StatisticsView*>();
  ASSERT_NE(stats, nullptr);
  EXPECT_EQ(stats->charts.size(), 4u);
  EXPECT_EQ(stats->charts[0]->accessibleName(), "最近 30 天每天答了多少次");
}

TEST_F(StudyWindows, TheDayStartIsSetInReviewAndDecidesWhatIsDueToday) {
  testsupport::ScopedZone zone("Asia/Shanghai");
  {
    // Learned at 07:30 in Shanghai, answered 1: due tomorrow.
    study::OpenResult result;
    auto store = study::ProgressStore::Open(app_.file("study.db"), now_, result);
    study::StoreFailure failure;
    const auto cards = store->lessonCards("Unit 1", {{"word0", "释义0"}}, kMonday, failure);
    ASSERT_TRUE(store->commit(
        {cards[0].id, *study::ParseIso("2026-12-06T23:30:00Z"), Grade::Again, "课文初记", 1},
        failure));
  }

  now_ = *study::ParseIso("2026-12-07T20:30:00Z");  // 04:30 the next morning
  auto window = review();
  EXPECT_EQ(window->heading->text(), "今天还要复习 1 条。");
  press(window.get(), Qt::Key_D);
  auto* dialog = window->findChild<studydesk::DayStartDialog*>();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->time->time(), QTime(4, 0));
  dialog->time->setTime(QTime(5, 0));
  dialog->accept();
  EXPECT_TRUE(window->message->text().startsWith("现在没有要复习的词条。"))
      << "before 05:00 it is still yesterday: " << window->message->text().toStdString();
  EXPECT_TRUE(window->message->text().contains("下一条在 2026年12月8日到期"))
      << window->message->text().toStdString();
  window.reset();
  study::OpenResult result;
  EXPECT_EQ(study::ProgressStore::Open(app_.file("study.db"), now_, result)->dayRule(),
            study::DayRule::Local(5 * 60));
}

// What the learner's store hands the windows follows what its file allows: all on a store
// that takes writes, no day start on one that takes none, nothing on one it must not use.
TEST_F(StudyWindows, TheLearnersStoreHandsOutWhatItsFileAllows) {
  namespace fs = std::filesystem;
  const std::string path = app_.file("study.db");
  {
    study::OpenResult result;
    ASSERT_TRUE(study::ProgressStore::Open(path, now_, result));
  }
  {
    const auto store = studydesk::LearnerStore::Open(places(), now_);
    EXPECT_TRUE(store.notice().isEmpty()) << store.notice().toStdString();
    EXPECT_TRUE(store.cards() && store.rounds() && store.statistics() && store.dayStart());
    auto window = review();
    EXPECT_TRUE(window->statisticsButton->isEnabled());
    EXPECT_TRUE(window->settingsButton->isEnabled());
  }

  // Another user's store in another user's folder: read, never written.
  const fs::perms readable = fs::perms::group_read | fs::perms::others_read;
  fs::permissions(app_.path(),
                  fs::perms::owner_all | readable | fs::perms::group_exec | fs::perms::others_exec);
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | readable);
  EXPECT_TRUE(testsupport::AsOrdinaryUser([&] {
    const auto store = studydesk::LearnerStore::Open(places(), now_);
    return store.notice().contains(QStringLiteral("只读")) && store.cards() && store.rounds() &&
           store.statistics() && !store.dayStart();
  }));

  {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
    study::Database db(raw);
    ASSERT_EQ(db.exec("PRAGMA user_version = 9"), SQLITE_OK);
  }
  const auto newer = studydesk::LearnerStore::Open(places(), now_);
  EXPECT_TRUE(newer.notice().contains(QStringLiteral("版本 9"))) << newer.notice().toStdString();
  EXPECT_FALSE(newer.cards() || newer.rounds() || newer.statistics() || newer.dayStart());
  auto window = review();
  EXPECT_FALSE(window->statisticsButton->isEnabled());
  EXPECT_FALSE(window->settingsButton->isEnabled());
}

TEST_F(StudyWindows, DamageFoundAfterTheFirstCardIsSaidAndWhatCouldBeReadIsKept) {
  handOff(2);
  const std::string path = app_.file("study.db");
  {
    study::OpenResult result;
    ASSERT_TRUE(study::ProgressStore::Open(path, now_, result));
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
    study::Database db(raw);
    // A year of answers on an earlier lesson's card, so that the file has pages that
    // opening the store and the first card never read.
    ASSERT_EQ(db.exec("INSERT INTO cards(lesson, line1, line2, added) VALUES('U', 'w', 'g', 0);"
                      "WITH RECURSIVE n(a) AS (SELECT 1 UNION ALL SELECT a + 1 FROM n"
                      " WHERE a < 20000) INSERT INTO answers(card, time, grade, activity,"
                      " seconds) SELECT 1, a, 3, 'x', 1 FROM n"),
              SQLITE_OK);
  }
  std::string bytes = testsupport::ReadBytes(path);
  const std::size_t from = bytes.size() / 2 / 4096 * 4096;
  for (std::size_t i = from; i < from + 32 * 1024; ++i) bytes[i] = static_cast<char>(i * 131);
  testsupport::WriteBytes(path, bytes);

  auto window = learn();
  EXPECT_EQ(window->card->line1->text(), Display("word0")) << "the first card, unchecked";
  EXPECT_FALSE(window->notice->text().contains("损坏")) << "not yet checked";
  // The check runs a moment after the first card is on show; wait for its verdict.
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->notice->text().contains("已损坏"); }, 10000));
  const QString notice = window->notice->text();
  EXPECT_TRUE(notice.contains("已损坏")) << notice.toStdString();
  // The damaged pages held some of the 20,000 answers; the others are kept.
  const QRegularExpressionMatch counts =
      QRegularExpression(QStringLiteral("救回了 (\\d+) 个回答，丢失了 (\\d+) 个")).match(notice);
  ASSERT_TRUE(counts.hasMatch()) << notice.toStdString();
  EXPECT_EQ(counts.captured(1).toInt() + counts.captured(2).toInt(), 20000);
  EXPECT_GT(counts.captured(1).toInt(), 19000);
  EXPECT_FALSE(notice.contains("不会保存")) << notice.toStdString();
  answer(window.get(), Grade::Good);
  answer(window.get(), Grade::Good);
  EXPECT_FALSE(window->message->text().contains("没有保存"))
      << window->message->text().toStdString();
  window.reset();
  study::OpenResult result;
  study::StoreFailure failure;
  EXPECT_EQ(study::ProgressStore::Open(path, now_, result)->log(failure).size(),
            static_cast<std::size_t>(counts.captured(1).toInt() + 2));
}

TEST_F(StudyWindows, ANewerStoreIsLeftAloneAndTheLessonStillRuns) {
  handOff(2);
  {
    study::OpenResult result;
    auto store = study::ProgressStore::Open(app_.file("study.db"), now_, result);
    ASSERT_TRUE(store);
  }
  {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(app_.file("study.db").c_str(), &raw), SQLITE_OK);
    study::Database db(raw);
    ASSERT_EQ(db.exec("PRAGMA user_version = 9"), SQLITE_OK);
  }
  const std::string before = testsupport::ReadBytes(app_.file("study.db"));
  auto window = learn();
  EXPECT_TRUE(window->notice->isVisible());
  EXPECT_TRUE(window->notice->text().contains("版本 9")) << window->notice->text().toStdString();
  answer(window.get(), Grade::Good);
  answer(window.get(), Grade::Good);
  EXPECT_TRUE(window->message->text().startsWith("学完了！"));
  EXPECT_TRUE(window->message->text().contains("有 2 个回答没有保存：没有可用的学习记录。"))
      << window->message->text().toStdString();
  EXPECT_FALSE(window->message->text().contains("已排入复习计划")) << "nothing was scheduled";
  EXPECT_TRUE(testsupport::ReadBytes(app_.file("study.db")) == before);
}

TEST_F(StudyWindows, AChosenLessonThatIsAPipeIsSaidAtOnce) {
  const testsupport::IdlePipe pipe(app_.file("900_1.dat"));
  const auto start = std::chrono::steady_clock::now();
  auto window = learn();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1))
      << "the window waited";
  EXPECT_EQ(window->message->text(), "无法读取所选的课文“" + desk::PathText(pipe.path()) +
                                         "”：这不是普通文件，而是管道或设备。");
}

TEST_F(StudyWindows, ASymbolicLinkLoopIsSaidInChinese) {
  const QString loop = QStringLiteral("路径中的符号链接绕成了一个圈");
  std::filesystem::create_symlink("900_1.dat", app_.file("900_1.dat"));
  auto window = learn();
  EXPECT_EQ(window->message->text(),
            "无法读取所选的课文“" + desk::PathText(app_.file("900_1.dat")) + "”：" + loop + "。");
  window.reset();
  std::filesystem::remove(app_.file("900_1.dat"));
  handOff(1);
  std::filesystem::create_symlink("study.db", app_.file("study.db"));
  window = learn();
  EXPECT_TRUE(window->notice->text().contains(loop)) << window->notice->text().toStdString();
}

TEST_F(StudyWindows, AZoneTheSystemDoesNotKnowIsSaidInTheNoticeLine) {
  handOff(1);
  for (const char* zone : {"Asia/Shanghia", "Asia/Shanghai"}) {
    const testsupport::ScopedZone scoped(zone);
    auto window = learn();
    EXPECT_EQ(window->notice->text().contains("系统不认识时区“Asia/Shanghia”"),
              std::string(zone) == "Asia/Shanghia")
        << zone << ": " << window->notice->text().toStdString();
  }
}

TEST_F(StudyWindows, AStoreThatIsAFolderIsSaidAsSuchAndTheLessonStillRuns) {
  handOff(1);
  std::filesystem::create_directory(app_.file("study.db"));
  auto window = learn();
  EXPECT_TRUE(window->notice->text().startsWith(
      "无法打开学习记录“" + desk::PathText(app_.file("study.db")) +
      "”：这是一个文件夹，不是文件。这次学习的结果不会保存。\n"))
      << window->notice->text().toStdString();
  answer(window.get(), Grade::Good);
  EXPECT_TRUE(window->message->text().startsWith("学完了！"));
  EXPECT_TRUE(window->message->text().contains("有 1 个回答没有保存"));
}

TEST_F(StudyWindows, OnAReadOnlyFolderTheStoreIsTheLearnersOwn) {
  handOff(1);
  auto window = std::make_unique<studydesk::LearnWindow>(
      suite::FilePlaces(app_.path().string(), user_.file("lumadesk"), false),
      [this] { return now_; }, nullptr);
  window->show();
  window->start();
  answer(window.get(), Grade::Good);
  EXPECT_TRUE(std::filesystem::exists(user_.file("lumadesk/study.db")));
  EXPECT_FALSE(std::filesystem::exists(app_.file("study.db")));
}

TEST_F(StudyWindows, ReviewCountsWhatIsLeftAndBringsAnAgainBackInTheSitting) {
  handOff(9);
  auto first = learn();
  for (int i = 0; i < 9; ++i) answer(first.get(), Grade::Good);
  first.reset();

  now_ = kMonday + 9 * study::kMillisPerDay;
  auto window = review();
  EXPECT_EQ(window->heading->text(), "今天还要复习 9 条。");
  answer(window.get(), Grade::Good);
  answer(window.get(), Grade::Good);
  EXPECT_EQ(window->heading->text(), "今天还要复习 7 条。");
  press(window.get(), Qt::Key_Z, Qt::ControlModifier);
  press(window.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(window->heading->text(), "今天还要复习 9 条。") << "counted again after undo";
  EXPECT_EQ(window->card->line1->text(), Display("word0"));

  answer(window.get(), Grade::Again);
  EXPECT_EQ(window->heading->text(), "今天还要复习 9 条。") << "word0 is still to do today";
  for (int i = 1; i < 9; ++i) answer(window.get(), Grade::Good);
  EXPECT_EQ(window->card->line1->text(), Display("word0")) << "back in the same sitting";
  EXPECT_EQ(window->heading->text(), "今天还要复习 1 条。");
  answer(window.get(), Grade::Good);
  EXPECT_TRUE(
      window->message->text().startsWith("今天的复习完成了！这次复习了 9 个词条，回答 10 次"))
      << window->message->text().toStdString();
}

TEST_F(StudyWindows, ALongEntryWrapsInsideTheCardAndTheWindowFitsTheScreen) {
  auto window = learnLongSentence("gloss");
  const QRect screen = window->screen()->availableGeometry();
  EXPECT_TRUE(screen.contains(window->frameGeometry())) << "fully on the screen";
  QLabel* line = window->card->line1;
  EXPECT_GE(line->height(), line->heightForWidth(line->width())) << "no line of it is lost";
  EXPECT_LE(line->width(), window->width());
}

TEST_F(StudyWindows, ALongMeaningGrowsTheWindowThenScrollsWithTheKeys) {
  const std::string meaning =
      "虽然天气预报说下午会很平静，但是山上的风起得很快，农民们赶紧在暴风雨来临之前把牲畜赶回家。";
  // How often the meaning is said over, and whether the grown window holds it whole.
  const struct {
    int repeats;
    bool scrolls;
  } cases[] = {{1, false}, {6, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.repeats);
    std::string gloss;
    for (int i = 0; i < c.repeats; ++i) gloss += meaning;
    auto window = learnLongSentence(gloss);
    const int before = window->height();
    press(window.get(), Qt::Key_Space);
    QApplication::processEvents();
    const QRect screen = window->screen()->availableGeometry();
    EXPECT_GT(window->height(), before) << "the screen has room: the window grows first";
    EXPECT_TRUE(screen.contains(window->frameGeometry())) << "and stays on the screen";
    QLabel* line = window->card->line2;
    EXPECT_GE(line->height(), line->heightForWidth(line->width())) << "no line of it is cut";
    QScrollBar* bar = window->card->scroll->verticalScrollBar();
    EXPECT_EQ(bar->maximum() > 0, c.scrolls);
    // The keys walk the card down and back; at its end the meaning's last line is on show.
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_PageDown, Qt::Key_Up, Qt::Key_PageUp}) {
      const int at = bar->value();
      press(window.get(), key);
      EXPECT_EQ(bar->value() != at, c.scrolls) << key;
    }
    for (int i = 0; i < 50; ++i) press(window.get(), Qt::Key_PageDown);
    EXPECT_EQ(bar->value(), bar->maximum());
    const QRect shown = window->card->scroll->viewport()->rect();
    const QRect lineAt(line->mapTo(window->card->scroll->viewport(), QPoint()), line->size());
    EXPECT_GE(shown.bottom(), lineAt.bottom()) << "the last line of the meaning is on show";
    press(window.get(), Qt::Key_3);
    EXPECT_TRUE(window->message->text().startsWith("学完了！")) << "the grade keys still work";
  }
}

// A voice that notes what it is asked to say and gives no sound.
class ListeningVoice final : public study::Voice {
 public:
  std::optional<suite::PcmWave> speak(const std::string& text, study::Pace) override {
    asked.push_back(text);
    return std::nullopt;
  }
  std::vector<std::string> asked;
};

TEST_F(StudyWindows, ACardSaysItsEnglishLineAndShowsItsPartOfSpeech) {
  course::RecordTable table;
  table[0] = MakeRecord({"B", "L", "word", "gloss", "d$"});  // part of speech "n."
  ASSERT_TRUE(course::WriteCourseFile(app_.file("900_1.dat"), table).ok());
  ListeningVoice voice;
  auto window = std::make_unique<studydesk::LearnWindow>(
      places(), [this] { return now_; }, &voice);
  window->show();
  window->start();
  EXPECT_EQ(voice.asked, std::vector<std::string>{Display("word").toStdString()});
  EXPECT_EQ(window->card->partOfSpeech->text(), "n.");
  EXPECT_EQ(window->notice->text(),
            QStringLiteral("无法播放读音：无法合成“%1”的读音。").arg(Display("word")));
}

}  // namespace

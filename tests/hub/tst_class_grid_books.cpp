// SPDX-License-Identifier: MIT
// The class page's grid once books are handed out: the books' lessons in book order, each
// counted against its own entries, then the lessons answered outside them; the page and its
// CSV as a teacher gets them; a new publication counted at once.
#include <chrono>

#include "book_bytes.h"
#include "class_queries.h"
#include "handed_out_lessons.h"
#include "hub_fixture.h"
#include "teacher_browser.h"

namespace hubtest {
namespace {

using hub::page::Grid;
using studysync::Millis;
using studysync::SyncAnswer;

constexpr Millis kHour = 60 * 60 * 1000;

Millis NowMillis() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// Book 1 lists its lessons out of reading order; 水果 holds a repeated entry and a record
// without English, which are one card and none.
const std::vector<std::array<std::string, 3>> kBook1 = {
    {"第2课 水果", "apple", "苹果"}, {"第2课 水果", "pear", "梨"},
    {"第2课 水果", "apple", "苹果"}, {"第2课 水果", "", "（空）"},
    {"第2课 水果", "plum", "李子"},  {"第2课 水果", "fig", "无花果"},
    {"第1课 动物", "cat", "猫"},     {"第1课 动物", "dog", "狗"},
    {"第3课 天气", "sun", "太阳"}};
const std::vector<std::array<std::string, 3>> kBook2 = {{"Intro", "hello", "你好"},
                                                        {"Intro", "bye", "再见"}};

struct Card {
  std::string lesson;
  std::string line1;
  std::string line2;
  int grade = 3;  // 良好: not due again for three days
};

class ClassGridBooks : public HubFixture {
 protected:
  void publish(int book, const std::vector<std::array<std::string, 3>>& entries) {
    const std::string path = folder_->file("book.dat");
    testsupport::WriteBytes(path, BookBytes(entries));
    studyhub({"publish", "Class 1", std::to_string(book), path});
  }

  // The learner joins and syncs one answer to each card, an hour ago.
  void answer(const std::string& number, const std::string& name, const std::vector<Card>& cards) {
    addLearner(number, name);
    const std::string device = DeviceId(std::stoi(number));
    const studysync::JoinReply who = joinAs(number, device);
    studysync::SyncRequest request{who.learner, device, 0, {}, {}};
    for (const Card& card : cards) {
      request.items.answers.push_back(
          SyncAnswer{{device, static_cast<std::int64_t>(request.items.answers.size()) + 1},
                     card.lesson,
                     card.line1,
                     card.line2,
                     "n.",
                     now_ - kHour,
                     card.grade,
                     "review",
                     5});
    }
    ASSERT_EQ(client_->sync(who.token, request).status, 200);
  }

  Grid grid() {
    hub::Database database(conninfo_);
    const std::int64_t classId = std::stoll(ask("SELECT id FROM classes WHERE name = 'Class 1'"));
    return hub::page::ReadGrid(database, classId, books_.of(database, classId), now_);
  }

  // Each lesson as "name/entries", and each learner's cells as "learned/due" in that order.
  static std::vector<std::string> Shown(const Grid& grid) {
    std::vector<std::string> shown;
    for (const auto& lesson : grid.lessons) {
      shown.push_back(lesson.name + "/" + std::to_string(lesson.entries));
    }
    for (const auto& learner : grid.learners) {
      std::string row = learner.number + ":";
      for (const auto& lesson : grid.lessons) {
        const hub::page::GridCell* cell = grid.cell(learner.id, lesson.name);
        row += ' ';
        row += cell ? std::to_string(cell->learned) + '/' + std::to_string(cell->due) : "-";
      }
      shown.push_back(row);
    }
    return shown;
  }

  Millis now_ = NowMillis();
  hub::page::HandedOutLessons books_;
};

TEST_F(ClassGridBooks, HandedOutLessonsComeFirstInBookOrderCountedAgainstTheirEntries) {
  publish(2, kBook2);
  publish(1, kBook1);
  answer("1001", "李雷",
         {{"第2课 水果", "apple", "苹果"},
          {"第2课 水果", "pear", "梨"},
          {"第2课 水果", "kiwi", "猕猴桃", 1},  // due, but the book no longer has it
          {"第1课 动物", "cat", "猫", 1},       // 重来: due at once
          {"旧课", "tree", "树"},
          {"旧课", "leaf", "叶"}});
  answer("1002", "韩梅梅", {{"第2课 水果", "apple", "苹果"}, {"旧课", "tree", "树"}});
  answer("1003", "王芳", {});
  EXPECT_EQ(Shown(grid()), (std::vector<std::string>{"第2课 水果/4", "第1课 动物/2", "第3课 天气/1",
                                                     "Intro/2", "旧课/2", "1001: 2/0 1/1 - - 2/0",
                                                     "1002: 1/0 - - - 1/0", "1003: - - - - -"}));
}

TEST_F(ClassGridBooks, ThePageAndItsCsvShowTheSameShares) {
  publish(1, kBook1);
  answer(
      "1001", "李雷",
      {{"第2课 水果", "apple", "苹果"}, {"第2课 水果", "kiwi", "猕猴桃"}, {"旧课", "tree", "树"}});
  const std::string password =
      HubServer::LastLine(studyhub({"teacher", "add", "王老师", "Class 1"}));
  TeacherBrowser browser(hub_->port(), hub_->certificate().string());
  browser.signIn("王老师", password, "a-new-password-2026");
  const std::string classPath = "/class/" + ask("SELECT id FROM classes WHERE name = 'Class 1'");
  const std::string page = browser.get(classPath);
  const std::string csv = browser.get(classPath + "/grid.csv");
  // The headings in the grid's order, an unstudied lesson at 0 %, the other lesson after.
  std::size_t at = 0;
  for (const char* heading : {"第2课 水果<small>（4 条）", "第1课 动物<small>（2 条）",
                              "第3课 天气<small>（1 条）", "旧课<small>（1 条）"}) {
    at = page.find(heading, at);
    EXPECT_NE(at, std::string::npos) << heading;
  }
  EXPECT_NE(page.find("title=\"已学 1/4，到期 0\">已学 25%"), std::string::npos);
  EXPECT_NE(page.find("title=\"已学 0/1，到期 0\">已学 0%"), std::string::npos);
  EXPECT_NE(csv.find("学号,姓名,第2课 水果 已学%,第2课 水果 到期%,第2课 水果 最近学习,"
                     "第1课 动物 已学%,第1课 动物 到期%,第1课 动物 最近学习,"
                     "第3课 天气 已学%,第3课 天气 到期%,第3课 天气 最近学习,"
                     "旧课 已学%,旧课 到期%,旧课 最近学习"),
            std::string::npos)
      << csv;
  EXPECT_NE(csv.find("1001,李雷,25,0,"), std::string::npos) << csv;
  EXPECT_NE(csv.find(",0,0,,0,0,,100,0,"), std::string::npos) << csv;
}

TEST_F(ClassGridBooks, ANewPublicationIsCountedAtTheNextRequest) {
  publish(1, kBook1);
  answer("1001", "李雷", {{"第2课 水果", "kiwi", "猕猴桃"}});
  EXPECT_EQ(Shown(grid()).front(), "第2课 水果/4");
  EXPECT_EQ(Shown(grid()).back(), "1001: 0/0 - -");
  publish(1, {{"第2课 水果", "kiwi", "猕猴桃"}, {"第4课", "rain", "雨"}});
  EXPECT_EQ(Shown(grid()), (std::vector<std::string>{"第2课 水果/1", "第4课/1", "1001: 1/0 -"}));
}

}  // namespace
}  // namespace hubtest

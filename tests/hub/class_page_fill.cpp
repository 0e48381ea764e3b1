// SPDX-License-Identifier: MIT
#include "class_page_fill.h"

#include <ctime>
#include <random>
#include <set>
#include <tuple>

#include "class_numbers.h"
#include "hub_client.h"

namespace hubtest {
namespace {

using studysync::Millis;
using studysync::SyncAnswer;

constexpr Millis kMinute = 60 * 1000;
constexpr Millis kHour = 60 * kMinute;
constexpr int kLessons = 7;
constexpr int kEntries = 10;
constexpr int kHardEntries = 25;

struct Adder {
  FilledLearner& learner;
  std::string device;
  std::int64_t seq = 0;

  SyncAnswer& answer(const std::string& lesson, const std::string& line1, Millis time, int grade,
                     double seconds) {
    learner.items.answers.push_back(
        {{device, ++seq}, lesson, line1, "词" + line1, "n.", time, grade, "review", seconds});
    return learner.items.answers.back();
  }
};

std::string Lesson(int n) {
  return "Lesson " + std::to_string(n);
}

// Whole hours (and half an hour) before now, so that no answer lies near a due boundary.
Millis HoursAgo(Millis now, int hours) {
  return now - 30 * kMinute - hours * kHour;
}

using Card = std::tuple<std::string, std::string, std::string>;

}  // namespace

ClassFill FillClass(int count, Millis now, Millis weekStart) {
  ClassFill fill{{}, now, weekStart};
  std::mt19937 random(20261208);
  const int hoursThisWeek = static_cast<int>((now - 30 * kMinute - weekStart) / kHour);
  for (int i = 1; i <= count; ++i) {
    FilledLearner learner{std::to_string(1000 + i), "学生" + std::to_string(i), {}};
    if (i == 7) learner.name = "<b>赵&钱'</b>";  // shown as it is, never as markup
    Adder add{learner, DeviceId(i)};
    const bool neverStudied = i == count;
    const bool idleThisWeek = i <= 5;
    for (int lesson = 1; !neverStudied && lesson <= 1 + i % 6; ++lesson) {
      for (int entry = 1; entry <= kEntries; ++entry) {
        if (random() % 10 < 4) continue;
        const int times = 1 + static_cast<int>(random() % 3);
        for (int t = 0; t < times; ++t) {
          const int hours = 7 * 24 + static_cast<int>(random() % (3 * 7 * 24));
          add.answer(Lesson(lesson), "word " + std::to_string(lesson) + "." + std::to_string(entry),
                     HoursAgo(weekStart, hours), 1 + static_cast<int>(random() % 4),
                     3 + random() % 40);
        }
        // This week's answers are never 重来, so that only the hard entries are the hardest.
        if (!idleThisWeek && hoursThisWeek > 0 && random() % 3 == 0) {
          add.answer(Lesson(lesson), "word " + std::to_string(lesson) + "." + std::to_string(entry),
                     HoursAgo(now, static_cast<int>(random() % hoursThisWeek)),
                     2 + static_cast<int>(random() % 3), 5 + random() % 60);
        }
      }
    }
    // Learner 6 answered "hard 1" to "hard 25", learner 7 "hard 2" to "hard 25" and so on:
    // "hard k" is missed by k learners.
    for (int k = i - 5; i >= 6 && k <= kHardEntries; ++k) {
      if (k < 1 || hoursThisWeek <= 0) continue;
      // Learner 6 misses "hard 25" twice: its misses outnumber its learners.
      for (int miss = 0; miss < (i == 6 && k == kHardEntries ? 2 : 1); ++miss) {
        add.answer(Lesson(kLessons), "hard " + std::to_string(k),
                   HoursAgo(now, static_cast<int>(random() % hoursThisWeek)), 1, 12);
      }
    }
    if (i == 12 && !learner.items.answers.empty()) {
      // Every answer to one card taken back: the card is as if never answered.
      const std::string line1 = learner.items.answers.front().line1;
      for (const SyncAnswer& answer : learner.items.answers) {
        if (answer.line1 == line1) learner.items.withdrawals.push_back({answer.id, now - kMinute});
      }
    }
    if (i == 31 && hoursThisWeek > 0) {
      // A 重来 taken back counts nowhere.
      const SyncAnswer& slip = add.answer(Lesson(kLessons), "hard 25", HoursAgo(now, 0), 1, 30);
      learner.items.withdrawals.push_back({slip.id, now - kMinute});
    }
    if (i >= 8 && i <= 12 && hoursThisWeek > 0) {
      learner.items.results.push_back({{add.device, ++add.seq},
                                       HoursAgo(now, 0),
                                       "dictation",
                                       Lesson(1),
                                       i - 2,
                                       10,
                                       200,
                                       {},
                                       {}});
      learner.items.results.push_back({{add.device, ++add.seq},
                                       HoursAgo(now, 0),
                                       "typing",
                                       Lesson(1),
                                       20,
                                       20,
                                       120,
                                       30.0 + i,
                                       0.95});
    }
    fill.learners.push_back(std::move(learner));
  }
  return fill;
}

nlohmann::json ExpectedPage(const ClassFill& fill) {
  nlohmann::json expected;
  std::map<std::string, std::set<std::string>> entries;  // lesson -> its cards' lines
  std::map<std::string, std::map<std::string, std::pair<int, Millis>>> latest;  // number, card
  std::map<std::string, std::map<std::string, std::pair<int, std::set<std::string>>>> hard;
  for (const FilledLearner& learner : fill.learners) {
    std::set<std::int64_t> withdrawn;
    for (const auto& w : learner.items.withdrawals) withdrawn.insert(w.answer.seq);
    double seconds = 0;
    int answers = 0;
    std::set<int> days;
    for (const SyncAnswer& answer : learner.items.answers) {
      if (withdrawn.count(answer.id.seq)) continue;
      const std::string card = answer.lesson + "\n" + answer.line1;
      entries[answer.lesson].insert(answer.line1);
      auto& state = latest[learner.number][card];
      if (answer.time > state.second) state = {answer.grade, answer.time};
      if (answer.time < fill.weekStart) continue;
      seconds += answer.seconds;
      ++answers;
      const std::time_t at = answer.time / 1000;
      std::tm local{};
      localtime_r(&at, &local);
      days.insert(local.tm_yday);
      if (answer.grade == 1) {
        auto& missed = hard[answer.line1][answer.lesson];
        ++missed.first;
        missed.second.insert(learner.number);
      }
    }
    expected["week"][learner.number] = {{"minutes", static_cast<int>(seconds / 60)},
                                        {"answers", answers},
                                        {"days", days.size()},
                                        {"name", learner.name}};
  }
  for (const FilledLearner& learner : fill.learners) {
    for (const auto& [lesson, lines] : entries) {
      int learned = 0;
      int due = 0;
      for (const std::string& line : lines) {
        const auto found = latest[learner.number].find(lesson + "\n" + line);
        if (found == latest[learner.number].end()) continue;
        ++learned;
        due += hub::page::IsDueNow(found->second.first, found->second.second, fill.now);
      }
      expected["grid"][learner.number][lesson] = "已学 " + std::to_string(learned) + "/" +
                                                 std::to_string(lines.size()) + "，到期 " +
                                                 std::to_string(due);
    }
  }
  std::vector<std::tuple<int, std::string, int>> ranked;  // misses, entry, learners
  for (const auto& [line1, byLesson] : hard) {
    for (const auto& [lesson, missed] : byLesson) {
      ranked.emplace_back(missed.first, line1, static_cast<int>(missed.second.size()));
    }
  }
  std::sort(ranked.rbegin(), ranked.rend());
  ranked.resize(std::min<std::size_t>(ranked.size(), hub::page::kHardestShown));
  for (const auto& [misses, line1, learners] : ranked) {
    expected["hardest"].push_back({{"entry", line1}, {"misses", misses}, {"learners", learners}});
  }
  const std::string& top = std::get<1>(ranked.front());
  expected["who"] = hard[top].begin()->second.second;
  expected["who_entry"] = top;
  return expected;
}

}  // namespace hubtest

// SPDX-License-Identifier: MIT
// The numbers of the class page, kept apart from the database and from HTML: what a cell
// of the grid, a learner's week and the hardest entries hold, and the rules behind them
// (when a card counts as due, where the week starts, who comes first).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace hub::page {

using Millis = std::int64_t;  // since the epoch, as the answers carry it

struct Learner {
  std::int64_t id = 0;
  std::string number;  // 学号
  std::string name;
};

// A learner's cards of one lesson: how many were answered at least once (and not every
// answer withdrawn), how many of those are due now, and the latest answer's time.
struct GridCell {
  std::int64_t learned = 0;
  std::int64_t due = 0;
  Millis lastStudied = 0;
};

struct GridLesson {
  std::string name;
  std::int64_t entries = 0;  // distinct cards of the lesson
};

struct Grid {
  std::vector<Learner> learners;
  std::vector<GridLesson> lessons;
  std::map<std::pair<std::int64_t, std::string>, GridCell> cells;  // (learner id, lesson)
  const GridCell* cell(std::int64_t learner, const std::string& lesson) const;
};

// Grades as the study programs give them: 1 重来, 2 困难, 3 良好, 4 简单.
inline constexpr int kAgainGrade = 1;
// A card is due again this long after its latest answer, by that answer's grade: at once
// after 重来, then a day, three days, a week. A plain stand-in for the learner's own
// schedule, which only a replay of every answer would give.
Millis DueAfter(int grade);
bool IsDueNow(int latestGrade, Millis latestTime, Millis now);
// For each grade 1..4 (index grade - 1) the latest answer time at which a card is due now.
std::vector<Millis> DueCutoffs(Millis now);

// Whole percent of `part` in `whole`, rounded down, 0 for an empty whole.
int Percent(std::int64_t part, std::int64_t whole);
// Lesson names in reading order: runs of digits compare by their value ("第2课" < "第10课").
bool NaturalLess(const std::string& a, const std::string& b);

// The week: from Monday 00:00 in the server's local time zone.
Millis WeekStart(Millis now);
// The eight local midnights from the week's Monday to the next Monday (DST included).
std::vector<Millis> DayStarts(Millis weekStart);

struct RoundResult {
  Millis time = 0;
  int right = 0;
  int total = 0;
  std::optional<double> wordsPerMinute;
  std::optional<double> accuracy;
};

struct WeekRow {
  Learner learner;
  double seconds = 0;
  std::int64_t answers = 0;
  int daysActive = 0;
  std::optional<RoundResult> dictation;  // the latest of the week
  std::optional<RoundResult> typing;
  int minutes() const;  // whole minutes, rounded down
};

// Learners who did nothing this week first, then those short of the goal, then the rest;
// by 学号 within each. A goal of 0 means none was set.
void OrderWeek(std::vector<WeekRow>& rows, int goalMinutes);

struct HardEntry {
  std::string lesson;
  std::string line1;
  std::string line2;
  std::int64_t misses = 0;    // answers graded 重来 this week
  std::int64_t learners = 0;  // how many learners gave them
};

inline constexpr int kHardestShown = 20;

struct Miss {
  Learner learner;
  std::int64_t misses = 0;
};

}  // namespace hub::page

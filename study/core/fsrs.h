// SPDX-License-Identifier: MIT
// The Free Spaced Repetition Scheduler, version 6 (FSRS-6), with its published default
// parameters, a desired retention of 0.9, a longest interval of 36500 days and long-term
// scheduling only: every answer, the first included, updates stability and difficulty and
// schedules a whole number of days. No random fuzz.
#pragma once

#include <array>
#include <cstdint>

#include "learner_day.h"

namespace study {

enum class Grade : int { Again = 1, Hard = 2, Good = 3, Easy = 4 };

inline constexpr bool IsGrade(int value) {
  return value >= 1 && value <= 4;
}

struct MemoryState {
  double stability = 0;   // days until recall falls to 90 %
  double difficulty = 0;  // 1 (easiest) to 10
  bool operator==(const MemoryState&) const = default;
};

// One card's scheduling state: what its answers so far have made of it.
struct CardState {
  int reps = 0;    // answers
  int lapses = 0;  // answers of Again after the first
  MemoryState memory;
  Millis lastAnswer = 0;
  Millis due = 0;
  int intervalDays = 0;
  int lastGrade = 0;  // 0 before the first answer
  bool isNew() const { return reps == 0; }
  bool operator==(const CardState&) const = default;
};

// What one grade would give.
struct Outcome {
  MemoryState memory;
  int intervalDays = 0;
};

class Fsrs {
 public:
  static constexpr std::array<double, 21> kDefaultWeights{
      0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194, 0.001,  1.8722, 0.1666, 0.796,
      1.4835, 0.0614, 0.2629, 1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542};
  static constexpr double kDesiredRetention = 0.9;
  static constexpr int kMaximumInterval = 36500;
  static constexpr double kMinStability = 0.001;
  static constexpr double kMaxStability = 36500;

  // Days (elapsed since the last answer, and the interval to the due moment) are counted
  // by `days`: UTC calendar dates unless given, as the reference implementation does.
  explicit Fsrs(DayRule days = DayRule::Utc());

  const DayRule& days() const { return days_; }

  // What each grade (Again first) would give the card at `now`, all from the same state;
  // the intervals kept in order: Again <= Hard < Good < Easy.
  std::array<Outcome, 4> preview(const CardState& card, Millis now) const;
  // The card after answering `grade` at `now`.
  CardState answer(const CardState& card, Grade grade, Millis now) const;

  // The probability of recall after `elapsedDays` at `stability`.
  double retrievability(double elapsedDays, double stability) const;

 private:
  MemoryState firstMemory(int grade) const;
  MemoryState nextMemory(const MemoryState& memory, double recall, int grade) const;
  double initialDifficulty(int grade) const;
  double nextDifficulty(double difficulty, int grade) const;
  double recallStability(const MemoryState& memory, double recall, int grade) const;
  double forgetStability(const MemoryState& memory, double recall) const;
  int interval(double stability) const;

  static constexpr const std::array<double, 21>& w_ = kDefaultWeights;
  DayRule days_;
  double decay_;
  double factor_;
  double intervalModifier_;
};

}  // namespace study

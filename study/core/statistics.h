// SPDX-License-Identifier: MIT
// What 复习回忆's statistics show, counted from the answer log and the cards' due moments
// by the learner's day rule.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "learner_day.h"

namespace study {

struct Statistics {
  static constexpr int kDays = 30;
  static constexpr int kWeeks = 12;
  static constexpr int kWeekDays = 7;
  // A card answered right whose interval is this many days or more is held for good.
  static constexpr int kMatureDays = 21;
  std::int64_t today = 0;          // the learner's day counted for
  std::vector<int> answersPerDay;  // the last kDays learner's days, today last
  std::vector<int> duePerDay;      // the next kDays learner's days, today first (overdue too)
  // Per week, oldest first, this week last: answers on cards already in review (answered
  // on an earlier day before) and how many of them were 2 or more.
  std::vector<int> reviewAnswersPerWeek;
  std::vector<int> recalledPerWeek;
  int unlearned = 0;   // never answered
  int relearning = 0;  // last answer 1
  int young = 0;       // interval under kMatureDays
  int mature = 0;      // kMatureDays or more

  // The learner's day each count is for: answersPerDay[i], duePerDay[i], and the first day
  // of week i of the reviews.
  std::int64_t answerDay(int i) const { return today - kDays + 1 + i; }
  std::int64_t dueDay(int i) const { return today + i; }
  std::int64_t weekStart(int i) const { return today - kWeekDays * (kWeeks - i) + 1; }
};

// One answer of the log.
struct AnswerRow {
  std::int64_t card = 0;
  Millis time = 0;
  int grade = 0;
};

// The first moment whose answers count, and the moment from which due cards do not.
Millis StatisticsSince(Millis now, const DayRule& days);
Millis StatisticsDueUntil(Millis now, const DayRule& days);

// The day and week counts (the card stages are left at 0) from the answers since
// StatisticsSince in the order they were given (each card's in time order), every card's
// number of answers in all (those before StatisticsSince are earlier days), and the due
// moments before StatisticsDueUntil.
Statistics CountStatistics(const std::vector<AnswerRow>& answers,
                           const std::unordered_map<std::int64_t, int>& answersPerCard,
                           const std::vector<Millis>& dues, Millis now, const DayRule& days);

}  // namespace study

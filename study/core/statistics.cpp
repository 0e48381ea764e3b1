// SPDX-License-Identifier: MIT
#include "statistics.h"

#include <algorithm>

namespace study {
namespace {

constexpr int kCountedDays = std::max(Statistics::kDays, Statistics::kWeekDays* Statistics::kWeeks);

}  // namespace

Millis StatisticsSince(Millis now, const DayRule& days) {
  return days.startOf(days.dayOf(now) - kCountedDays + 1);
}

Millis StatisticsDueUntil(Millis now, const DayRule& days) {
  return days.startOf(days.dayOf(now) + Statistics::kDays);
}

Statistics CountStatistics(const std::vector<AnswerRow>& answers,
                           const std::unordered_map<std::int64_t, int>& answersPerCard,
                           const std::vector<Millis>& dues, Millis now, const DayRule& rule) {
  DayCounter days(rule);
  Statistics stats;
  stats.today = days.dayOf(now);
  stats.answersPerDay.assign(Statistics::kDays, 0);
  stats.duePerDay.assign(Statistics::kDays, 0);
  stats.reviewAnswersPerWeek.assign(Statistics::kWeeks, 0);
  stats.recalledPerWeek.assign(Statistics::kWeeks, 0);
  const std::int64_t firstDay = stats.answerDay(0);
  const std::int64_t firstWeekDay = stats.weekStart(0);
  // Each card's answers before the ones counted here: on earlier days, so its first one
  // here is a review when there were any.
  std::unordered_map<std::int64_t, int> here;
  for (const AnswerRow& answer : answers) ++here[answer.card];
  std::unordered_map<std::int64_t, std::int64_t> lastDay;
  for (const auto& [card, count] : here) {
    const auto all = answersPerCard.find(card);
    if (all != answersPerCard.end() && all->second > count) lastDay[card] = firstWeekDay - 1;
  }
  for (const AnswerRow& answer : answers) {
    const std::int64_t day = days.dayOf(answer.time);
    if (day >= firstDay && day <= stats.today) ++stats.answersPerDay[day - firstDay];
    const auto before = lastDay.find(answer.card);
    const bool review = before != lastDay.end() && before->second < day;
    lastDay[answer.card] = day;
    if (!review || day < firstWeekDay || day > stats.today) continue;
    const auto week = static_cast<std::size_t>((day - firstWeekDay) / Statistics::kWeekDays);
    ++stats.reviewAnswersPerWeek[week];
    if (answer.grade >= 2) ++stats.recalledPerWeek[week];
  }
  for (const Millis due : dues) {
    const std::int64_t day = std::max(days.dayOf(due), stats.today);
    if (day < stats.today + Statistics::kDays) ++stats.duePerDay[day - stats.today];
  }
  return stats;
}

}  // namespace study

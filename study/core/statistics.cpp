// SPDX-License-Identifier: MIT
#include "statistics.h"

#include <algorithm>

namespace study {
namespace {

constexpr int kWeekDays = 7;
constexpr int kCountedDays = std::max(Statistics::kDays, kWeekDays* Statistics::kWeeks);

}  // namespace

Millis StatisticsSince(Millis now, const DayRule& days) {
  return days.startOf(days.dayOf(now) - kCountedDays + 1);
}

Millis StatisticsDueUntil(Millis now, const DayRule& days) {
  return days.startOf(days.dayOf(now) + Statistics::kDays);
}

Statistics CountStatistics(const std::vector<AnswerRow>& answers, const std::vector<Millis>& dues,
                           Millis now, const DayRule& days) {
  Statistics stats;
  stats.today = days.dayOf(now);
  stats.answersPerDay.assign(Statistics::kDays, 0);
  stats.duePerDay.assign(Statistics::kDays, 0);
  stats.reviewAnswersPerWeek.assign(Statistics::kWeeks, 0);
  stats.recalledPerWeek.assign(Statistics::kWeeks, 0);
  const std::int64_t firstDay = stats.today - Statistics::kDays + 1;
  const std::int64_t firstWeekDay = stats.today - kWeekDays * Statistics::kWeeks + 1;
  for (const AnswerRow& answer : answers) {
    const std::int64_t day = days.dayOf(answer.time);
    if (day >= firstDay && day <= stats.today) ++stats.answersPerDay[day - firstDay];
    // A review: the card was answered on an earlier day before.
    if (!answer.before || days.dayOf(*answer.before) >= day) continue;
    if (day < firstWeekDay || day > stats.today) continue;
    const auto week = static_cast<std::size_t>((day - firstWeekDay) / kWeekDays);
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

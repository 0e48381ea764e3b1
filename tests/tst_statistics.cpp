// SPDX-License-Identifier: MIT
// The statistics counted from log rows by the learner's day, without a database.
#include <gtest/gtest.h>

#include "statistics.h"
#include "test_support.h"

namespace study {
namespace {

Millis At(const char* iso) {
  return *ParseIso(iso);
}

TEST(Statistics, AnswersAndReviewsFallOnTheLearnersDays) {
  testsupport::ScopedZone zone("America/New_York");
  const DayRule days = DayRule::Local(kDefaultDayStartMinutes);
  // Sunday 8 March 2026, the day summer time starts, 12:00 EDT.
  const Millis now = At("2026-03-08T16:00:00Z");
  const std::vector<AnswerRow> answers = {
      {4, At("2026-01-20T15:00:00Z"), 4},  // after an answer before these: a review
      // Monday before, then Saturday 10:00: a review, recalled; one of 1: lapsed.
      {5, At("2026-03-02T15:00:00Z"), 3},
      {6, At("2026-03-02T15:00:00Z"), 3},
      // Friday 23:00 EST, then 02:00 EST: one learner's day (Friday), no review.
      {3, At("2026-03-07T04:00:00Z"), 3},
      {3, At("2026-03-07T07:00:00Z"), 3},
      {5, At("2026-03-07T15:00:00Z"), 2},
      {6, At("2026-03-07T16:00:00Z"), 1},
      {1, At("2026-03-08T07:30:00Z"), 3},  // 03:30 EDT: still Saturday
      {2, At("2026-03-08T08:00:00Z"), 1},  // 04:00 EDT: Sunday
  };
  const std::unordered_map<std::int64_t, int> answersPerCard = {{1, 1}, {2, 1}, {3, 2},
                                                                {4, 2}, {5, 2}, {6, 2}};
  const std::vector<Millis> dues = {
      At("2026-03-01T15:00:00Z"),  // overdue: today
      At("2026-03-09T07:59:00Z"),  // 03:59 EDT Monday: still today
      At("2026-03-09T08:00:00Z"),  // tomorrow
      At("2026-04-30T08:00:00Z"),  // past the thirty days
  };
  const Statistics stats = CountStatistics(answers, answersPerCard, dues, now, days);
  const int last = Statistics::kDays - 1;
  EXPECT_EQ(FormatIso(stats.today * kMillisPerDay).substr(0, 10), "2026-03-08");
  EXPECT_EQ(stats.answersPerDay[last], 1);
  EXPECT_EQ(stats.answersPerDay[last - 1], 3);
  EXPECT_EQ(stats.answersPerDay[last - 2], 2);
  EXPECT_EQ(stats.answersPerDay[last - 6], 2);
  int counted = 0;
  for (const int n : stats.answersPerDay) counted += n;
  EXPECT_EQ(counted, 8);
  EXPECT_EQ(stats.duePerDay[0], 2);
  EXPECT_EQ(stats.duePerDay[1], 1);
  EXPECT_EQ(stats.reviewAnswersPerWeek.back(), 2);
  EXPECT_EQ(stats.recalledPerWeek.back(), 1);
  // Weeks end today: 20 January is in the week of 19 to 25 January, six before this one.
  EXPECT_EQ(stats.reviewAnswersPerWeek[Statistics::kWeeks - 1 - 6], 1);
  EXPECT_EQ(stats.recalledPerWeek[Statistics::kWeeks - 1 - 6], 1);
}

// Each count's day, as the statistics view and `studytool stats` label it: the answers'
// days end today, the due days start today, and the weeks end today.
TEST(Statistics, EachCountCarriesItsOwnDay) {
  Statistics stats;
  stats.today = At("2026-03-08T00:00:00Z") / kMillisPerDay;
  const struct {
    const char* what;
    std::int64_t day;
    const char* date;
  } cases[] = {
      {"first answers' day", stats.answerDay(0), "2026-02-07"},
      {"last answers' day", stats.answerDay(Statistics::kDays - 1), "2026-03-08"},
      {"first due day", stats.dueDay(0), "2026-03-08"},
      {"last due day", stats.dueDay(Statistics::kDays - 1), "2026-04-06"},
      {"first week", stats.weekStart(0), "2025-12-15"},
      {"week of 20 January", stats.weekStart(Statistics::kWeeks - 1 - 6), "2026-01-19"},
      {"this week", stats.weekStart(Statistics::kWeeks - 1), "2026-03-02"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatIso(c.day * kMillisPerDay).substr(0, 10), c.date) << c.what;
  }
}

}  // namespace
}  // namespace study

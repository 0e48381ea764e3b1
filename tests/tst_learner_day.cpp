// SPDX-License-Identifier: MIT
// The learner's day by the machine's zone rules: where a day turns over, in a zone without
// daylight saving and across the changes of two zones that have it, and what the
// scheduler counts by it.
#include <gtest/gtest.h>

#include "fsrs.h"
#include "learner_day.h"
#include "test_support.h"
#include "zone_check.h"

namespace study {
namespace {

Millis At(const char* iso) {
  return *ParseIso(iso);
}

struct DayCase {
  const char* zone;
  const char* moment;  // UTC
  const char* day;     // the learner's date, with the day starting at 04:00
};

TEST(LearnerDay, ADayRunsFromFourToFourByTheLocalClock) {
  const DayCase cases[] = {
      // UTC+8 all year: 07:30 on the 7th is the 7th, 03:59:59 still the 6th.
      {"Asia/Shanghai", "2026-12-06T23:30:00Z", "2026-12-07"},
      {"Asia/Shanghai", "2026-12-06T19:59:59Z", "2026-12-06"},
      {"Asia/Shanghai", "2026-12-06T20:00:00Z", "2026-12-07"},
      {"Asia/Shanghai", "2026-12-07T15:59:00Z", "2026-12-07"},  // 23:59 the same evening
      // New York: 02:00 EST becomes 03:00 EDT on 8 March, 02:00 EDT 01:00 EST on 1 November.
      {"America/New_York", "2026-03-07T08:59:59Z", "2026-03-06"},
      {"America/New_York", "2026-03-07T09:00:00Z", "2026-03-07"},
      {"America/New_York", "2026-03-08T07:59:59Z", "2026-03-07"},
      {"America/New_York", "2026-03-08T08:00:00Z", "2026-03-08"},
      {"America/New_York", "2026-11-01T08:59:59Z", "2026-10-31"},
      {"America/New_York", "2026-11-01T09:00:00Z", "2026-11-01"},
      // Berlin: 01:00 UTC both times, 29 March and 25 October.
      {"Europe/Berlin", "2026-03-29T01:59:59Z", "2026-03-28"},
      {"Europe/Berlin", "2026-03-29T02:00:00Z", "2026-03-29"},
      {"Europe/Berlin", "2026-10-25T02:59:59Z", "2026-10-24"},
      {"Europe/Berlin", "2026-10-25T03:00:00Z", "2026-10-25"},
  };
  const DayRule rule = DayRule::Local(kDefaultDayStartMinutes);
  for (const DayCase& c : cases) {
    testsupport::ScopedZone zone(c.zone);
    EXPECT_EQ(FormatDate(rule.dayOf(At(c.moment))), c.day) << c.zone << ' ' << c.moment;
  }
}

TEST(LearnerDay, EachDayStartsAtTheDayStartAndDaysOfAChangeAreShortOrLong) {
  struct LengthCase {
    const char* zone;
    int dayStart;
    const char* date;
    const char* starts;  // UTC
    int hours;           // until the next day starts
  };
  const LengthCase cases[] = {
      {"Asia/Shanghai", 4 * 60, "2026-12-07", "2026-12-06T20:00:00Z", 24},
      {"Asia/Shanghai", 0, "2026-12-07", "2026-12-06T16:00:00Z", 24},
      {"Asia/Shanghai", 23 * 60 + 30, "2026-12-07", "2026-12-07T15:30:00Z", 24},
      {"America/New_York", 4 * 60, "2026-03-07", "2026-03-07T09:00:00Z", 23},
      {"America/New_York", 4 * 60, "2026-10-31", "2026-10-31T08:00:00Z", 25},
      {"Europe/Berlin", 4 * 60, "2026-03-28", "2026-03-28T03:00:00Z", 23},
      {"Europe/Berlin", 4 * 60, "2026-10-24", "2026-10-24T02:00:00Z", 25},
  };
  for (const LengthCase& c : cases) {
    testsupport::ScopedZone zone(c.zone);
    const DayRule rule = DayRule::Local(c.dayStart);
    const std::int64_t day = DayOf(At((std::string(c.date) + "T12:00:00Z").c_str()));
    EXPECT_EQ(FormatIso(rule.startOf(day)), c.starts) << c.zone << ' ' << c.date;
    EXPECT_EQ(rule.startOf(day + 1) - rule.startOf(day), c.hours * 3'600'000LL) << c.zone;
    EXPECT_EQ(rule.dayOf(rule.startOf(day)), day);
    EXPECT_EQ(rule.dayOf(rule.startOf(day) - 1), day - 1);
  }
}

TEST(LearnerDay, TheCounterOfManyMomentsAgreesWithTheRuleAcrossEveryChange) {
  for (const char* name :
       {"America/New_York", "Europe/Berlin", "Asia/Shanghai", "Australia/Lord_Howe"}) {
    testsupport::ScopedZone zone(name);
    for (const int dayStart : {0, 150, 240}) {
      const DayRule rule = DayRule::Local(dayStart);
      DayCounter counter(rule);
      // Every 7 minutes and 11 seconds through 2026.
      for (Millis m = At("2026-01-01T00:00:00Z"); m < At("2027-01-01T00:00:00Z"); m += 431'000) {
        ASSERT_EQ(counter.dayOf(m), rule.dayOf(m))
            << name << ' ' << dayStart << ' ' << FormatIso(m);
      }
    }
  }
}

TEST(LearnerDay, TheUtcRuleCountsUtcDatesWhateverTheZone) {
  testsupport::ScopedZone zone("Asia/Shanghai");
  const DayRule utc = DayRule::Utc();
  EXPECT_EQ(utc.daysBetween(At("2026-01-05T23:59:59Z"), At("2026-01-06T00:00:01Z")), 1);
  EXPECT_EQ(utc.daysBetween(At("2026-01-05T00:00:00Z"), At("2026-01-05T23:59:59Z")), 0);
  EXPECT_EQ(utc.daysBetween(At("2026-01-06T00:00:00Z"), At("2026-01-05T00:00:00Z")), 0);
  EXPECT_EQ(utc.daysBetween(At("2024-02-28T12:00:00Z"), At("2024-03-01T12:00:00Z")), 2);
  EXPECT_EQ(utc.startOf(DayOf(At("2026-12-07T12:00:00Z"))), At("2026-12-07T00:00:00Z"));
}

TEST(LearnerDay, TheSchedulerCountsTheLearnersDays) {
  testsupport::ScopedZone zone("Asia/Shanghai");
  const Fsrs local(DayRule::Local(kDefaultDayStartMinutes));
  const Fsrs utc;
  // 07:30 and 08:30 the same morning: the same learner's day, two UTC dates.
  const CardState first = local.answer({}, Grade::Good, At("2026-12-06T23:30:00Z"));
  const Millis hourLater = At("2026-12-07T00:30:00Z");
  EXPECT_EQ(local.answer(first, Grade::Good, hourLater).memory,
            utc.answer(first, Grade::Good, At("2026-12-06T23:45:00Z")).memory)
      << "retrievability 1, as on one day";
  EXPECT_NE(utc.answer(first, Grade::Good, hourLater).memory,
            local.answer(first, Grade::Good, hourLater).memory);
  // Due at the same local time as many learner's days on as the interval.
  EXPECT_EQ(first.due, first.lastAnswer + first.intervalDays * kMillisPerDay);
}

TEST(LearnerDay, ADueDateKeepsItsClockTimeAcrossAChangeToSummerTime) {
  testsupport::ScopedZone zone("America/New_York");
  const DayRule rule = DayRule::Local(kDefaultDayStartMinutes);
  const Fsrs fsrs(rule);
  // 04:30 EST on 1 March, first answer Easy: 8 days, so due at 04:30 EDT on 9 March.
  const Millis now = At("2026-03-01T09:30:00Z");
  const CardState card = fsrs.answer({}, Grade::Easy, now);
  ASSERT_EQ(card.intervalDays, 8);
  EXPECT_EQ(FormatIso(card.due), "2026-03-09T08:30:00Z");
  EXPECT_EQ(rule.dayOf(card.due), rule.dayOf(now) + 8);
}

TEST(LearnerDay, ClockTimesAreReadAndWrittenAsHoursAndMinutes) {
  EXPECT_EQ(ParseClockTime("04:00"), 240);
  EXPECT_EQ(ParseClockTime("23:59"), 23 * 60 + 59);
  EXPECT_EQ(ParseClockTime("00:00"), 0);
  for (const char* bad : {"24:00", "4:00", "04:60", "04-00", "0400", "", "04:00 "}) {
    EXPECT_FALSE(ParseClockTime(bad)) << bad;
  }
  EXPECT_EQ(FormatClockTime(240), "04:00");
  EXPECT_EQ(FormatClockTime(23 * 60 + 59), "23:59");
}

// A zone the C library cannot find is counted in UTC without a word: it is told apart from
// the zone names, files and rules it knows.
TEST(LearnerDay, AZoneNameTheSystemDoesNotKnowIsFound) {
  const struct {
    const char* tz;
    bool known;
  } cases[] = {
      {"Asia/Shanghai", true},
      {":America/New_York", true},
      {"UTC", true},
      {"CST-8", true},
      {"EST5EDT,M3.2.0,M11.1.0", true},
      {"<+08>-8", true},
      {"/usr/share/zoneinfo/Europe/Berlin", true},
      {"Asia/Shanghia", false},
      {"Nowhere/Land", false},
      {"garbage::", false},
      {"Foo", false},
      {"/no/such/zone", false},
  };
  for (const auto& c : cases) {
    const testsupport::ScopedZone zone(c.tz);
    EXPECT_EQ(UnknownZone().has_value(), !c.known) << c.tz;
  }
}

}  // namespace
}  // namespace study

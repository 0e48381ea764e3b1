// SPDX-License-Identifier: MIT
// FSRS-6 against values worked out by hand from its published formulas, and the log's
// plain-text form.
#include <gtest/gtest.h>

#include <cmath>

#include "answer_log.h"
#include "fsrs.h"
#include "utc_time.h"

namespace study {
namespace {

constexpr auto& w = Fsrs::kDefaultWeights;

Millis At(const char* iso) {
  return *ParseIso(iso);
}

// The published formulas, written out once more, plainly.
double D0(int g) {
  return w[4] - std::exp(w[5] * (g - 1)) + 1;
}
double Factor() {
  return std::pow(0.9, -1 / w[20]) - 1;
}
double R(double days, double s) {
  return std::pow(1 + Factor() * days / s, -w[20]);
}
double NextD(double d, int g) {
  const double damped = d + (-w[6] * (g - 3)) * (10 - d) / 9;
  return std::clamp(w[7] * D0(4) + (1 - w[7]) * damped, 1.0, 10.0);
}
double RecallS(double d, double s, double r, int g) {
  return s * (1 + std::exp(w[8]) * (11 - d) * std::pow(s, -w[9]) * (std::exp(w[10] * (1 - r)) - 1) *
                      (g == 2 ? w[15] : 1) * (g == 4 ? w[16] : 1));
}
double ForgetS(double d, double s, double r) {
  return w[11] * std::pow(d, -w[12]) * (std::pow(s + 1, w[13]) - 1) * std::exp(w[14] * (1 - r));
}

TEST(Fsrs, FirstAnswerOfEachGrade) {
  const Fsrs fsrs;
  const auto outcomes = fsrs.preview(CardState{}, At("2026-01-05T08:00:00Z"));
  for (int g = 1; g <= 4; ++g) {
    const Outcome& o = outcomes[g - 1];
    EXPECT_NEAR(o.memory.stability, w[g - 1], 1e-9) << g;
    EXPECT_NEAR(o.memory.difficulty, std::clamp(D0(g), 1.0, 10.0), 1e-7) << g;
  }
  // round(S) gives 0, 1, 2 and 8 days; at least one day, then kept in order.
  EXPECT_EQ(outcomes[0].intervalDays, 1);
  EXPECT_EQ(outcomes[1].intervalDays, 2);
  EXPECT_EQ(outcomes[2].intervalDays, 3);
  EXPECT_EQ(outcomes[3].intervalDays, 8);
  const CardState good = fsrs.answer(CardState{}, Grade::Good, At("2026-01-05T08:00:00Z"));
  EXPECT_EQ(good.reps, 1);
  EXPECT_EQ(good.lapses, 0);
  EXPECT_EQ(good.due, At("2026-01-08T08:00:00Z"));
}

TEST(Fsrs, SameDayAnswersUseRetrievabilityOne) {
  const Fsrs fsrs;
  const CardState first = fsrs.answer(CardState{}, Grade::Good, At("2026-01-05T08:00:00Z"));
  const CardState again = fsrs.answer(first, Grade::Good, At("2026-01-05T23:59:59Z"));
  // e^(w10 (1 - 1)) - 1 = 0: a success on the same day keeps the stability.
  EXPECT_NEAR(again.memory.stability, w[2], 1e-9);
  EXPECT_NEAR(again.memory.difficulty, NextD(D0(3), 3), 1e-7);
  const CardState lapse = fsrs.answer(first, Grade::Again, At("2026-01-05T09:00:00Z"));
  EXPECT_NEAR(lapse.memory.stability, std::min(w[2], ForgetS(D0(3), w[2], 1.0)), 1e-7);
  EXPECT_EQ(lapse.lapses, 1);
}

TEST(Fsrs, ALapseAfterTenDaysNeverRaisesStability) {
  const Fsrs fsrs;
  CardState card = fsrs.answer(CardState{}, Grade::Easy, At("2026-01-05T08:00:00Z"));
  card = fsrs.answer(card, Grade::Good, At("2026-01-13T10:00:00Z"));  // 8 days on
  const double easy = std::clamp(D0(4), 1.0, 10.0);                   // D0(4) itself lies below 1
  const double s = RecallS(easy, w[3], R(8, w[3]), 3);
  const double d = NextD(easy, 3);
  EXPECT_NEAR(card.memory.stability, s, 1e-6);
  EXPECT_NEAR(card.memory.difficulty, d, 1e-6);
  const CardState lapsed = fsrs.answer(card, Grade::Again, At("2026-01-23T07:00:00Z"));
  EXPECT_NEAR(lapsed.memory.stability, std::min(s, ForgetS(d, s, R(10, s))), 1e-6);
  EXPECT_NEAR(lapsed.memory.difficulty, NextD(d, 1), 1e-6);
  EXPECT_LE(lapsed.memory.stability, card.memory.stability);
  EXPECT_EQ(lapsed.lapses, 1);
}

TEST(Fsrs, ATenYearGapAndTheLongestInterval) {
  const Fsrs fsrs;
  CardState card = fsrs.answer(CardState{}, Grade::Good, At("2016-01-05T08:00:00Z"));
  const int days = DayRule::Utc().daysBetween(card.lastAnswer, At("2026-01-05T08:00:00Z"));
  EXPECT_EQ(days, 3653);
  card = fsrs.answer(card, Grade::Hard, At("2026-01-05T08:00:00Z"));
  EXPECT_NEAR(card.memory.stability, RecallS(D0(3), w[2], R(days, w[2]), 2), 1e-6);

  // Easy after Easy after long gaps: the stability reaches its ceiling and so does the
  // interval; the grades' intervals are kept in order after that cap, past it.
  for (int year = 2030; card.memory.stability < Fsrs::kMaxStability; year += 100) {
    card = fsrs.answer(card, Grade::Easy, At((std::to_string(year) + "-01-05T08:00:00Z").c_str()));
  }
  EXPECT_EQ(card.memory.stability, 36500);
  const auto outcomes = fsrs.preview(card, card.due);
  for (int g = 2; g <= 4; ++g) EXPECT_EQ(outcomes[g - 1].memory.stability, 36500) << g;
  EXPECT_LE(outcomes[0].intervalDays, 36500);
  EXPECT_EQ(outcomes[1].intervalDays, 36500);
  EXPECT_EQ(outcomes[2].intervalDays, 36501);
  EXPECT_EQ(outcomes[3].intervalDays, 36502);
}

TEST(UtcTime, IsoFormRoundTripsAndRefusesOtherForms) {
  for (const char* text : {"2026-01-05T08:00:00Z", "1969-12-31T23:59:59Z", "2000-02-29T00:00:00Z",
                           "2026-01-05T08:00:00.250Z"}) {
    const auto moment = ParseIso(text);
    ASSERT_TRUE(moment) << text;
    EXPECT_EQ(FormatIso(*moment), text);
  }
  EXPECT_EQ(*ParseIso("1970-01-02T00:00:00Z"), kMillisPerDay);
  for (const char* text :
       {"2026-01-05 08:00:00Z", "2026-01-05T08:00:00", "2026-01-05T08:00:00+08:00",
        "2026-02-30T08:00:00Z", "2026-01-05T24:00:00Z", "2026-1-05T08:00:00Z", ""}) {
    EXPECT_FALSE(ParseIso(text)) << text;
  }
}

// A day's number as its date, on both sides of 1970 and on a leap day.
TEST(UtcTime, DayNumbersAreWrittenAsTheirDates) {
  const struct {
    std::int64_t day;
    const char* date;
  } cases[] = {{0, "1970-01-01"},
               {-1, "1969-12-31"},
               {11016, "2000-02-29"},
               {20794, "2026-12-07"},
               {-25508, "1900-03-01"}};
  for (const auto& c : cases) {
    EXPECT_EQ(FormatDate(c.day), c.date) << c.day;
    EXPECT_EQ(FormatIso(c.day * kMillisPerDay), std::string(c.date) + "T00:00:00Z") << c.day;
  }
}

TEST(AnswerLog, LinesParseAndBadOnesSayWhy) {
  std::string why;
  const auto line = ParseLogLine("w1\t2026-01-05T08:00:00Z\t3", why);
  ASSERT_TRUE(line);
  EXPECT_EQ(line->card, "w1");
  EXPECT_EQ(line->grade, Grade::Good);
  EXPECT_EQ(FormatLogLine(*line), "w1\t2026-01-05T08:00:00Z\t3");
  for (const char* bad :
       {"w1\t2026-01-05T08:00:00Z", "w1\t2026-01-05T08:00:00Z\t5", "\t2026-01-05T08:00:00Z\t3",
        "w1\tyesterday\t3", "w1\t2026-01-05T08:00:00Z\t3\textra", "w1\t2026-01-05T08:00:00Z\t"}) {
    why.clear();
    EXPECT_FALSE(ParseLogLine(bad, why)) << bad;
    EXPECT_FALSE(why.empty()) << bad;
  }
}

TEST(AnswerLog, ReplayRefusesACardsTimeGoingBackButNotAnotherCards) {
  Replay replay;
  std::string why;
  ASSERT_TRUE(replay.apply(*ParseLogLine("a\t2026-01-05T08:00:00Z\t3", why), why));
  // Another program's clock was behind: its card's answer comes later in the log.
  ASSERT_TRUE(replay.apply(*ParseLogLine("b\t2026-01-05T07:00:00Z\t1", why), why)) << why;
  EXPECT_FALSE(replay.apply(*ParseLogLine("a\t2026-01-05T07:59:59Z\t3", why), why));
  EXPECT_NE(why.find("time order"), std::string::npos);
}

}  // namespace
}  // namespace study

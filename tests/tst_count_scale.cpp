// SPDX-License-Identifier: MIT
// The axis of a chart of counts: whole, round, distinct ticks that reach the highest count.
#include <gtest/gtest.h>

#include <climits>

#include "count_scale.h"

namespace study {
namespace {

TEST(CountScale, ReachesTheHighestCountInFewRoundSteps) {
  const struct {
    int highest;
    std::int64_t top;
    std::int64_t step;
  } cases[] = {
      {0, 1, 1},       {1, 1, 1},     {2, 2, 1},
      {3, 3, 1},       {5, 5, 1},     {6, 6, 2},
      {7, 8, 2},       {10, 10, 2},   {11, 15, 5},
      {25, 25, 5},     {26, 30, 10},  {50, 50, 10},
      {51, 60, 20},    {99, 100, 20}, {101, 150, 50},
      {480, 500, 100}, {-3, 1, 1},    {INT_MAX, 2'500'000'000, 500'000'000},
  };
  for (const auto& c : cases) {
    const CountScale scale = ScaleForCounts(c.highest);
    EXPECT_EQ(scale.top, c.top) << c.highest;
    EXPECT_EQ(scale.step, c.step) << c.highest;
  }
}

// What a reader of the axis relies on, for every count a learner's chart may show.
TEST(CountScale, EveryTickIsWholeAndTheTopIsTheFirstOneAtOrAboveTheHighest) {
  for (int highest = 0; highest <= 20'000; ++highest) {
    const CountScale scale = ScaleForCounts(highest);
    std::int64_t mantissa = scale.step;
    while (mantissa % 10 == 0) mantissa /= 10;
    ASSERT_TRUE(mantissa == 1 || mantissa == 2 || mantissa == 5) << highest;
    ASSERT_EQ(scale.top % scale.step, 0) << highest;
    ASSERT_GE(scale.top, highest);
    ASSERT_LT(scale.top - scale.step, std::max(highest, 1)) << highest;
    ASSERT_LE(scale.top / scale.step, kMostCountSteps) << highest;
  }
}

}  // namespace
}  // namespace study

// SPDX-License-Identifier: MIT
// The value axis of a chart of counts, read at a glance: from 0, ticks at whole numbers a
// round step apart (1, 2, 5, 10, 20, 50, …), so that no label repeats and every bar ends on
// a number a learner can read off.
#pragma once

#include <cstdint>

namespace study {

struct CountScale {
  std::int64_t top = 1;   // a whole number of steps, at or above the highest count
  std::int64_t step = 1;  // 1, 2 or 5 times a power of ten
};

inline constexpr int kMostCountSteps = 5;

// The smallest round step that reaches `highest` in at most kMostCountSteps steps, and the
// lowest multiple of it that does; at least one step, so an empty chart still has an axis.
CountScale ScaleForCounts(int highest);

}  // namespace study

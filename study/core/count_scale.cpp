// SPDX-License-Identifier: MIT
#include "count_scale.h"

#include <algorithm>

namespace study {

CountScale ScaleForCounts(int highest) {
  const std::int64_t reach = std::max(highest, 1);
  for (std::int64_t power = 1;; power *= 10) {
    for (const std::int64_t step : {power, 2 * power, 5 * power}) {
      const std::int64_t steps = (reach + step - 1) / step;
      if (steps <= kMostCountSteps) return {steps * step, step};
    }
  }
}

}  // namespace study

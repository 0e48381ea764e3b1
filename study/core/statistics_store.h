// SPDX-License-Identifier: MIT
// What the statistics need of a learner's store: its answers and cards counted at a moment,
// by the learner's day rule it keeps. The progress store is one; tests give others.
#pragma once

#include "card_store.h"
#include "statistics.h"

namespace study {

class StatisticsStore {
 public:
  virtual ~StatisticsStore() = default;

  virtual Statistics statistics(Millis now, StoreFailure& failure) = 0;
};

}  // namespace study

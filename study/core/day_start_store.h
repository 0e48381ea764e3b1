// SPDX-License-Identifier: MIT
// What the settings need of a learner's store: the day rule it keeps and a new day start.
// The progress store is one; tests give others.
#pragma once

#include "card_store.h"
#include "learner_day.h"

namespace study {

class DayStartStore {
 public:
  virtual ~DayStartStore() = default;

  virtual const DayRule& dayRule() const = 0;
  // Keeps a new day start (minutes after local midnight), changed `now`; it counts from the
  // next answer.
  virtual bool setDayStart(int minutes, Millis now, StoreFailure& failure) = 0;
};

}  // namespace study

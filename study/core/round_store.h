// SPDX-License-Identifier: MIT
// What the rounds need of a learner's store: a finished round kept, the recent ones read,
// and the learner's day rule to date them by. The progress store is one; tests give others.
#pragma once

#include <string>
#include <vector>

#include "card_store.h"
#include "learner_day.h"
#include "round_session.h"

namespace study {

class RoundStore {
 public:
  virtual ~RoundStore() = default;

  virtual const DayRule& dayRule() const = 0;
  virtual bool saveResult(const RoundResult& result, StoreFailure& failure) = 0;
  // The last `count` rounds of `activity` in time order, on `lesson` when it is not empty.
  virtual std::vector<RoundResult> recentResults(const std::string& activity,
                                                 const std::string& lesson, int count,
                                                 StoreFailure& failure) = 0;
};

}  // namespace study

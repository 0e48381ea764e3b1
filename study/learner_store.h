// SPDX-License-Identifier: MIT
// The running learner's progress store, opened where the suite's folder rule says, and
// what to tell the learner when it cannot be used as it should. The windows reach it only
// through the small interfaces it hands out, one for each thing they do with it.
#pragma once

#include <QString>
#include <memory>
#include <string>

#include "card_store.h"
#include "day_start_store.h"
#include "file_places.h"
#include "round_store.h"
#include "statistics_store.h"

namespace study {
class ProgressStore;
}

namespace studydesk {

class LearnerStore {
 public:
  // No store: nothing of this sitting is saved.
  LearnerStore();
  // The whole file is checked later, by check(), so that the first card is not kept waiting.
  static LearnerStore Open(const suite::FilePlaces& places, study::Millis now);
  ~LearnerStore();
  LearnerStore(LearnerStore&&) noexcept;
  LearnerStore& operator=(LearnerStore&&) noexcept;

  bool opened() const { return store_ != nullptr; }
  // What to tell the learner about the opening; empty when all is well.
  const QString& notice() const { return notice_; }
  // What to tell the learner when the check finds the store damaged (empty when it is
  // sound): what was saved of it, or that nothing more is saved.
  QString check(study::Millis now);

  // Each null when there is no store.
  study::CardStore* cards() const;
  study::RoundStore* rounds() const;
  study::StatisticsStore* statistics() const;
  // Also null when the store takes no writes.
  study::DayStartStore* dayStart() const;
  // Where the store lives, for the sync that runs behind the window; empty when none.
  std::string path() const;

 private:
  std::unique_ptr<study::ProgressStore> store_;
  QString notice_;
};

// What to tell the learner when TZ names a zone the system does not know, so that days are
// counted in UTC (empty when the zone is known).
QString UnknownZoneNotice();

// Why the store failed, in words a learner reads.
QString StoreReason(const study::StoreFailure& failure);

}  // namespace studydesk

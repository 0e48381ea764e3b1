// SPDX-License-Identifier: MIT
// The running learner's progress store, opened where the suite's folder rule says, and
// what to tell the learner when it cannot be used as it should.
#pragma once

#include <QString>
#include <memory>

#include "file_places.h"
#include "progress_store.h"

namespace studydesk {

struct LearnerStore {
  std::unique_ptr<study::ProgressStore> store;  // none: nothing of this sitting is saved
  QString notice;                               // empty when all is well
};

// The whole file is checked later, by CheckLearnerStore, so that the first card is not
// kept waiting.
LearnerStore OpenLearnerStore(const suite::FilePlaces& places, study::Millis now);
// What to tell the learner when the check finds the store damaged (empty when it is sound):
// what was saved of it, or that nothing more is saved.
QString CheckLearnerStore(study::ProgressStore& store, study::Millis now);

// What to tell the learner when TZ names a zone the system does not know, so that days are
// counted in UTC (empty when the zone is known).
QString UnknownZoneNotice();

// Why the store failed, in words a learner reads.
QString StoreReason(const study::StoreFailure& failure);

}  // namespace studydesk

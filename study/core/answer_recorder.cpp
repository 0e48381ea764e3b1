// SPDX-License-Identifier: MIT
#include "answer_recorder.h"

namespace study {

AnswerRecorder::AnswerRecorder(CardStore* store, std::string activity)
    : store_(store), activity_(std::move(activity)) {}

Committed AnswerRecorder::record(const Card& card, Grade grade, Millis now, double seconds) {
  ++tally_.byGrade[static_cast<std::size_t>(grade) - 1];
  if (store_ && !store_->readOnly() && card.id != 0) {
    StoreFailure failure;
    if (auto done = store_->commit({card.id, now, grade, activity_, seconds}, failure)) {
      return *done;
    }
    tally_.why = NotSavedWhy::Failed;
    tally_.failure = failure;
  } else {
    tally_.why = store_ ? NotSavedWhy::ReadOnly : NotSavedWhy::NoStore;
  }
  ++tally_.notSaved;
  return {0, scheduler().answer(card.state, grade, NotBefore(card.state, now))};
}

void AnswerRecorder::forget(Grade grade, bool saved) {
  --tally_.byGrade[static_cast<std::size_t>(grade) - 1];
  if (!saved) --tally_.notSaved;
}

}  // namespace study

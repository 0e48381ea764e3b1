// SPDX-License-Identifier: MIT
// Keeps a memorising session's answers in the learner's store and counts them: by grade,
// and those that could not be saved, with why. Without a usable store the card's new state
// is worked out here, so the sitting goes on.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "card_store.h"

namespace study {

// Why answers were not saved.
enum class NotSavedWhy { NoStore, ReadOnly, Failed };

struct AnswerTally {
  std::array<int, 4> byGrade{};  // Again first
  int notSaved = 0;
  NotSavedWhy why = NotSavedWhy::NoStore;  // for the last answer not saved
  StoreFailure failure;                    // when `why` is Failed

  int answers() const { return byGrade[0] + byGrade[1] + byGrade[2] + byGrade[3]; }
};

class AnswerRecorder {
 public:
  // `store` may be null: nothing is saved then.
  AnswerRecorder(CardStore* store, std::string activity);

  // The card's state after the answer, and the answer's id in the store (0: not saved).
  Committed record(const Card& card, Grade grade, Millis now, double seconds);
  void startTally() { tally_ = {}; }
  // Takes an answer back from the tally (a saved one after the store took it back).
  void forget(Grade grade, bool saved);

  const AnswerTally& tally() const { return tally_; }
  CardStore* store() const { return store_; }
  // The store's scheduler; without a store, one by the default learner's day.
  const Fsrs& scheduler() const { return store_ ? store_->scheduler() : fsrs_; }

 private:
  CardStore* store_;
  std::string activity_;
  Fsrs fsrs_{DayRule::Local(kDefaultDayStartMinutes)};
  AnswerTally tally_;
};

}  // namespace study

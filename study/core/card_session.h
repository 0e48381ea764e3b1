// SPDX-License-Identifier: MIT
// What the two memorising sittings share: a card's front on show, then its meaning on show
// and waiting for a grade, until the sitting is over.
#pragma once

#include <array>

#include "card_store.h"

namespace study {

enum class CardStep { Front, Back, Finished };

enum class UndoOutcome { Done, NothingToUndo, AnsweredSince, Failed };

class CardSession {
 public:
  virtual ~CardSession() = default;

  CardStep step() const { return step_; }
  // The card on show; only while the sitting is not over.
  virtual const Card& current() const = 0;
  // The interval in days each grade (Again first) would give the current card now.
  std::array<int, 4> intervals(Millis now) const;
  void reveal() {
    if (step_ == CardStep::Front) step_ = CardStep::Back;
  }
  // Grades the current card once its meaning is shown; false (nothing done) otherwise.
  virtual bool answer(Grade grade, Millis now) = 0;
  // Takes back the last answer of this sitting; its card shows again, front first.
  virtual UndoOutcome undo(Millis now, StoreFailure& failure) = 0;
  virtual bool canUndo() const = 0;

 protected:
  // The scheduler the answers are kept by, counting the learner's days.
  virtual const Fsrs& scheduler() const = 0;

  CardStep step_ = CardStep::Finished;
};

}  // namespace study

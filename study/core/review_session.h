// SPDX-License-Identifier: MIT
// 复习回忆's sitting: the cards due today from every lesson, most overdue first. A card
// answered 1 comes back after the due ones (an ordinary same-day answer to the scheduler);
// the last answers can be taken back one by one. The session owns the card on show, the
// tally, the time and what is left for today.
#pragma once

#include <array>
#include <deque>
#include <map>
#include <optional>
#include <vector>

#include "answer_recorder.h"
#include "card_session.h"
#include "day_start_store.h"

namespace study {

class ReviewSession final : public CardSession {
 public:
  // `store` may be null: there is nothing to review then.
  ReviewSession(CardStore* store, Millis now);

  const Card& current() const override { return *current_; }
  bool answer(Grade grade, Millis now) override;
  // Takes back the last answer of this sitting that was saved; its card shows again.
  UndoOutcome undo(Millis now, StoreFailure& failure) override;
  bool canUndo() const override { return !taken_.empty(); }

  // After the learner's day changed: a card not yet revealed is chosen again (the one on
  // show may no longer be due) and what is left today counted again.
  void dayChanged(Millis now);
  // Keeps the learner's new day start in `store`, then counts by it as dayChanged does;
  // false, and nothing changed, when the store did not keep it.
  bool setDayStart(DayStartStore& store, int minutes, Millis now, StoreFailure& failure);
  // Cards still to see today, the one on show included.
  int leftToday() const { return leftToday_; }
  // When the next cards fall due (for the end of the sitting).
  const DueSummary& due() const { return due_; }
  // The learner's day the earliest of them falls due on, by the store's day rule.
  std::optional<std::int64_t> nextDueDay() const;
  const AnswerTally& tally() const { return recorder_.tally(); }
  // Cards answered in this sitting, each counted once.
  int cardsDone() const { return static_cast<int>(answersPerCard_.size()); }
  Millis elapsed() const { return end_ - start_; }
  // The last failure reading the store, if any.
  const StoreFailure& readFailure() const { return readFailure_; }

 protected:
  const Fsrs& scheduler() const override { return recorder_.scheduler(); }

 private:
  struct Taken {
    std::int64_t answerId;
    Card before;  // the card as it was before the answer
    Grade grade;
    bool fromAgain;  // it had come back after an answer of 1
  };
  void next(Millis now);
  void count(Millis now);

  AnswerRecorder recorder_;
  std::optional<Card> current_;
  bool currentIsAgain_ = false;
  std::deque<Card> again_;             // answered 1 in this sitting, to come back
  std::vector<std::int64_t> unsaved_;  // answered here, but still due in the store
  std::vector<Taken> taken_;
  std::map<std::int64_t, int> answersPerCard_;
  DueSummary due_;
  int leftToday_ = 0;
  StoreFailure readFailure_;
  Millis start_ = 0;
  Millis end_ = 0;
  Millis shownAt_ = 0;
};

}  // namespace study

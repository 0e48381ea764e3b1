// SPDX-License-Identifier: MIT
// 课文初记's sitting: the lesson's cards in file order, each until it is answered 2 or
// more; a card answered 1 comes back after the others. The session owns the card on show,
// whether its meaning is shown, the tally and the time, and keeps every answer; the
// answers of the pass can be taken back one by one, last first.
#pragma once

#include <array>
#include <deque>
#include <string>
#include <vector>

#include "answer_recorder.h"
#include "card_session.h"

namespace study {

class LearnSession final : public CardSession {
 public:
  // `store` may be null (nothing is saved). Call begin() before anything else.
  LearnSession(std::vector<Card> lesson, CardStore* store);

  // A new pass: `everyCard` goes through the whole lesson again, keeping each card's
  // schedule; otherwise cards already in review are left out.
  void begin(bool everyCard, Millis now);

  const Card& current() const override { return lesson_[queue_.front()]; }
  bool answer(Grade grade, Millis now) override;
  // Saved answers go from the store as well; an answer that was not saved from the pass.
  UndoOutcome undo(Millis now, StoreFailure& failure) override;
  bool canUndo() const override { return !taken_.empty(); }

  int lessonSize() const { return static_cast<int>(lesson_.size()); }
  int alreadyLearned() const { return alreadyLearned_; }  // when the pass began
  int total() const { return total_; }                    // cards of this pass
  // Which card of the pass is on show, counting each card once: "第 n / N 条".
  int position() const { return static_cast<int>(seen_.size()); }
  const AnswerTally& tally() const { return recorder_.tally(); }
  Millis elapsed() const { return end_ - start_; }

 protected:
  const Fsrs& scheduler() const override { return recorder_.scheduler(); }

 private:
  // An answer with what the pass was before it, so that taking it back is exact.
  struct Taken {
    std::int64_t answerId;  // 0: not saved
    std::size_t card;
    CardState before;
    Grade grade;
    std::deque<std::size_t> queue;
    std::size_t seen;
    Millis end;
  };
  void show(Millis now);

  std::vector<Card> lesson_;  // every card of the lesson with its latest state
  AnswerRecorder recorder_;
  std::deque<std::size_t> queue_;
  std::vector<std::size_t> seen_;
  std::vector<Taken> taken_;
  int alreadyLearned_ = 0;
  int total_ = 0;
  Millis start_ = 0;
  Millis end_ = 0;
  Millis shownAt_ = 0;
};

// An interval as the grade buttons show it: "3天", "2.5个月", "1.2年".
std::string IntervalText(int days);

}  // namespace study

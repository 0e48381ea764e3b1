// SPDX-License-Identifier: MIT
// One pass of first memorising through a lesson: its cards in file order, each until it is
// answered 2 or more; a card answered 1 comes back after the others in the same sitting.
#pragma once

#include <deque>
#include <vector>

#include "progress_store.h"

namespace study {

class LearnSession {
 public:
  // `everyCard` goes through the whole lesson again; otherwise cards already learned (in
  // review) are left out.
  LearnSession(std::vector<Card> lesson, bool everyCard);

  int lessonSize() const { return static_cast<int>(lessonSize_); }
  int alreadyLearned() const { return alreadyLearned_; }
  int total() const { return total_; }        // cards of this pass
  int finished() const { return finished_; }  // answered 2 or more
  bool done() const { return queue_.empty(); }
  const Card& current() const { return queue_.front(); }

  // The current card was answered and now has `state`.
  void answered(Grade grade, const CardState& state);

 private:
  std::size_t lessonSize_;
  int alreadyLearned_ = 0;
  int total_ = 0;
  int finished_ = 0;
  std::deque<Card> queue_;
};

// An interval as the grade buttons show it: "3天", "2.5个月", "1.2年".
std::string IntervalText(int days);

}  // namespace study

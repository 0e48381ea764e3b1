// SPDX-License-Identifier: MIT
// 听写训练: each entry until typed right; a wrong one shows what differed until the learner
// goes on, and comes back at the end of the round.
#pragma once

#include <deque>
#include <optional>

#include "answer_rule.h"
#include "round_session.h"

namespace study {

class DictationSession {
 public:
  DictationSession(std::vector<Entry> order, Millis now);

  RoundStep step() const { return step_; }
  // The entry asked for, or whose miss is on show.
  const Entry& current() const { return queue_.front().entry; }
  // The entry typed right just before the one asked now, for a short mark.
  const std::optional<Entry>& lastRight() const { return lastRight_; }
  // What differed in the miss on show.
  const Differences& miss() const { return miss_; }

  // Asking: checks the answer. Verdict: goes on (the answer is not looked at). False (and
  // nothing done) once the round is finished.
  bool submit(std::u16string_view typed, Millis now);
  // Whether the round still asks for entries, a verdict on show included.
  bool underWay() const { return step_ != RoundStep::Finished; }
  // Ends the round before its last entry: it counts the entries answered so far, and
  // nothing when none was. False (and nothing done) when there is nothing to keep.
  bool endEarly();
  bool endedEarly() const { return endedEarly_; }

  int total() const { return total_; }
  // Which entry of the round is asked, counting each entry once: "第 n / N 个".
  int position() const;
  // Entries answered at least once.
  int answered() const { return rightFirstTime_ + static_cast<int>(missed_.size()); }
  int rightFirstTime() const { return rightFirstTime_; }
  const std::vector<Entry>& missed() const { return missed_; }
  Millis elapsed() const { return time_.elapsed(); }
  RoundResult result() const;

 private:
  struct Pending {
    Entry entry;
    bool missedBefore = false;
  };
  std::deque<Pending> queue_;
  RoundStep step_ = RoundStep::Asking;
  std::optional<Entry> lastRight_;
  Differences miss_;
  int total_ = 0;
  int rightFirstTime_ = 0;
  bool endedEarly_ = false;
  std::vector<Entry> missed_;
  RoundTime time_;
};

}  // namespace study

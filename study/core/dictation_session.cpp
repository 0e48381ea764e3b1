// SPDX-License-Identifier: MIT
#include "dictation_session.h"

namespace study {

DictationSession::DictationSession(std::vector<Entry> order, Millis now)
    : total_(static_cast<int>(order.size())), time_(now) {
  for (Entry& entry : order) queue_.push_back({std::move(entry), false});
  if (queue_.empty()) step_ = RoundStep::Finished;
}

bool DictationSession::submit(std::u16string_view typed, Millis now) {
  if (step_ == RoundStep::Finished) return false;
  if (step_ == RoundStep::Verdict) {
    // The missed entry goes to the end of the round.
    Pending missed = std::move(queue_.front());
    queue_.pop_front();
    queue_.push_back(std::move(missed));
    step_ = RoundStep::Asking;
    return true;
  }
  time_.answered(now);
  Pending& pending = queue_.front();
  if (SameAnswer(typed, pending.entry.line1)) {
    if (!pending.missedBefore) ++rightFirstTime_;
    lastRight_ = pending.entry;
    queue_.pop_front();
    if (queue_.empty()) step_ = RoundStep::Finished;
    return true;
  }
  if (!pending.missedBefore) missed_.push_back(pending.entry);
  pending.missedBefore = true;
  lastRight_.reset();
  miss_ = Compare(typed, pending.entry.line1);
  step_ = RoundStep::Verdict;
  return true;
}

bool DictationSession::endEarly() {
  if (step_ == RoundStep::Finished || answered() == 0) return false;
  total_ = answered();
  queue_.clear();
  lastRight_.reset();
  step_ = RoundStep::Finished;
  endedEarly_ = true;
  return true;
}

int DictationSession::position() const {
  const bool askingAnew = step_ == RoundStep::Asking && !queue_.front().missedBefore;
  return answered() + (askingAnew ? 1 : 0);
}

RoundResult DictationSession::result() const {
  RoundResult result;
  result.time = time_.end();
  result.right = rightFirstTime_;
  result.total = total_;
  result.seconds = static_cast<double>(time_.elapsed()) / 1000.0;
  return result;
}

}  // namespace study

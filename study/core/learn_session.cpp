// SPDX-License-Identifier: MIT
#include "learn_session.h"

#include <algorithm>
#include <cstdio>

namespace study {

LearnSession::LearnSession(std::vector<Card> lesson, CardStore* store)
    : lesson_(std::move(lesson)), recorder_(store, "课文初记") {}

void LearnSession::begin(bool everyCard, Millis now) {
  queue_.clear();
  seen_.clear();
  taken_.clear();  // the answers of an earlier pass are not this pass's to take back
  alreadyLearned_ = 0;
  recorder_.startTally();
  for (std::size_t i = 0; i < lesson_.size(); ++i) {
    const bool isNew = lesson_[i].state.isNew();
    if (!isNew) ++alreadyLearned_;
    if (everyCard || isNew) queue_.push_back(i);
  }
  total_ = static_cast<int>(queue_.size());
  start_ = end_ = now;
  if (queue_.empty()) {
    step_ = CardStep::Finished;
    return;
  }
  show(now);
}

void LearnSession::show(Millis now) {
  step_ = CardStep::Front;
  shownAt_ = now;
  if (std::find(seen_.begin(), seen_.end(), queue_.front()) == seen_.end()) {
    seen_.push_back(queue_.front());
  }
}

bool LearnSession::answer(Grade grade, Millis now) {
  if (step_ != CardStep::Back) return false;
  const std::size_t index = queue_.front();
  Taken taken{0, index, lesson_[index].state, grade, queue_, seen_.size(), end_};
  queue_.pop_front();
  const double seconds = static_cast<double>(std::max<Millis>(0, now - shownAt_)) / 1000.0;
  // The next pass, and a card coming back in this one, start from what this answer made.
  const Committed done = recorder_.record(lesson_[index], grade, now, seconds);
  lesson_[index].state = done.state;
  taken.answerId = done.answerId;
  taken_.push_back(std::move(taken));
  if (grade == Grade::Again) queue_.push_back(index);
  end_ = now;
  if (queue_.empty()) {
    step_ = CardStep::Finished;
  } else {
    show(now);
  }
  return true;
}

UndoOutcome LearnSession::undo(Millis now, StoreFailure& failure) {
  if (taken_.empty()) return UndoOutcome::NothingToUndo;
  Taken& last = taken_.back();
  if (last.answerId != 0 && !recorder_.store()->undo(last.answerId, failure)) {
    return failure.kind == StoreFailure::Kind::AnsweredSince ? UndoOutcome::AnsweredSince
                                                             : UndoOutcome::Failed;
  }
  recorder_.forget(last.grade, last.answerId != 0);
  lesson_[last.card].state = last.before;
  queue_ = std::move(last.queue);
  seen_.resize(last.seen);
  end_ = last.end;
  taken_.pop_back();
  step_ = CardStep::Front;
  shownAt_ = now;
  return UndoOutcome::Done;
}

std::string IntervalText(int days) {
  char text[32];
  if (days < 30) {
    std::snprintf(text, sizeof text, "%d天", days);
  } else if (days < 365) {
    std::snprintf(text, sizeof text, "%.1f个月", days / 30.0);
  } else {
    std::snprintf(text, sizeof text, "%.1f年", days / 365.0);
  }
  return text;
}

}  // namespace study

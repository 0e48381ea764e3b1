// SPDX-License-Identifier: MIT
#include "review_session.h"

#include <algorithm>

namespace study {

ReviewSession::ReviewSession(CardStore* store, Millis now)
    : recorder_(store, "复习回忆"), start_(now), end_(now) {
  next(now);
}

void ReviewSession::next(Millis now) {
  current_.reset();
  currentIsAgain_ = false;
  if (CardStore* store = recorder_.store()) {
    std::vector<std::int64_t> skip = unsaved_;
    for (const Card& card : again_) skip.push_back(card.id);
    StoreFailure failure;
    current_ = store->nextDue(now, skip, failure);
    if (failure.failed()) readFailure_ = failure;
  }
  if (!current_ && !again_.empty()) {
    current_ = std::move(again_.front());
    again_.pop_front();
    currentIsAgain_ = true;
  }
  step_ = current_ ? CardStep::Front : CardStep::Finished;
  shownAt_ = now;
  count(now);
}

void ReviewSession::dayChanged(Millis now) {
  if (step_ != CardStep::Front) {
    count(now);
    return;
  }
  if (currentIsAgain_) again_.push_front(std::move(*current_));
  next(now);
}

bool ReviewSession::setDayStart(DayStartStore& store, int minutes, Millis now,
                                StoreFailure& failure) {
  if (!store.setDayStart(minutes, now, failure)) return false;
  dayChanged(now);
  return true;
}

void ReviewSession::count(Millis now) {
  due_ = {};
  if (CardStore* store = recorder_.store()) {
    StoreFailure failure;
    due_ = store->dueSummary(now, failure);
    if (failure.failed()) readFailure_ = failure;
  }
  // Answers that could not be saved leave their cards due in the store.
  const int stillDue = std::max(0, due_.dueToday - static_cast<int>(unsaved_.size()));
  leftToday_ = stillDue + static_cast<int>(again_.size()) + (currentIsAgain_ ? 1 : 0);
}

bool ReviewSession::answer(Grade grade, Millis now) {
  if (step_ != CardStep::Back) return false;
  const double seconds = static_cast<double>(std::max<Millis>(0, now - shownAt_)) / 1000.0;
  const Committed done = recorder_.record(*current_, grade, now, seconds);
  ++answersPerCard_[current_->id];
  if (done.answerId != 0) {
    taken_.push_back({done.answerId, *current_, grade, currentIsAgain_});
  } else if (std::find(unsaved_.begin(), unsaved_.end(), current_->id) == unsaved_.end()) {
    unsaved_.push_back(current_->id);
  }
  if (grade == Grade::Again) {
    Card later = *current_;
    later.state = done.state;
    again_.push_back(std::move(later));
  }
  end_ = now;
  next(now);
  return true;
}

UndoOutcome ReviewSession::undo(Millis now, StoreFailure& failure) {
  if (taken_.empty() || !recorder_.store()) return UndoOutcome::NothingToUndo;
  const Taken last = taken_.back();
  if (!recorder_.store()->undo(last.answerId, failure)) {
    return failure.kind == StoreFailure::Kind::AnsweredSince ? UndoOutcome::AnsweredSince
                                                             : UndoOutcome::Failed;
  }
  taken_.pop_back();
  recorder_.forget(last.grade, true);
  if (--answersPerCard_[last.before.id] == 0) answersPerCard_.erase(last.before.id);
  // The card answered 1 no longer comes back: its answer is gone.
  std::erase_if(again_, [&](const Card& card) { return card.id == last.before.id; });
  // The card on show waits again where it came from: the store still has it due.
  if (current_ && currentIsAgain_ && current_->id != last.before.id) {
    again_.push_front(std::move(*current_));
  }
  current_ = last.before;
  currentIsAgain_ = last.fromAgain;
  step_ = CardStep::Front;
  shownAt_ = now;
  count(now);
  return UndoOutcome::Done;
}

}  // namespace study

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
  finished_ = 0;
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

std::array<int, 4> LearnSession::intervals(Millis now) const {
  const auto outcomes = recorder_.scheduler().preview(current().state, now);
  return {outcomes[0].intervalDays, outcomes[1].intervalDays, outcomes[2].intervalDays,
          outcomes[3].intervalDays};
}

void LearnSession::show(Millis now) {
  step_ = CardStep::Front;
  shownAt_ = now;
  if (std::find(seen_.begin(), seen_.end(), queue_.front()) == seen_.end()) {
    seen_.push_back(queue_.front());
  }
}

void LearnSession::reveal() {
  if (step_ == CardStep::Front) step_ = CardStep::Back;
}

bool LearnSession::answer(Grade grade, Millis now) {
  if (step_ != CardStep::Back) return false;
  const std::size_t index = queue_.front();
  queue_.pop_front();
  const double seconds = static_cast<double>(std::max<Millis>(0, now - shownAt_)) / 1000.0;
  // The next pass, and a card coming back in this one, start from what this answer made.
  lesson_[index].state = recorder_.record(lesson_[index], grade, now, seconds).state;
  if (grade == Grade::Again) {
    queue_.push_back(index);
  } else {
    ++finished_;
  }
  end_ = now;
  if (queue_.empty()) {
    step_ = CardStep::Finished;
  } else {
    show(now);
  }
  return true;
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

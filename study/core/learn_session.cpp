// SPDX-License-Identifier: MIT
#include "learn_session.h"

#include <cstdio>

namespace study {

LearnSession::LearnSession(std::vector<Card> lesson, bool everyCard) : lessonSize_(lesson.size()) {
  for (Card& card : lesson) {
    if (!card.state.isNew()) ++alreadyLearned_;
    if (everyCard || card.state.isNew()) queue_.push_back(std::move(card));
  }
  total_ = static_cast<int>(queue_.size());
}

void LearnSession::answered(Grade grade, const CardState& state) {
  Card card = std::move(queue_.front());
  queue_.pop_front();
  card.state = state;
  if (grade == Grade::Again) {
    queue_.push_back(std::move(card));
  } else {
    ++finished_;
  }
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

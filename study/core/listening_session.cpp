// SPDX-License-Identifier: MIT
#include "listening_session.h"

#include <algorithm>
#include <random>

#include "answer_rule.h"

namespace study {

ListeningSession::ListeningSession(std::vector<Entry> order, std::uint32_t seed, Millis now)
    : time_(now) {
  std::mt19937 random(seed);
  for (const Entry& entry : order) {
    Question question{entry, {entry.line2}, 0};
    std::vector<std::u16string> others;
    for (const Entry& other : order) {
      if (SameAnswer(other.line2, entry.line2)) continue;
      if (std::find(others.begin(), others.end(), other.line2) == others.end()) {
        others.push_back(other.line2);
      }
    }
    std::shuffle(others.begin(), others.end(), random);
    if (others.size() > 3) others.resize(3);
    question.options.insert(question.options.end(), others.begin(), others.end());
    std::shuffle(question.options.begin(), question.options.end(), random);
    question.right =
        static_cast<int>(std::find(question.options.begin(), question.options.end(), entry.line2) -
                         question.options.begin());
    questions_.push_back(std::move(question));
  }
  if (questions_.empty()) step_ = RoundStep::Finished;
}

bool ListeningSession::choose(int option, Millis now) {
  if (step_ != RoundStep::Asking || option < 0 ||
      option >= static_cast<int>(current().options.size())) {
    return false;
  }
  time_.answered(now);
  picked_ = option;
  if (pickedRight()) {
    ++right_;
  } else {
    missed_.push_back(current().entry);
  }
  step_ = RoundStep::Verdict;
  return true;
}

void ListeningSession::goOn() {
  if (step_ != RoundStep::Verdict) return;
  picked_ = -1;
  step_ = ++next_ < questions_.size() ? RoundStep::Asking : RoundStep::Finished;
}

RoundResult ListeningSession::result() const {
  RoundResult result;
  result.time = time_.end();
  result.right = right_;
  result.total = total();
  result.seconds = static_cast<double>(time_.elapsed()) / 1000.0;
  return result;
}

}  // namespace study

// SPDX-License-Identifier: MIT
// 听力自测: one question per entry, its meaning picked among up to three others of the
// lesson; the verdict marks the option picked and the right one until the learner goes on.
#pragma once

#include "round_session.h"

namespace study {

struct Question {
  Entry entry;
  std::vector<std::u16string> options;  // line 2 texts, the right one among them
  int right = 0;                        // its place in options
};

class ListeningSession {
 public:
  // Whether a lesson makes a round: one entry has no other meaning to be told from.
  static bool Suits(const std::vector<Entry>& entries) { return entries.size() >= 2; }
  ListeningSession(std::vector<Entry> order, std::uint32_t seed, Millis now);

  RoundStep step() const { return step_; }
  // Whether the round still asks questions, a verdict on show included.
  bool underWay() const { return step_ != RoundStep::Finished; }
  const Question& current() const { return questions_[next_]; }
  // At the verdict: the option picked.
  int picked() const { return picked_; }
  bool pickedRight() const { return picked_ == current().right; }

  // Asking: picks an option (one of the question's); false when there is no such option.
  bool choose(int option, Millis now);
  // Verdict: to the next question, or the end.
  void goOn();

  int total() const { return static_cast<int>(questions_.size()); }
  int right() const { return right_; }  // verdicts so far that were right
  const std::vector<Entry>& missed() const { return missed_; }
  Millis elapsed() const { return time_.elapsed(); }
  RoundResult result() const;

 private:
  std::vector<Question> questions_;
  std::size_t next_ = 0;
  RoundStep step_ = RoundStep::Asking;
  int picked_ = -1;
  int right_ = 0;
  std::vector<Entry> missed_;
  RoundTime time_;
};

}  // namespace study

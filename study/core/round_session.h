// SPDX-License-Identifier: MIT
// What the rounds of dictation, listening and typing share: where the round stands, its
// entries' order, its time from the injected clock and the result it ends with.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "handoff_lesson.h"
#include "utc_time.h"

namespace study {

// Asking: an entry waits for its answer. Verdict: the answer's verdict is on show until the
// learner goes on. Finished: the round's end is on show.
enum class RoundStep { Asking, Verdict, Finished };

// One finished round of 听写训练 ("dictation"), 听力自测 ("listening") or 休闲打字
// ("typing"). Rounds are not reviews: they never change a card's schedule.
struct RoundResult {
  Millis time = 0;
  std::string activity;
  std::string lesson;
  int right = 0;
  int total = 0;
  double seconds = 0;
  std::optional<double> wordsPerMinute;  // typing only
  std::optional<double> accuracy;        // typing only
};

// The entries in file order, or shuffled with `seed`.
std::vector<Entry> RoundOrder(std::vector<Entry> entries, bool shuffled, std::uint32_t seed);

// The span of a round: from its start to its last answer.
class RoundTime {
 public:
  explicit RoundTime(Millis start) : start_(start), end_(start) {}
  void answered(Millis now) { end_ = now; }
  Millis elapsed() const { return end_ - start_; }
  Millis end() const { return end_; }

 private:
  Millis start_;
  Millis end_;
};

}  // namespace study

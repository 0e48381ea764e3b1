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

// One round after another on a lesson: each takes the next seed, from which its order is
// shuffled when the learner asks for it and its other chances are drawn, so that a seed
// given at the start replays a whole sitting.
class RoundSeeds {
 public:
  explicit RoundSeeds(std::uint32_t seed) : seed_(seed) {}
  bool shuffled() const { return shuffled_; }
  void setShuffled(bool shuffled) { shuffled_ = shuffled; }

  struct Round {
    std::vector<Entry> entries;
    std::uint32_t seed;
  };
  Round next(const std::vector<Entry>& entries);

 private:
  std::uint32_t seed_;
  bool shuffled_ = false;
};

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

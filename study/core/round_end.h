// SPDX-License-Identifier: MIT
// The end of a round: stamped with its activity and lesson, kept in the learner's store
// and set among the learner's recent rounds of the activity for the chart.
#pragma once

#include <string>
#include <vector>

#include "round_store.h"

namespace study {

// The kinds of round: how the store and studytool name each, and whether its figures are
// typing speed and accuracy, charted over every lesson rather than the round's own.
struct RoundKind {
  const char* name;
  bool typing;
};
inline constexpr RoundKind kDictationRound{"dictation", false};
inline constexpr RoundKind kListeningRound{"listening", false};
inline constexpr RoundKind kTypingRound{"typing", true};

// How many recent rounds the chart shows.
inline constexpr int kHistoryRounds = 30;

struct RoundEnd {
  enum class Kept { Saved, NoStore, Failed };
  Kept kept = Kept::Saved;
  StoreFailure failure;              // why it was not saved, when Failed
  std::vector<RoundResult> history;  // oldest first, never empty: this round at least
  DayRule days = DayRule::Local(kDefaultDayStartMinutes);
};

// Keeps `result` of a round of `kind` on `lesson` in `store` (none: it is kept nowhere)
// and reads back the history to show.
RoundEnd EndRound(RoundResult result, const RoundKind& kind, const std::string& lesson,
                  RoundStore* store);

}  // namespace study

// SPDX-License-Identifier: MIT
// The answer log in its plain-text form, one answer a line, "card<TAB>time<TAB>grade" with
// the time in ISO-8601 UTC, and its replay through the scheduler.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "fsrs.h"
#include "utc_time.h"

namespace study {

struct LogLine {
  std::string card;
  Millis time = 0;
  Grade grade = Grade::Again;
};

std::string FormatLogLine(const LogLine& line);
// Nothing, with `why` set, for a line that is not of that form.
std::optional<LogLine> ParseLogLine(std::string_view text, std::string& why);

// Replays answers, cards interleaved, each card's in time order.
class Replay {
 public:
  // Days are counted by `days`: UTC dates unless given, so a log replays alike anywhere.
  explicit Replay(DayRule days = DayRule::Utc()) : fsrs_(days) {}

  // The card's state after the answer; nothing, with `why` set, for an answer earlier than
  // its card's answer before it.
  std::optional<CardState> apply(const LogLine& line, std::string& why);

 private:
  Fsrs fsrs_;
  std::unordered_map<std::string, CardState> cards_;
};

// Makes a card's state again from its answers, in the order they were committed: what
// version 1 stores lack, and what undo needs for one card.
CardState ReplayCard(const Fsrs& fsrs, const std::vector<std::pair<Millis, Grade>>& answers);

// "card<TAB>time<TAB>grade<TAB>stability<TAB>difficulty<TAB>interval_days<TAB>due".
std::string FormatReplayLine(const LogLine& line, const CardState& after);

}  // namespace study

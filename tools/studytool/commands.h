// SPDX-License-Identifier: MIT
// studytool's commands, each returning the exit status.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "learner_day.h"

namespace studytool {

// Replays the log read from `in` through the scheduler, counting days by `days`: one line
// out per answer. Stops at the first bad line, naming it and the reason on `err` (exit 1).
int Replay(std::istream& in, std::ostream& out, std::ostream& err,
           const study::DayRule& days = study::DayRule::Utc());
// The same for the log in a file; a file that cannot be read, or is not a regular file,
// is named with the reason (exit 2).
int ReplayFile(const std::string& path, std::ostream& out, std::ostream& err,
               const study::DayRule& days = study::DayRule::Utc());

// Prints the store's answers in the form Replay reads, the cards named by their ids (exit 2
// when there is no readable store).
int Log(const std::string& store, std::ostream& out, std::ostream& err);

// Prints the finished rounds of dictation, listening and typing, one a line in time order:
// time, activity, lesson, right, total, seconds and, for typing, "wpm=… accuracy=…".
int Results(const std::string& store, std::ostream& out, std::ostream& err);

// Prints what the statistics show at `now`: answers per day, due cards per day, reviews and
// recalls per week, cards per state; one "what<TAB>when<TAB>count" line each, the days
// the learner's days by their local dates.
int Stats(const std::string& store, study::Millis now, std::ostream& out, std::ostream& err);

// Keeps `minutes` as the store's day start, or without it prints the day start ("04:00")
// from the store opened only to read.
int DayStart(const std::string& store, std::optional<int> minutes, std::ostream& out,
             std::ostream& err);

// Checks the store; a damaged one is kept aside and what can be read of it saved into a
// fresh store, each card's state replayed from its answers: how many answers were saved and
// lost. A sound store is left as it is; a file that is not a store is refused (exit 2).
int Recover(const std::string& store, study::Millis now, std::ostream& out, std::ostream& err);

}  // namespace studytool

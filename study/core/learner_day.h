// SPDX-License-Identifier: MIT
// The learner's day: from the day start (04:00 unless the learner chose otherwise) on one
// date to the day start on the next, by the machine's local time and its zone rules,
// daylight saving included, so that a late evening belongs to the day it started in. A
// day's number is the local calendar date of (moment − day start), counted from 1970-01-01.
// The UTC rule (midnight to midnight in UTC) is the one a log replays by on every machine.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "utc_time.h"

namespace study {

inline constexpr int kDefaultDayStartMinutes = 4 * 60;
inline constexpr int kMinutesPerDay = 24 * 60;

class DayRule {
 public:
  // UTC calendar dates.
  static DayRule Utc() { return DayRule(false, 0); }
  // Local dates, each day starting `dayStartMinutes` (0 to 1439) after local midnight.
  static DayRule Local(int dayStartMinutes) { return DayRule(true, dayStartMinutes); }

  bool local() const { return local_; }
  int dayStartMinutes() const { return dayStart_; }

  // The moment as the learner's clock shows it less the day start, written as if it were
  // UTC: its UTC calendar date is the learner's day.
  Millis shift(Millis moment) const;
  // The moment whose shift is `shifted` (a clock time that a change of offset skips comes
  // out an offset's difference away, on one side of the change).
  Millis unshift(Millis shifted) const;

  std::int64_t dayOf(Millis moment) const { return DayOf(shift(moment)); }
  // The first moment of a learner's day.
  Millis startOf(std::int64_t day) const { return unshift(day * kMillisPerDay); }
  // Whole learner's days from `last` to `now`; never negative.
  int daysBetween(Millis last, Millis now) const;

  bool operator==(const DayRule&) const = default;

 private:
  DayRule(bool local, int dayStart) : local_(local), dayStart_(dayStart) {}

  bool local_;
  int dayStart_;  // minutes after midnight
};

// The local zone's offset from UTC at a moment, by the system's zone rules (TZ).
Millis LocalOffset(Millis moment);

// The learner's days of many moments, asking the zone rules about two moments per UTC day
// met instead of one per moment: a day whose offset is the same at both ends has it all
// day long (a zone changes its offset at most a few times a year).
class DayCounter {
 public:
  explicit DayCounter(const DayRule& rule) : rule_(rule) {}
  std::int64_t dayOf(Millis moment);

 private:
  DayRule rule_;
  std::unordered_map<std::int64_t, std::optional<Millis>> offsets_;  // by UTC day
};

// "HH:MM", 00:00 to 23:59, as minutes after midnight; nothing for any other text.
std::optional<int> ParseClockTime(std::string_view text);
std::string FormatClockTime(int minutes);

}  // namespace study

// SPDX-License-Identifier: MIT
#include "learner_day.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace study {
Millis LocalOffset(Millis moment) {
  const Millis belowSecond = (moment % 1000 + 1000) % 1000;
  const auto seconds = static_cast<std::time_t>((moment - belowSecond) / 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  return static_cast<Millis>(local.tm_gmtoff) * 1000;
}

Millis DayRule::shift(Millis moment) const {
  if (!local_) return moment;
  return moment + LocalOffset(moment) - Millis{dayStart_} * 60'000;
}

Millis DayRule::unshift(Millis shifted) const {
  if (!local_) return shifted;
  // The offset where the result will lie, found in two steps: the first guess is off only
  // within hours of a change of offset, and the second is then on the right side of it.
  const Millis clock = shifted + Millis{dayStart_} * 60'000;
  const Millis guess = clock - LocalOffset(clock);
  return clock - LocalOffset(guess);
}

int DayRule::daysBetween(Millis last, Millis now) const {
  return static_cast<int>(std::max<std::int64_t>(0, dayOf(now) - dayOf(last)));
}

std::int64_t DayCounter::dayOf(Millis moment) {
  if (!rule_.local()) return rule_.dayOf(moment);
  const std::int64_t utcDay = DayOf(moment);
  auto [known, added] = offsets_.try_emplace(utcDay);
  if (added) {
    const Millis start = LocalOffset(utcDay * kMillisPerDay);
    const Millis end = LocalOffset((utcDay + 1) * kMillisPerDay - 1);
    if (start == end) known->second = start;
  }
  if (!known->second) return rule_.dayOf(moment);
  return DayOf(moment + *known->second - Millis{rule_.dayStartMinutes()} * 60'000);
}

std::optional<int> ParseClockTime(std::string_view text) {
  if (text.size() != 5 || text[2] != ':') return std::nullopt;
  for (const std::size_t at : {0U, 1U, 3U, 4U}) {
    if (text[at] < '0' || text[at] > '9') return std::nullopt;
  }
  const int hours = (text[0] - '0') * 10 + (text[1] - '0');
  const int minutes = (text[3] - '0') * 10 + (text[4] - '0');
  if (hours > 23 || minutes > 59) return std::nullopt;
  return hours * 60 + minutes;
}

std::string FormatClockTime(int minutes) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", minutes / 60 % 24, minutes % 60);
  return text;
}

}  // namespace study

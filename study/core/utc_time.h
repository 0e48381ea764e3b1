// SPDX-License-Identifier: MIT
// Moments in UTC as whole milliseconds since 1970, their calendar days, and the ISO-8601
// form the study tools read and write ("2026-01-05T08:00:00Z").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace study {

using Millis = std::int64_t;

inline constexpr Millis kMillisPerDay = 86'400'000;

// Now, by the system clock.
Millis NowMillis();

// The UTC calendar day of a moment, counted from 1970-01-01.
std::int64_t DayOf(Millis moment);

// The date of a day counted from 1970-01-01, "YYYY-MM-DD".
std::string FormatDate(std::int64_t day);
// "YYYY-MM-DDTHH:MM:SSZ", with ".mmm" before the Z when the moment has milliseconds.
std::string FormatIso(Millis moment);
// The forms FormatIso writes; anything else (a missing Z, an offset, a day that does not
// exist) gives nothing.
std::optional<Millis> ParseIso(std::string_view text);

}  // namespace study

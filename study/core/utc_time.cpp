// SPDX-License-Identifier: MIT
#include "utc_time.h"

#include <chrono>
#include <cstdio>

namespace study {
namespace {

using std::chrono::days;
using std::chrono::sys_days;
using std::chrono::year_month_day;

bool Digits(std::string_view text, std::size_t at, std::size_t count, int& value) {
  value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

}  // namespace

Millis NowMillis() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

std::int64_t DayOf(Millis moment) {
  // Floor division: moments before 1970 belong to the day they fall in.
  return moment >= 0 ? moment / kMillisPerDay : -((-moment + kMillisPerDay - 1) / kMillisPerDay);
}

std::string FormatDate(std::int64_t day) {
  const year_month_day date{sys_days{days{day}}};
  char text[24];
  const int length =
      std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                    static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
  return std::string(text, static_cast<std::size_t>(length));
}

std::string FormatIso(Millis moment) {
  const std::int64_t day = DayOf(moment);
  const Millis inDay = moment - day * kMillisPerDay;
  const int seconds = static_cast<int>(inDay / 1000);
  const int millis = static_cast<int>(inDay % 1000);
  char text[40];
  std::snprintf(text, sizeof text, "T%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  std::string out = FormatDate(day) + text;
  if (millis != 0) {
    std::snprintf(text, sizeof text, ".%03d", millis);
    out += text;
  }
  return out + "Z";
}

std::optional<Millis> ParseIso(std::string_view text) {
  if (text.size() != 20 && text.size() != 24) return std::nullopt;
  int year, month, day, hour, minute, second, millis = 0;
  const bool shaped = Digits(text, 0, 4, year) && text[4] == '-' && Digits(text, 5, 2, month) &&
                      text[7] == '-' && Digits(text, 8, 2, day) && text[10] == 'T' &&
                      Digits(text, 11, 2, hour) && text[13] == ':' && Digits(text, 14, 2, minute) &&
                      text[16] == ':' && Digits(text, 17, 2, second) && text.back() == 'Z' &&
                      (text.size() == 20 || (text[19] == '.' && Digits(text, 20, 3, millis)));
  if (!shaped || hour > 23 || minute > 59 || second > 59) return std::nullopt;
  const year_month_day date{std::chrono::year{year},
                            std::chrono::month{static_cast<unsigned>(month)},
                            std::chrono::day{static_cast<unsigned>(day)}};
  if (!date.ok()) return std::nullopt;
  const std::int64_t dayNumber = sys_days{date}.time_since_epoch().count();
  return dayNumber * kMillisPerDay + ((hour * 60 + minute) * 60 + second) * Millis{1000} + millis;
}

}  // namespace study

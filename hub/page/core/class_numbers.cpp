// SPDX-License-Identifier: MIT
#include "class_numbers.h"

#include <algorithm>
#include <ctime>

namespace hub::page {
namespace {

constexpr Millis kDay = 24LL * 60 * 60 * 1000;

Millis LocalMidnight(std::tm day) {
  day.tm_hour = 0;
  day.tm_min = 0;
  day.tm_sec = 0;
  day.tm_isdst = -1;  // let the zone say whether that day is in summer time
  return static_cast<Millis>(std::mktime(&day)) * 1000;
}

std::tm LocalTime(Millis time) {
  const std::time_t seconds = static_cast<std::time_t>(time / 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  return local;
}

}  // namespace

const GridCell* Grid::cell(std::int64_t learner, const std::string& lesson) const {
  const auto found = cells.find({learner, lesson});
  return found == cells.end() ? nullptr : &found->second;
}

Millis DueAfter(int grade) {
  switch (grade) {
    case 2:
      return kDay;
    case 3:
      return 3 * kDay;
    case 4:
      return 7 * kDay;
    default:
      return 0;
  }
}

bool IsDueNow(int latestGrade, Millis latestTime, Millis now) {
  return latestTime + DueAfter(latestGrade) <= now;
}

std::vector<Millis> DueCutoffs(Millis now) {
  std::vector<Millis> cutoffs;
  for (int grade = 1; grade <= 4; ++grade) cutoffs.push_back(now - DueAfter(grade));
  return cutoffs;
}

int Percent(std::int64_t part, std::int64_t whole) {
  if (whole <= 0) return 0;
  return static_cast<int>(std::clamp<std::int64_t>(part * 100 / whole, 0, 100));
}

bool NaturalLess(const std::string& a, const std::string& b) {
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (isDigit(a[i]) && isDigit(b[j])) {
      std::size_t endA = i;
      std::size_t endB = j;
      while (endA < a.size() && isDigit(a[endA])) ++endA;
      while (endB < b.size() && isDigit(b[endB])) ++endB;
      std::string numberA = a.substr(i, endA - i);
      std::string numberB = b.substr(j, endB - j);
      numberA.erase(0, std::min(numberA.find_first_not_of('0'), numberA.size()));
      numberB.erase(0, std::min(numberB.find_first_not_of('0'), numberB.size()));
      if (numberA.size() != numberB.size()) return numberA.size() < numberB.size();
      if (numberA != numberB) return numberA < numberB;
      i = endA;
      j = endB;
      continue;
    }
    if (a[i] != b[j]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
    ++i;
    ++j;
  }
  if (a.size() - i != b.size() - j) return a.size() - i < b.size() - j;
  return a < b;
}

Millis WeekStart(Millis now) {
  std::tm day = LocalTime(now);
  const int sinceMonday = (day.tm_wday + 6) % 7;
  day.tm_mday -= sinceMonday;
  return LocalMidnight(day);
}

std::vector<Millis> DayStarts(Millis weekStart) {
  const std::tm monday = LocalTime(weekStart);
  std::vector<Millis> starts;
  for (int day = 0; day <= 7; ++day) {
    std::tm next = monday;
    next.tm_mday += day;
    starts.push_back(LocalMidnight(next));
  }
  return starts;
}

int WeekRow::minutes() const {
  return static_cast<int>(seconds / 60);
}

void OrderWeek(std::vector<WeekRow>& rows, int goalMinutes) {
  const auto group = [goalMinutes](const WeekRow& row) {
    if (row.answers == 0) return 0;
    return goalMinutes > 0 && row.minutes() < goalMinutes ? 1 : 2;
  };
  std::stable_sort(rows.begin(), rows.end(), [&](const WeekRow& a, const WeekRow& b) {
    if (group(a) != group(b)) return group(a) < group(b);
    return NaturalLess(a.learner.number, b.learner.number);
  });
}

}  // namespace hub::page

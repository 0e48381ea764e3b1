// SPDX-License-Identifier: MIT
// The class page's views as HTML and as CSV, from numbers already counted.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "class_numbers.h"

namespace hub::page {

enum class View { Grid, Week, Hardest };

// What every page of a class shows around its table.
struct Frame {
  std::string teacher;
  std::string csrf;
  std::int64_t classId = 0;
  std::string className;
};

struct ClassLink {
  std::int64_t id = 0;
  std::string name;
};

// Local time as "12-01 14:03" (a cell) and "2026-12-01 14:03" (a CSV).
std::string ShortTime(Millis time);
std::string FullTime(Millis time);
// The class a cell's colour comes from: p0 (nothing learned) to p4 (three quarters or more).
std::string ShareClass(std::int64_t learned, std::int64_t entries);

std::string ClassListPage(const Frame& frame, const std::vector<ClassLink>& classes);
std::string GridPage(const Frame& frame, const Grid& grid);
std::string WeekPage(const Frame& frame, const std::vector<WeekRow>& rows, int goalMinutes,
                     Millis weekStart);
std::string HardestPage(const Frame& frame, const std::vector<HardEntry>& entries,
                        Millis weekStart);
std::string WhoPage(const Frame& frame, const HardEntry& entry, const std::vector<Miss>& who);

std::string GridCsv(const Grid& grid);
std::string WeekCsv(const std::vector<WeekRow>& rows, int goalMinutes);
std::string HardestCsv(const std::vector<HardEntry>& entries);

// "本周未学习", "已达成", "差 12 分钟" or "未设定目标".
std::string GoalState(const WeekRow& row, int goalMinutes);

}  // namespace hub::page

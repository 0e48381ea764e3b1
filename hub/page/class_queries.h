// SPDX-License-Identifier: MIT
// What the class page reads from the database, every value a parameter. Withdrawn answers
// are left out everywhere.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "book_lessons.h"
#include "class_numbers.h"
#include "class_views.h"
#include "database.h"

namespace hub::page {

std::vector<ClassLink> TeacherClasses(Database& database, std::int64_t teacher);
// The class when the teacher has it; nothing otherwise (unknown or another teacher's).
std::optional<ClassLink> TeachersClass(Database& database, std::int64_t teacher,
                                       std::int64_t classId);

// The lessons handed out first, in book order, each counted against its entries only; then
// the other lessons the class's answers name (an older book's, a lesson renamed), whose
// entries are the distinct cards answered.
Grid ReadGrid(Database& database, std::int64_t classId, const std::vector<BookLesson>& handedOut,
              Millis now);
std::vector<WeekRow> ReadWeek(Database& database, std::int64_t classId, Millis weekStart);
std::vector<HardEntry> ReadHardest(Database& database, std::int64_t classId, Millis weekStart);
std::vector<Miss> ReadWhoMissed(Database& database, std::int64_t classId, Millis weekStart,
                                const HardEntry& entry);

int ReadGoal(Database& database, std::int64_t classId);  // minutes; 0 when none was set
void WriteGoal(Database& database, std::int64_t classId, int minutes);

}  // namespace hub::page

// SPDX-License-Identifier: MIT
// What may name a lesson: a text a course file can store, not empty, and no other lesson's
// name (two lessons of one name run together or are listed twice by the chooser).
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <vector>

#include "book.h"
#include "import_table.h"

namespace editor {

inline constexpr std::size_t kNoLesson = std::numeric_limits<std::size_t>::max();

// Why `name` cannot name a lesson among `lessons`, or nothing when it can; `except` is the
// place of the lesson being renamed.
Problem LessonNameCheck(const std::vector<LessonRun>& lessons, std::u16string_view name,
                        std::size_t except = kNoLesson);
// The same in Chinese alone.
std::u16string LessonNameProblem(const std::vector<LessonRun>& lessons, std::u16string_view name,
                                 std::size_t except = kNoLesson);
// How the editor names a lesson to the teacher: its name, or a note that it has none.
std::u16string LessonLabel(const LessonRun& lesson);

}  // namespace editor

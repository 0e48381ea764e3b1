// SPDX-License-Identifier: MIT
#include "handoff_lesson.h"

#include "course_file.h"
#include "lesson_index.h"
#include "module1.h"

namespace study {

HandOffLesson LoadHandOff(const std::string& path) {
  HandOffLesson lesson;
  course::RecordTable table;
  lesson.read = course::ReadCourseFile(path, table).status;
  const std::vector<std::u16string> lines = course::EntryLines(table);
  for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
    lesson.entries.push_back({lines[i], lines[i + 1]});
  }
  // Slots past the lesson may keep an older lesson's name, but never an entry line.
  if (!table[0].text(3).empty()) lesson.name = course::UnscrambleText(table[0].lessonName());
  return lesson;
}

}  // namespace study

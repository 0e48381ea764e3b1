// SPDX-License-Identifier: MIT
#include "handoff_lesson.h"

#include "course_file.h"
#include "fixed_names.h"
#include "module1.h"

namespace study {

HandOffLesson LoadHandOff(const std::string& path) {
  HandOffLesson lesson;
  course::RecordTable table;
  lesson.read = course::ReadCourseFile(path, table).status;
  for (const auto& record : table) {
    if (record.text(3).empty()) continue;
    // Slots past the lesson may keep an older lesson's name, but never an entry line: the
    // name is that of the first entry, wherever the lesson's records start.
    if (lesson.entries.empty()) lesson.name = course::UnscrambleText(record.lessonName());
    lesson.entries.push_back({course::UnscrambleText(record.text(3)),
                              course::UnscrambleText(record.text(4)),
                              course::UnscrambleText(record.text(5))});
  }
  return lesson;
}

HandOffLesson LoadChosenLesson(const suite::FilePlaces& places) {
  return LoadHandOff(places.readPath(course::kHandOffFileName));
}

}  // namespace study

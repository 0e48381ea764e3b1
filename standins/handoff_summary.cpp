// SPDX-License-Identifier: MIT
#include "handoff_summary.h"

#include "course_file.h"
#include "lesson_index.h"
#include "module1.h"

namespace standins {

HandOffSummary SummariseHandOff(const std::string& path) {
  HandOffSummary summary;
  course::RecordTable table;
  summary.read = course::ReadCourseFile(path, table).status;
  summary.lines = course::EntryLines(table);
  // Slots past the lesson may keep an older lesson's name, but never an entry line.
  if (!table[0].text(3).empty()) summary.lessonName = course::UnscrambleText(table[0].lessonName());
  return summary;
}

}  // namespace standins

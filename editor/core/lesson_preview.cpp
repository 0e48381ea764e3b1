// SPDX-License-Identifier: MIT
#include "lesson_preview.h"

#include <algorithm>

#include "lesson_index.h"

namespace editor {

LessonPreview PreviewLesson(const Book& book, const std::u16string& lesson) {
  LessonPreview preview;
  const course::RecordImage image(book.table());
  const auto items = course::BuildLessonIndex(image).listItems();
  preview.listed = std::find(items.begin(), items.end(), lesson) != items.end();
  if (!preview.listed) return preview;
  course::RecordTable gathered;
  course::GatherLesson(image, lesson, gathered);
  preview.lines = course::EntryLines(gathered);
  return preview;
}

}  // namespace editor

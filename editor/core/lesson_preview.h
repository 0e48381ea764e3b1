// SPDX-License-Identifier: MIT
// A lesson as the chooser will show it once the book is saved: whether the chooser lists it
// and the lines of its lesson view, made by the chooser's own lesson code.
#pragma once

#include <string>
#include <vector>

#include "book.h"

namespace editor {

struct LessonPreview {
  bool listed = false;                // among the lessons the chooser lists
  std::vector<std::u16string> lines;  // two display lines per entry shown
};

LessonPreview PreviewLesson(const Book& book, const std::u16string& lesson);

}  // namespace editor

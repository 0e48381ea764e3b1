// SPDX-License-Identifier: MIT
// What in a book the chooser or a study program cannot use as the teacher meant: each
// finding names its rule, where it is and what is wrong, in the teacher's words.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "book.h"

namespace editor {

enum class Rule {
  TooManyLessons,         // the chooser lists the first 129 runs only
  TooManyEntries,         // the last slot is never part of a lesson
  LessonNameComesBack,    // a later run of the same name is listed twice
  ChineseWithoutEnglish,  // the chooser hides an entry without English
  EnglishWithoutChinese,  // a card with nothing to recall or check against
  UntypableEnglish,       // dictation and typing need every character typed
  StraySpaces,            // at either end, or two in a row
  RepeatedEntry,          // the same English and Chinese twice in a lesson
};

struct Finding {
  Rule rule;
  std::size_t lesson = 0;             // index into Book::lessons()
  std::optional<std::size_t> record;  // the record to jump to, when one is to blame
  int field = 0;                      // its field, when one is to blame
  std::u16string text;                // what is wrong, in Chinese
};

std::vector<Finding> CheckBook(const Book& book);

}  // namespace editor

// SPDX-License-Identifier: MIT
// Whether an import fits what a course file holds and what the chooser lists, told before
// the import is made.
#pragma once

#include <cstddef>
#include <string>

#include "book.h"

namespace editor {

enum class ImportLimit {
  None,
  ListTooLong,     // the list has more rows than were read (kMostRows)
  TooManyEntries,  // the book would pass the records a course file holds
  TooManyLessons,  // a new lesson would come after the last the chooser lists
};

struct LimitVerdict {
  ImportLimit limit = ImportLimit::None;
  std::size_t count = 0;  // the book's entries or lessons after the import
  explicit operator bool() const { return limit != ImportLimit::None; }
};

// `entries` going into `book`, as a new lesson or into one it has; `listCut` when the list
// was read no further than kMostRows.
LimitVerdict CheckImportLimits(const Book& book, std::size_t entries, bool newLesson, bool listCut);

// Why the import is refused, in the teacher's words.
std::u16string LimitText(const LimitVerdict& verdict);

}  // namespace editor

// SPDX-License-Identifier: MIT
// The edits a teacher makes to a book, each as the splice that makes it. Display texts given
// here must be storable (see UnstorableReason). New records take field 1 and the three
// numbers of the record before them (of the first record when they go first; zero in an
// empty book).
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "book.h"
#include "import_entries.h"

namespace editor {

Splice SetText(const Book& book, std::size_t record, int field, std::u16string_view display);

// The entries as new records of the lesson named `lesson`, put at `at`; field 1 is
// `bookTitle` when given.
Splice InsertEntries(const Book& book, std::size_t at, std::u16string_view lesson,
                     const std::vector<ImportedEntry>& entries,
                     std::optional<std::u16string_view> bookTitle = std::nullopt);
// A lesson of these entries (of one empty entry when there are none) after the last record.
Splice AppendLesson(const Book& book, std::u16string_view lesson,
                    const std::vector<ImportedEntry>& entries,
                    std::optional<std::u16string_view> bookTitle = std::nullopt);

Splice RemoveRecords(const Book& book, std::size_t first, std::size_t count);
// One place up (-1) or down (+1) inside its lesson; nullopt at the lesson's edge.
std::optional<Splice> MoveEntry(const Book& book, const LessonRun& lesson, std::size_t record,
                                int delta);

Splice RenameLesson(const Book& book, const LessonRun& lesson, std::u16string_view name);
// The lesson swapped with the one before (-1) or after (+1); nullopt at the book's edge.
std::optional<Splice> MoveLesson(const Book& book, const std::vector<LessonRun>& lessons,
                                 std::size_t lesson, int delta);

}  // namespace editor

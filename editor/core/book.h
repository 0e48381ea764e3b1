// SPDX-License-Identifier: MIT
// A course file as the teacher edits it: its records in file order up to the last one that
// holds anything, and its lessons as the chooser finds them, runs of equal lesson names.
// Every change is a splice (records taken out and put in at one place), so that each has an
// exact inverse for undo.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "course_record.h"

namespace editor {

using course::CourseRecord;

// Text fields as the editor's table shows them.
inline constexpr int kBookField = 1;
inline constexpr int kLessonField = 2;
inline constexpr int kEnglishField = 3;
inline constexpr int kChineseField = 4;
inline constexpr int kPartOfSpeechField = 5;
inline constexpr int kColumnField = 6;

struct LessonRun {
  std::size_t first = 0;  // its first record
  std::size_t count = 0;
  std::u16string name;  // display text
  std::size_t end() const { return first + count; }
};

struct Splice {
  std::size_t at = 0;
  std::vector<CourseRecord> removed;
  std::vector<CourseRecord> inserted;

  Splice inverse() const { return {at, inserted, removed}; }
};

class Book {
 public:
  Book() = default;
  explicit Book(const course::RecordTable& table);

  const std::vector<CourseRecord>& records() const { return records_; }
  std::size_t size() const { return records_.size(); }
  std::vector<LessonRun> lessons() const;
  // The chooser's lesson slots this book's lessons need.
  std::size_t lessonSlotsNeeded() const;
  // The display text of one field of one record.
  std::u16string text(std::size_t record, int field) const;

  // False when the book has more records than a course file holds.
  bool fitsCourseFile() const { return records_.size() <= course::kRecordSlots; }
  // The records in their slots, the rest empty; only for a book that fits.
  course::RecordTable table() const;

  void apply(const Splice& splice);

 private:
  std::vector<CourseRecord> records_;
};

}  // namespace editor

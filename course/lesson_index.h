// SPDX-License-Identifier: MIT
// The lessons of a course file (runs of equal lesson names) and the records of one lesson.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "course_record.h"

namespace course {

inline constexpr std::size_t kLessonSlots = 129;
// The last slot of a table never belongs to a lesson.
inline constexpr std::size_t kLessonRecords = kRecordSlots - 1;

// Every run of equal stored lesson names over the lesson records, in file order; a run of
// empty names counts like any other.
std::vector<std::u16string> LessonRuns(const RecordImage& course);

// What the chooser can list: one slot per run over the lesson records, the first
// kLessonSlots runs only. The slots a course's lessons need are its runs up to the last one
// with a name; trailing runs of empty names take slots but hold no lesson to list.
// coursetool and the course editor judge a book by this one rule.
template <typename Runs, typename IsNamed>
std::size_t SlotsForLessons(const Runs& runs, IsNamed isNamed) {
  std::size_t needed = runs.size();
  while (needed > 0 && !isNamed(runs[needed - 1])) --needed;
  return needed;
}
inline constexpr bool ChooserListsEveryLesson(std::size_t slotsForLessons) {
  return slotsForLessons <= kLessonSlots;
}

struct LessonIndex {
  std::array<std::u16string, kLessonSlots> lessonNames;  // stored text; empty shows nothing
  std::size_t runs = 0;  // all runs found, also those past the last slot

  bool overflowed() const { return runs > kLessonSlots; }
  // The display text of every non-empty slot, in slot order: the lesson list's items.
  std::vector<std::u16string> listItems() const;
};

LessonIndex BuildLessonIndex(const RecordImage& course);

// Empties text fields 3 and 4 of every lesson slot, then packs from slot 0 each lesson
// record whose display lesson name equals `chosen`, less number field 3. Slots past the
// lesson keep their other older fields. Returns how many records were packed.
std::size_t GatherLesson(const RecordImage& course, const std::u16string& chosen,
                         RecordTable& lesson);

// Two display lines per slot whose text field 3 is not empty, in slot order.
std::vector<std::u16string> EntryLines(const RecordTable& lesson);

}  // namespace course

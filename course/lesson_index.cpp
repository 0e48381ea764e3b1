// SPDX-License-Identifier: MIT
#include "lesson_index.h"

#include <cstring>

#include "module1.h"

namespace course {
namespace {

// Equal stored texts; memcmp, because the standard comparison of 16-bit strings goes
// one character at a time and lesson names are compared thousands of times a selection.
bool SameText(const std::u16string& a, const std::u16string& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0;
}

}  // namespace

std::vector<std::u16string> LessonRuns(const RecordTable& course) {
  std::vector<std::u16string> runs{course[0].lessonName()};
  for (std::size_t i = 0; i < kLessonRecords; ++i) {
    if (!SameText(course[i].lessonName(), runs.back())) runs.push_back(course[i].lessonName());
  }
  return runs;
}

LessonIndex BuildLessonIndex(const RecordTable& course) {
  LessonIndex index;
  const auto runs = LessonRuns(course);
  index.runs = runs.size();
  for (std::size_t slot = 0; slot < kLessonSlots && slot < runs.size(); ++slot) {
    index.lessonNames[slot] = runs[slot];
  }
  return index;
}

std::vector<std::u16string> LessonIndex::listItems() const {
  std::vector<std::u16string> items;
  for (const auto& name : lessonNames) {
    if (!name.empty()) items.push_back(UnscrambleText(name));
  }
  return items;
}

std::size_t GatherLesson(const RecordTable& course, const std::u16string& chosen,
                         RecordTable& lesson) {
  for (auto& record : lesson) {
    record.text(3).clear();
    record.text(4).clear();
  }
  std::size_t target = 0;
  // Records of one lesson lie together, so the previous name's verdict is usually reusable.
  const std::u16string* lastName = nullptr;
  bool lastMatched = false;
  for (std::size_t source = 0; source < kLessonRecords; ++source) {
    const CourseRecord& record = course[source];
    if (lastName == nullptr || !SameText(record.lessonName(), *lastName)) {
      lastName = &record.lessonName();
      lastMatched = UnscrambleText(*lastName) == chosen;
    }
    if (!lastMatched) continue;
    CourseRecord& packed = lesson[target++];
    packed.texts = record.texts;
    packed.number1 = record.number1;
    packed.number2 = record.number2;
  }
  return target;
}

std::vector<std::u16string> EntryLines(const RecordTable& lesson) {
  std::vector<std::u16string> lines;
  for (const auto& record : lesson) {
    if (record.text(3).empty()) continue;
    lines.push_back(UnscrambleText(record.text(3)));
    lines.push_back(UnscrambleText(record.text(4)));
  }
  return lines;
}

}  // namespace course

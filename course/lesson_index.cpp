// SPDX-License-Identifier: MIT
#include "lesson_index.h"

#include <cstring>

#include "module1.h"

namespace course {
namespace {

// Equal stored texts; memcmp, because the standard comparison of 16-bit strings goes
// one character at a time and lesson names are compared thousands of times a selection.
// Equal texts of neighbouring records usually share their characters, which settles it at once.
bool SameText(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         (a.data() == b.data() || a.empty() ||
          std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0);
}

}  // namespace

std::vector<std::u16string> LessonRuns(const RecordImage& course) {
  std::vector<std::u16string> runs{std::u16string(course[0].lessonName())};
  for (std::size_t i = 0; i < kLessonRecords; ++i) {
    if (!SameText(course[i].lessonName(), runs.back())) {
      runs.emplace_back(course[i].lessonName());
    }
  }
  return runs;
}

LessonIndex BuildLessonIndex(const RecordImage& course) {
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

std::size_t GatherLesson(const RecordImage& course, const std::u16string& chosen,
                         RecordTable& lesson) {
  for (auto& record : lesson) {
    record.text(3).clear();
    record.text(4).clear();
  }
  std::size_t target = 0;
  // Records of one lesson lie together, so the previous name's verdict is usually reusable.
  std::u16string_view lastName;
  bool lastMatched = false;
  for (std::size_t source = 0; source < kLessonRecords; ++source) {
    const RecordView& record = course[source];
    if (source == 0 || !SameText(record.lessonName(), lastName)) {
      lastName = record.lessonName();
      lastMatched = UnscrambleText(lastName) == chosen;
    }
    if (!lastMatched) continue;
    CourseRecord& packed = lesson[target++];
    for (std::size_t f = 0; f < kTextFields; ++f) packed.texts[f].assign(record.texts[f]);
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

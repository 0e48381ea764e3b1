// SPDX-License-Identifier: MIT
#include "book_lessons.h"

#include <cstdint>
#include <map>
#include <set>
#include <utility>

#include "course_file.h"
#include "lesson_index.h"
#include "utf8.h"

namespace hub::page {

std::vector<BookLesson> BookLessons(std::string_view courseFile) {
  course::RecordImage image;
  course::ParseCourseImage(reinterpret_cast<const std::uint8_t*>(courseFile.data()),
                           courseFile.size(), image);
  std::vector<BookLesson> lessons;
  course::RecordTable handedOff;
  for (const std::u16string& name : course::BuildLessonIndex(image).listItems()) {
    course::GatherLesson(image, name, handedOff);
    const std::vector<std::u16string> lines = course::EntryLines(handedOff);
    BookLesson lesson{course::ToUtf8(name), {}};
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
      lesson.entries.push_back({course::ToUtf8(lines[i]), course::ToUtf8(lines[i + 1])});
    }
    lessons.push_back(std::move(lesson));
  }
  return lessons;
}

std::vector<BookLesson> JoinBooks(const std::vector<const std::vector<BookLesson>*>& books) {
  std::vector<BookLesson> joined;
  std::map<std::string, std::size_t> where;
  std::vector<std::set<std::pair<std::string, std::string>>> known;
  for (const std::vector<BookLesson>* book : books) {
    for (const BookLesson& lesson : *book) {
      const auto [at, isNew] = where.emplace(lesson.name, joined.size());
      if (isNew) {
        joined.push_back({lesson.name, {}});
        known.emplace_back();
      }
      for (const BookEntry& entry : lesson.entries) {
        if (known[at->second].emplace(entry.line1, entry.line2).second) {
          joined[at->second].entries.push_back(entry);
        }
      }
    }
  }
  return joined;
}

}  // namespace hub::page

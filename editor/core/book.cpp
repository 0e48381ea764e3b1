// SPDX-License-Identifier: MIT
#include "book.h"

#include <algorithm>

#include "lesson_index.h"
#include "module1.h"

namespace editor {

Book::Book(const course::RecordTable& table) {
  std::size_t used = table.size();
  while (used > 0 && table[used - 1].isEmpty()) --used;
  records_.assign(table.begin(), table.begin() + static_cast<std::ptrdiff_t>(used));
}

std::vector<LessonRun> Book::lessons() const {
  std::vector<LessonRun> runs;
  for (std::size_t i = 0; i < records_.size(); ++i) {
    const auto& name = records_[i].lessonName();
    if (runs.empty() || records_[runs.back().first].lessonName() != name) {
      runs.push_back({i, 0, course::UnscrambleText(name)});
    }
    ++runs.back().count;
  }
  return runs;
}

std::size_t Book::lessonSlotsNeeded() const {
  auto runs = lessons();
  // The last record of the table never belongs to a lesson.
  if (!runs.empty() && runs.back().first >= course::kLessonRecords) runs.pop_back();
  return course::SlotsForLessons(runs, [](const LessonRun& l) { return !l.name.empty(); });
}

std::u16string Book::text(std::size_t record, int field) const {
  return course::UnscrambleText(records_.at(record).text(field));
}

course::RecordTable Book::table() const {
  course::RecordTable table;
  for (std::size_t i = 0; i < records_.size() && i < table.size(); ++i) table[i] = records_[i];
  return table;
}

void Book::apply(const Splice& splice) {
  const auto at = records_.begin() + static_cast<std::ptrdiff_t>(splice.at);
  const auto removedEnd = at + static_cast<std::ptrdiff_t>(splice.removed.size());
  const auto after = records_.erase(at, removedEnd);
  records_.insert(after, splice.inserted.begin(), splice.inserted.end());
}

}  // namespace editor

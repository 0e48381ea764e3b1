// SPDX-License-Identifier: MIT
#include "book_edits.h"

#include "stored_text.h"

namespace editor {
namespace {

std::vector<CourseRecord> Slice(const Book& book, std::size_t first, std::size_t count) {
  const auto begin = book.records().begin() + static_cast<std::ptrdiff_t>(first);
  return {begin, begin + static_cast<std::ptrdiff_t>(count)};
}

CourseRecord Template(const Book& book, std::size_t at) {
  CourseRecord record;
  if (book.size() == 0) return record;
  const CourseRecord& before = book.records()[at == 0 ? 0 : at - 1];
  record.text(kBookField) = before.text(kBookField);
  record.number1 = before.number1;
  record.number2 = before.number2;
  record.number3 = before.number3;
  return record;
}

}  // namespace

Splice SetText(const Book& book, std::size_t record, int field, std::u16string_view display) {
  Splice splice{record, Slice(book, record, 1), Slice(book, record, 1)};
  splice.inserted[0].text(field) = Stored(display);
  return splice;
}

Splice InsertEntries(const Book& book, std::size_t at, std::u16string_view lesson,
                     const std::vector<ImportedEntry>& entries,
                     std::optional<std::u16string_view> bookTitle) {
  CourseRecord blank = Template(book, at);
  blank.text(kLessonField) = Stored(lesson);
  if (bookTitle) blank.text(kBookField) = Stored(*bookTitle);
  Splice splice{at, {}, {}};
  for (const auto& entry : entries) {
    CourseRecord& record = splice.inserted.emplace_back(blank);
    record.text(kEnglishField) = Stored(entry.english);
    record.text(kChineseField) = Stored(entry.chinese);
    record.text(kPartOfSpeechField) = Stored(entry.partOfSpeech);
  }
  if (entries.empty()) splice.inserted.push_back(blank);
  return splice;
}

Splice AppendLesson(const Book& book, std::u16string_view lesson,
                    const std::vector<ImportedEntry>& entries,
                    std::optional<std::u16string_view> bookTitle) {
  return InsertEntries(book, book.size(), lesson, entries, bookTitle);
}

Splice RemoveRecords(const Book& book, std::size_t first, std::size_t count) {
  return {first, Slice(book, first, count), {}};
}

std::optional<Splice> MoveEntry(const Book& book, const LessonRun& lesson, std::size_t record,
                                int delta) {
  const std::size_t other = record + static_cast<std::size_t>(delta);
  if (record < lesson.first || record >= lesson.end() || other < lesson.first ||
      other >= lesson.end()) {
    return std::nullopt;
  }
  const std::size_t first = std::min(record, other);
  Splice splice{first, Slice(book, first, 2), Slice(book, first, 2)};
  std::swap(splice.inserted[0], splice.inserted[1]);
  return splice;
}

Splice RenameLesson(const Book& book, const LessonRun& lesson, std::u16string_view name) {
  Splice splice{lesson.first, Slice(book, lesson.first, lesson.count),
                Slice(book, lesson.first, lesson.count)};
  const std::u16string stored = Stored(name);
  for (auto& record : splice.inserted) record.text(kLessonField) = stored;
  return splice;
}

std::optional<Splice> MoveLesson(const Book& book, const std::vector<LessonRun>& lessons,
                                 std::size_t lesson, int delta) {
  const std::size_t other = lesson + static_cast<std::size_t>(delta);
  if (lesson >= lessons.size() || other >= lessons.size()) return std::nullopt;
  const LessonRun& upper = lessons[std::min(lesson, other)];
  const LessonRun& lower = lessons[std::max(lesson, other)];
  Splice splice{upper.first, Slice(book, upper.first, upper.count + lower.count), {}};
  splice.inserted = Slice(book, lower.first, lower.count);
  const auto upperRecords = Slice(book, upper.first, upper.count);
  splice.inserted.insert(splice.inserted.end(), upperRecords.begin(), upperRecords.end());
  return splice;
}

}  // namespace editor

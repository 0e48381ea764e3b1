// SPDX-License-Identifier: MIT
#include "import_limits.h"

#include <algorithm>

#include "chinese_text.h"
#include "import_table.h"
#include "lesson_index.h"

namespace editor {

LimitVerdict CheckImportLimits(const Book& book, std::size_t entries, bool newLesson,
                               bool listCut) {
  if (listCut) return {ImportLimit::ListTooLong, kMostRows};
  const std::size_t total = book.size() + std::max<std::size_t>(entries, newLesson ? 1 : 0);
  if (total > course::kRecordSlots) return {ImportLimit::TooManyEntries, total};
  if (!newLesson) return {};
  const std::size_t listed = book.lessonSlotsNeeded() + 1;
  if (!course::ChooserListsEveryLesson(listed)) return {ImportLimit::TooManyLessons, listed};
  return {};
}

std::u16string LimitText(const LimitVerdict& verdict) {
  switch (verdict.limit) {
    case ImportLimit::None:
      return {};
    case ImportLimit::ListTooLong:
      return u"词表超过 " + Number(verdict.count) + u" 行，一册最多只能有 " +
             Number(course::kRecordSlots) + u" 条词条";
    case ImportLimit::TooManyEntries:
      return u"导入后这一册共 " + Number(verdict.count) + u" 条，超过课程文件最多能存的 " +
             Number(course::kRecordSlots) + u" 条";
    case ImportLimit::TooManyLessons:
      return u"导入后共 " + Number(verdict.count) + u" 课，选课程序只列出前 " +
             Number(course::kLessonSlots) + u" 课";
  }
  return {};
}

}  // namespace editor

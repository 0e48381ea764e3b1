// SPDX-License-Identifier: MIT
#include "book_check.h"

#include <algorithm>

#include "book.h"
#include "book_checks.h"
#include "course_file.h"
#include "module1.h"
#include "sync_messages.h"
#include "utf8.h"

namespace studysync {

namespace {

course::CourseImageReport ParseBook(std::string_view bytes, course::RecordTable& table) {
  return course::ParseCourseImage(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                                  table);
}

}  // namespace

BookCheck CheckBookFile(std::string_view bytes) {
  BookCheck check;
  if (bytes.size() > kMaxBookBytes) {
    check.why =
        "larger than a handed-out book may be (" + std::to_string(kMaxBookBytes) + " bytes)";
    return check;
  }
  course::RecordTable table;
  const course::CourseImageReport report = ParseBook(bytes, table);
  if (report.cutOff) {
    check.why = "the file ends inside record " + std::to_string(report.wholeRecords + 1);
  } else if (report.bytesBeyond > 0) {
    check.why = std::to_string(report.bytesBeyond) + " bytes after the last record";
  } else if (report.escapedBytes > 0) {
    check.why = std::to_string(report.escapedBytes) + " bytes are not code page 936 text";
  }
  if (!check.usable()) return check;
  const editor::Book book(table);
  const auto lessons = book.lessons();
  for (const auto& lesson : lessons) {
    if (!lesson.name.empty()) {
      ++check.lessons;
      check.entries += lesson.count;
    }
  }
  const auto findings = editor::CheckBook(book);
  const bool partlyUnlisted = std::any_of(findings.begin(), findings.end(), [](const auto& f) {
    return f.rule == editor::Rule::TooManyLessons || f.rule == editor::Rule::TooManyEntries;
  });
  if (check.lessons == 0) {
    check.why = "it holds no lesson";
  } else if (partlyUnlisted) {
    check.why = "the chooser would not list all of it (more lessons or entries than it shows)";
  }
  return check;
}

course::PhoneticsTable BookPhonetics(std::string_view bytes, const course::PhoneticsTable& all) {
  course::RecordTable table;
  ParseBook(bytes, table);
  std::vector<std::string> lines;
  for (std::size_t slot = 0; slot < table.size(); ++slot) {
    const std::u16string& stored = table[slot].text(editor::kEnglishField);
    if (!stored.empty()) lines.push_back(course::ToUtf8(course::UnscrambleText(stored)));
  }
  return all.forLines(lines);
}

}  // namespace studysync

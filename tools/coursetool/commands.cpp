// SPDX-License-Identifier: MIT
#include "commands.h"

#include <algorithm>
#include <ostream>

#include "course_file.h"
#include "dump_format.h"
#include "input_file.h"
#include "lesson_index.h"
#include "module1.h"
#include "text_lines.h"
#include "utf8.h"

namespace coursetool {
namespace {

using course::kRecordSlots;

// Long enough for any record a course file can hold: six texts of 65,535 stored bytes,
// each at most twice as long escaped.
constexpr std::size_t kLongestSourceLine = 1 << 20;

bool ReadTable(const std::string& path, course::RecordTable& table,
               course::CourseImageReport& report, std::ostream& err) {
  const auto result = course::ReadCourseFile(path, table);
  if (!result.status.ok()) {
    err << "coursetool: " << result.status.message() << '\n';
    return false;
  }
  report = result.report;
  return true;
}

std::size_t TextsShowingReplacement(const course::RecordTable& table) {
  std::size_t count = 0;
  for (const auto& record : table) {
    for (const auto& text : record.texts) {
      const auto shown = course::UnscrambleText(text);
      count += std::find(shown.begin(), shown.end(), course::kReplacementChar) != shown.end();
    }
  }
  return count;
}

// A lesson name that record 2984, never part of a lesson, is the only one to carry.
bool NameOnlyInLastRecord(const course::RecordTable& table) {
  const auto& name = table[kRecordSlots - 1].lessonName();
  if (name.empty()) return false;
  for (std::size_t i = 0; i < course::kLessonRecords; ++i) {
    if (table[i].lessonName() == name) return false;
  }
  return true;
}

}  // namespace

int Dump(const std::string& path, std::ostream& out, std::ostream& err) {
  course::RecordTable table;
  course::CourseImageReport report;
  if (!ReadTable(path, table, report, err)) return 2;
  for (std::size_t slot = 0; slot < kRecordSlots; ++slot) {
    if (!table[slot].isEmpty()) out << FormatDumpLine(slot, table[slot]) << '\n';
  }
  return 0;
}

int Build(const std::string& sourcePath, const std::string& coursePath, std::ostream& err) {
  suite::InputFile source(sourcePath);
  course::RecordTable table;
  if (source.ok()) {
    suite::TextLines lines(source, kLongestSourceLine);
    std::string error;
    if (!ReadDumpSource(lines, table, error) && source.ok()) {
      err << "coursetool: " << sourcePath << ":" << lines.number() << ": " << error << '\n';
      return 1;
    }
  }
  if (!source.ok()) {
    err << "coursetool: " << source.status().message() << '\n';
    return 2;
  }
  const auto status = course::WriteCourseFile(coursePath, table);
  if (!status.ok()) {
    err << "coursetool: " << status.message() << '\n';
    return 2;
  }
  return 0;
}

int Check(const std::string& path, std::ostream& out, std::ostream& err) {
  course::RecordTable table;
  course::CourseImageReport report;
  if (!ReadTable(path, table, report, err)) return 2;
  bool full = true;
  const auto problem = [&](const std::string& text) {
    out << "  problem: " << text << '\n';
    full = false;
  };

  out << path << ":\n  " << report.wholeRecords << " whole records read of " << kRecordSlots
      << " slots\n";
  if (report.wholeRecords == 0 && !report.cutOff) problem("the file is empty: it holds no records");
  if (report.cutOff) {
    problem("record " + std::to_string(report.wholeRecords) +
            " is cut off by the end of the file; only its whole texts are kept");
  }
  if (report.bytesBeyond > 0) {
    problem(std::to_string(report.bytesBeyond) + " bytes lie beyond the last record and are " +
            "never read");
  }
  if (report.escapedBytes > 0) {
    problem(std::to_string(report.escapedBytes) + " bytes are not code page 936 text");
  }
  if (const auto marked = TextsShowingReplacement(table); marked > 0) {
    problem(std::to_string(marked) + " texts show a replacement mark: their display text has " +
            "characters code page 936 does not have");
  }

  const auto runs = course::LessonRuns(course::RecordImage(table));
  const auto named = std::count_if(runs.begin(), runs.end(), [](auto& n) { return !n.empty(); });
  out << "  " << runs.size() << " lesson runs (" << named << " named) in records 0 to "
      << course::kLessonRecords - 1 << "\n";
  const auto slots = course::SlotsForLessons(runs, [](const auto& n) { return !n.empty(); });
  if (!course::ChooserListsEveryLesson(slots)) {
    problem("more lesson runs than the " + std::to_string(course::kLessonSlots) +
            " the chooser can list; runs from " + std::to_string(course::kLessonSlots + 1) +
            " on are not listed");
  }
  if (NameOnlyInLastRecord(table)) {
    problem("the lesson name \"" +
            course::ToUtf8(course::UnscrambleText(table[kRecordSlots - 1].lessonName())) +
            "\" is carried only by the last record, which is never listed");
  }
  out << (full ? "  the chooser can show this file fully\n"
               : "  the chooser cannot show this file fully\n");
  return full ? 0 : 1;
}

}  // namespace coursetool

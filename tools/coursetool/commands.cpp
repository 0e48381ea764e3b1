// SPDX-License-Identifier: MIT
#include "commands.h"

#include <algorithm>
#include <fstream>
#include <ostream>
#include <vector>

#include "course_file.h"
#include "dump_format.h"
#include "lesson_index.h"
#include "module1.h"
#include "utf8.h"

namespace coursetool {
namespace {

using course::kRecordSlots;

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
  std::ifstream in(sourcePath, std::ios::binary);
  if (!in) {
    err << "coursetool: " << sourcePath << ": cannot be opened\n";
    return 2;
  }
  course::RecordTable table;
  std::vector<bool> seen(kRecordSlots);
  std::string line;
  std::string error;
  for (std::size_t number = 1; std::getline(in, line); ++number) {
    auto parsed = ParseDumpLine(line, error);
    if (parsed && seen[parsed->slot]) error = "slot " + std::to_string(parsed->slot) + " repeats";
    if (!parsed || seen[parsed->slot]) {
      err << "coursetool: " << sourcePath << ":" << number << ": " << error << '\n';
      return 1;
    }
    seen[parsed->slot] = true;
    table[parsed->slot] = std::move(parsed->record);
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
  if (runs.size() > course::kLessonSlots) {
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

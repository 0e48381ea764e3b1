// SPDX-License-Identifier: MIT
// coursetool import: a word list (CSV/TSV, Anki's plain text notes, an Excel workbook, a
// pasted list) appended to a course file as one lesson, by the course editor's own import.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "import_entries.h"

namespace coursetool {

struct ImportOptions {
  std::optional<std::string> columns;  // "en,ph,zh,pos": the role of each column, "-" none
  std::optional<std::string> lesson;   // the lesson's name; else IN's name less its extension
  std::optional<std::string> book;     // field 1 of the new records
};

// 0: imported; 1: IN or an option refused; 2: a file could not be read or written.
int Import(const std::string& sourcePath, const std::string& coursePath,
           const ImportOptions& options, std::ostream& out, std::ostream& err);

// Appends `entries` to the course file as the lesson, made as a book of empty records when
// absent, and keeps the phonetics they carry in the table beside it; `listCut` says the list
// was longer than the readers take. Exit statuses as Import.
int AppendLesson(const std::vector<editor::ImportedEntry>& entries, const std::u16string& lesson,
                 const std::optional<std::u16string>& bookTitle, const std::string& coursePath,
                 std::ostream& out, std::ostream& err, bool listCut = false);

}  // namespace coursetool

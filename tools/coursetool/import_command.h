// SPDX-License-Identifier: MIT
// coursetool import: a word list (CSV/TSV, Anki's plain text notes, an Excel workbook, a
// pasted list) appended to a course file as one lesson, by the course editor's own import.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace coursetool {

struct ImportOptions {
  std::optional<std::string> columns;  // "en,ph,zh,pos": the role of each column, "-" none
  std::optional<std::string> lesson;   // the lesson's name; else IN's name less its extension
  std::optional<std::string> book;     // field 1 of the new records
};

// 0: imported; 1: IN or an option refused; 2: a file could not be read or written.
int Import(const std::string& sourcePath, const std::string& coursePath,
           const ImportOptions& options, std::ostream& out, std::ostream& err);

}  // namespace coursetool

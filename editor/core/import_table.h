// SPDX-License-Identifier: MIT
// What every import format reads outside text into: rows of fields, each with the line it
// starts on, and the first thing that made a read give up.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace editor {

// What is wrong, in the teacher's words and in the English the command-line tools speak.
struct Problem {
  std::u16string chinese;
  std::string english;
  explicit operator bool() const { return !chinese.empty(); }
};

// Why an import cannot go on; line 0 when no line is to blame.
struct Refusal {
  std::size_t line = 0;
  std::u16string reason;
  std::string english;

  explicit operator bool() const { return !reason.empty(); }
  // "第 12 行：…", or the reason alone.
  std::u16string text() const;
  // "line 12: …", or the reason alone.
  std::string englishText() const;
};

struct ImportRow {
  std::vector<std::u16string> fields;
  std::size_t line = 0;  // where the row starts, from 1
};

enum class ImportFormat { Delimited, Anki, Paste, Workbook };

// No book holds more entries than this, so a list is read no further: more rows than this
// are refused unread, whatever the file's size.
inline constexpr std::size_t kMostRows = 6000;

struct ImportTable {
  ImportFormat format = ImportFormat::Delimited;
  std::vector<ImportRow> rows;
  // Names of the columns when the source gives them (a header row, Anki's #columns:).
  std::vector<std::u16string> columnNames;
  bool headerRow = false;  // the first row of the source named the columns and is no entry
  bool cut = false;        // the source has more than kMostRows rows; the rest is unread
  Refusal refusal;

  std::size_t columnCount() const;
};

}  // namespace editor

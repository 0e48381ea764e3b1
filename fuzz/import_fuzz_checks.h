// SPDX-License-Identifier: MIT
// What every import format's fuzz target checks of a table read from any bytes: rows in
// line order, and entries a course file can hold.
#pragma once

#include <cstdlib>

#include "import_entries.h"
#include "stored_text.h"

namespace fuzzing {

inline void CheckImportTable(const editor::ImportTable& table) {
  std::size_t line = 1;
  for (const auto& row : table.rows) {
    if (row.line < line || row.fields.empty()) std::abort();
    line = row.line;
  }
  const auto made = editor::MakeEntries(table, editor::GuessColumns(table));
  for (const auto& entry : made.entries) {
    for (const auto* text : {&entry.english, &entry.chinese, &entry.partOfSpeech}) {
      if (!editor::UnstorableReason(*text).empty()) std::abort();
    }
  }
}

}  // namespace fuzzing

// SPDX-License-Identifier: MIT
// Changes to the phonetics table beside a book, each with what it replaced, so that the
// editor's undo takes them back with the entries they came with.
#pragma once

#include <string>
#include <vector>

#include "import_entries.h"
#include "phonetics_table.h"

namespace editor {

struct PhoneticsChange {
  std::string english;  // UTF-8, as the entry has it
  std::string before;   // empty: the word had none
  std::string after;    // empty: the word has none any more
};

// What importing `entries` changes in `table`: each entry's phonetics for its English line.
// Entries without phonetics change nothing.
std::vector<PhoneticsChange> ImportedPhonetics(const course::PhoneticsTable& table,
                                               const std::vector<ImportedEntry>& entries);

// The change that gives `english` the phonetics `after` (UTF-8).
PhoneticsChange SetPhonetics(const course::PhoneticsTable& table, std::u16string_view english,
                             std::u16string_view after);

// Makes the changes in order, or takes them back in reverse order. False when the table
// cannot hold one of them (a control character, too long), the table then as before.
bool MakeChanges(course::PhoneticsTable& table, const std::vector<PhoneticsChange>& changes);
void TakeBackChanges(course::PhoneticsTable& table, const std::vector<PhoneticsChange>& changes);

}  // namespace editor

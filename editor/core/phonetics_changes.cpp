// SPDX-License-Identifier: MIT
#include "phonetics_changes.h"

#include "utf8.h"

namespace editor {

PhoneticsChange SetPhonetics(const course::PhoneticsTable& table, std::u16string_view english,
                             std::u16string_view after) {
  std::string word = course::ToUtf8(english);
  std::string before = table.find(word).value_or(std::string());
  return {std::move(word), std::move(before), course::ToUtf8(after)};
}

std::vector<PhoneticsChange> ImportedPhonetics(const course::PhoneticsTable& table,
                                               const std::vector<ImportedEntry>& entries) {
  course::PhoneticsTable changed = table;
  std::vector<PhoneticsChange> changes;
  for (const ImportedEntry& entry : entries) {
    if (entry.phonetic.empty() || entry.english.empty()) continue;
    // Each change replaces what the one before it left, so that they undo in reverse.
    changes.push_back(SetPhonetics(changed, entry.english, entry.phonetic));
    changed.put(changes.back().english, changes.back().after);
  }
  return changes;
}

bool MakeChanges(course::PhoneticsTable& table, const std::vector<PhoneticsChange>& changes) {
  course::PhoneticsTable changed = table;
  for (const PhoneticsChange& change : changes) {
    if (!changed.put(change.english, change.after)) return false;
  }
  table = std::move(changed);
  return true;
}

void TakeBackChanges(course::PhoneticsTable& table, const std::vector<PhoneticsChange>& changes) {
  for (auto change = changes.rbegin(); change != changes.rend(); ++change) {
    table.put(change->english, change->before);
  }
}

}  // namespace editor

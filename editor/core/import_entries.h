// SPDX-License-Identifier: MIT
// Which column is 英文, 中文 and 词性, guessed from what the columns hold, and the entries an
// import table gives with that choice.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "import_table.h"

namespace editor {

inline constexpr int kNoColumn = -1;

struct ColumnChoice {
  int english = kNoColumn;
  int chinese = kNoColumn;
  int partOfSpeech = kNoColumn;
  friend bool operator==(const ColumnChoice&, const ColumnChoice&) = default;
};

// Named columns go by their names (英文, 中文, 词性, English, Chinese, pos). Otherwise the
// column most of whose cells hold Chinese characters is 中文, a column of part-of-speech
// marks is 词性, and the first other column with text is 英文.
ColumnChoice GuessColumns(const ImportTable& table);

// One entry in display text.
struct ImportedEntry {
  std::u16string english;
  std::u16string chinese;
  std::u16string partOfSpeech;
  std::size_t line = 0;
  std::u16string phonetic{};  // without its brackets or slashes; kept beside the book
  friend bool operator==(const ImportedEntry&, const ImportedEntry&) = default;
};

struct ImportedEntries {
  std::vector<ImportedEntry> entries;
  Refusal refusal;  // a text a course file cannot hold, with its line and character
};

// Every row with some text in the chosen columns, white space tidied; at most `maxEntries`.
ImportedEntries MakeEntries(const ImportTable& table, const ColumnChoice& choice,
                            std::size_t maxEntries = static_cast<std::size_t>(-1));

}  // namespace editor

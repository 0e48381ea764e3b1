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
  int phonetic = kNoColumn;
  friend bool operator==(const ColumnChoice&, const ColumnChoice&) = default;
};

// Named columns go by their names (英文, 单词, 中文, 释义, 词性, 音标, word, meaning, pos, …).
// Otherwise the
// column most of whose cells hold Chinese characters is 中文, a column of part-of-speech
// marks is 词性, and the first other column with text is 英文.
ColumnChoice GuessColumns(const ImportTable& table);

// One entry in display text.
struct ImportedEntry {
  std::u16string english;
  std::u16string chinese;
  std::u16string partOfSpeech;
  std::size_t line = 0;
  // The word's phonetics as the list gives them, without brackets or slashes ("əˈbændən");
  // never stored in the course file, which cannot hold them, but in the table beside it.
  std::u16string phonetic{};
  friend bool operator==(const ImportedEntry&, const ImportedEntry&) = default;
};

struct ImportedEntries {
  std::vector<ImportedEntry> entries;
  Refusal refusal;  // a text a course file cannot hold, with its line and character
};

// Every row with some text in the chosen columns, white space tidied, the word's numbering,
// phonetics and part-of-speech mark and a mark glued to the meaning taken apart, meanings on
// separate lines joined by "；"; at most `maxEntries`.
ImportedEntries MakeEntries(const ImportTable& table, const ColumnChoice& choice,
                            std::size_t maxEntries = static_cast<std::size_t>(-1));

}  // namespace editor

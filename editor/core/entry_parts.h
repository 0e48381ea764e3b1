// SPDX-License-Identifier: MIT
// The parts of a word list's cells as teachers type them: numbering before the word,
// phonetics after it, a part-of-speech mark before or glued to the meaning, and meanings
// on lines of their own.
#pragma once

#include <string>
#include <string_view>

namespace editor {

// The text without numbering at its start: "1. ", "1、", "①", "(2) ", "（2）", "3) ", "4．".
std::u16string_view WithoutNumbering(std::u16string_view text);

struct WordParts {
  std::u16string english;
  std::u16string phonetic;  // the phonetics without their brackets or slashes
  std::u16string partOfSpeech;
};
// "1. abandon [əˈbændən] vt." → abandon, əˈbændən, vt.; tidied, trailing dashes and colons
// (which separate the word from its meaning) dropped.
WordParts SplitWord(std::u16string_view cell);

struct MeaningParts {
  std::u16string phonetic;
  std::u16string partOfSpeech;
  std::u16string chinese;
};
// "vt.&vi.放弃<br>抛弃" → vt.&vi., 放弃；抛弃: phonetics before it ("英 [..] 美 [..]", the
// first kept) and a leading mark taken off, meanings on separate lines or between <br>
// joined by "；".
MeaningParts SplitMeaning(std::u16string_view cell);

// Where a line's meaning starts when no separator splits it: at its first Chinese character
// or Chinese punctuation mark after the numbering (the line's size when there is none).
std::size_t MeaningStart(std::u16string_view line);

}  // namespace editor

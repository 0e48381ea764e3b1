// SPDX-License-Identifier: MIT
// A list pasted from a document, one entry a line: a line with a tab splits at its first tab,
// another at its first Chinese character or Chinese punctuation mark; the word's numbering,
// phonetics and part-of-speech mark, and a mark glued to the meaning, are taken apart.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "import_table.h"

namespace editor {

// The columns of a pasted list, named as its header would name them.
inline constexpr int kPastedEnglish = 0;
inline constexpr int kPastedPhonetic = 1;
inline constexpr int kPastedPartOfSpeech = 2;
inline constexpr int kPastedChinese = 3;

// The fields of one line, in the columns above.
std::vector<std::u16string> SplitPastedLine(std::u16string_view line);

// Rows of the four columns above, named; lines without text give no row. At most kMostRows
// rows are kept (`cut` tells of more).
ImportTable ReadPastedLines(std::u16string_view text);

}  // namespace editor

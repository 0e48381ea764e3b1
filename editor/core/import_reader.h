// SPDX-License-Identifier: MIT
// Outside bytes or pasted text to an import table, whatever the format: Anki's export when
// it begins with Anki's header lines, separated fields when every first row splits alike at
// a separator, else one entry a line. A first row of column names is taken as the header.
#pragma once

#include <optional>
#include <string_view>

#include "import_table.h"

namespace editor {

// How the teacher has the text split: as guessed, one entry a line, or at a separator.
enum class Separation { Guess, Lines, Tab, Comma, Semicolon };

struct ReadChoices {
  Separation separation = Separation::Guess;
  std::optional<bool> headerRow;  // whether the first row names the columns; else guessed
};

ImportTable ReadImportText(std::u16string_view text, const ReadChoices& choices = {});
// A workbook (.xlsx) or text in any encoding DecodeImportBytes reads.
ImportTable ReadImportBytes(std::string_view bytes, const ReadChoices& choices = {});

// Whether these cells are column names only ("序号", "单词", "音标", "meaning", …).
bool NamesColumns(const std::vector<std::u16string>& cells);

}  // namespace editor

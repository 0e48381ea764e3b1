// SPDX-License-Identifier: MIT
// Outside bytes or pasted text to an import table, whatever the format: Anki's export when
// it begins with Anki's header lines, separated fields when every first row splits alike at
// a separator, else one entry a line. A first row of column names is taken as the header.
#pragma once

#include <optional>
#include <string>
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

// A list as it came, to be read again as the teacher chooses: a workbook's table, or text in
// any encoding DecodeImportBytes reads.
class ImportSource {
 public:
  static ImportSource FromBytes(std::string_view bytes);
  static ImportSource FromText(std::u16string text);

  ImportTable read(const ReadChoices& choices = {}) const;
  // Whether the teacher can choose how the source splits (text; a workbook has its cells).
  bool splits() const { return !workbook_; }

 private:
  std::u16string text_;
  std::optional<ImportTable> workbook_;  // as read, before a header row is taken
  Refusal refusal_;                      // bytes that are no text
};

ImportTable ReadImportBytes(std::string_view bytes, const ReadChoices& choices = {});

// Whether these cells are column names only ("序号", "单词", "音标", "meaning", …).
bool NamesColumns(const std::vector<std::u16string>& cells);

}  // namespace editor

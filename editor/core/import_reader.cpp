// SPDX-License-Identifier: MIT
#include "import_reader.h"

#include <algorithm>
#include <array>

#include "anki_reader.h"
#include "delimited_reader.h"
#include "import_text.h"
#include "paste_reader.h"

namespace editor {
namespace {

bool IsColumnName(std::u16string_view cell) {
  static constexpr std::array<std::u16string_view, 16> kNames{
      u"英文",    u"中文",    u"词性",    u"栏目", u"单词", u"释义",    u"词义",    u"english",
      u"English", u"chinese", u"Chinese", u"word", u"Word", u"meaning", u"Meaning", u"pos"};
  return std::find(kNames.begin(), kNames.end(), cell) != kNames.end();
}

// A first row that only names columns is a header, not an entry.
void TakeHeaderRow(ImportTable& table) {
  if (table.rows.empty()) return;
  const auto& cells = table.rows.front().fields;
  const bool named = std::any_of(cells.begin(), cells.end(), IsColumnName) &&
                     std::all_of(cells.begin(), cells.end(), [](const std::u16string& c) {
                       return c.empty() || IsColumnName(c);
                     });
  if (!named) return;
  table.columnNames = cells;
  table.rows.erase(table.rows.begin());
}

}  // namespace

ImportTable ReadImportText(std::u16string_view text) {
  if (LooksLikeAnkiNotes(text)) return ReadAnkiNotes(text);
  const auto separator = GuessSeparator(text);
  if (!separator) return ReadPastedLines(text);
  ImportTable table;
  table.rows = ReadDelimited(text, *separator, table.refusal);
  TakeHeaderRow(table);
  return table;
}

ImportTable ReadImportBytes(std::string_view bytes) {
  auto decoded = DecodeImportBytes(bytes);
  if (decoded.refusal) {
    ImportTable table;
    table.refusal = decoded.refusal;
    return table;
  }
  return ReadImportText(decoded.text);
}

}  // namespace editor

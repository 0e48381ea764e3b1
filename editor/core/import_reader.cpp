// SPDX-License-Identifier: MIT
#include "import_reader.h"

#include <algorithm>
#include <array>

#include "anki_reader.h"
#include "chinese_text.h"
#include "delimited_reader.h"
#include "import_text.h"
#include "paste_reader.h"
#include "workbook_reader.h"

namespace editor {
namespace {

bool IsColumnName(std::u16string_view cell) {
  static constexpr std::array<std::u16string_view, 27> kNames{
      u"序号",     u"编号",    u"单词",     u"英文",     u"词汇",      u"音标", u"词性",
      u"中文",     u"释义",    u"中文释义", u"词义",     u"例句",      u"栏目", u"no.",
      u"word",     u"words",   u"english",  u"phonetic", u"phonetics", u"pos",  u"meaning",
      u"meanings", u"chinese", u"sentence", u"example",  u"number",    u"#"};
  const std::u16string name = AsciiLower(Tidied(cell));
  return std::find(kNames.begin(), kNames.end(), name) != kNames.end();
}

// A line of a pasted list as the names it holds: split at tabs, commas, semicolons, spaces
// and 、.
std::vector<std::u16string> LineWords(std::u16string_view line) {
  std::vector<std::u16string> words(1);
  for (const char16_t c : line) {
    if (std::u16string_view(u"\t,;，；、 \u3000\r").find(c) != std::u16string_view::npos) {
      if (!words.back().empty()) words.emplace_back();
    } else {
      words.back().push_back(c);
    }
  }
  if (words.back().empty()) words.pop_back();
  return words;
}

std::optional<char16_t> SeparatorChosen(Separation separation, std::u16string_view text) {
  switch (separation) {
    case Separation::Guess:
      return GuessSeparator(text);
    case Separation::Lines:
      return std::nullopt;
    case Separation::Tab:
      return u'\t';
    case Separation::Comma:
      return u',';
    case Separation::Semicolon:
      return u';';
  }
  return std::nullopt;
}

std::u16string_view FirstTextLine(std::u16string_view text) {
  while (!text.empty()) {
    const auto end = std::min(text.find(u'\n'), text.size());
    if (!Tidied(text.substr(0, end)).empty()) return text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return {};
}

ImportTable ReadTable(std::u16string_view text, char16_t separator) {
  ImportTable table;
  table.rows = ReadDelimited(text, separator, table.refusal, 1, kMostRows + 1);
  if (table.rows.size() > kMostRows) {
    table.rows.pop_back();
    table.cut = true;
  }
  return table;
}

// The first row as the header, when the teacher says so or it only names columns.
void TakeHeaderRow(ImportTable& table, std::optional<bool> chosen,
                   const std::vector<std::u16string>& firstRowNames) {
  if (table.rows.empty() || !chosen.value_or(NamesColumns(firstRowNames))) return;
  if (table.format != ImportFormat::Paste) {
    table.columnNames.clear();
    for (const auto& cell : table.rows.front().fields) table.columnNames.push_back(Tidied(cell));
  }
  table.rows.erase(table.rows.begin());
  table.headerRow = true;
}

}  // namespace

bool NamesColumns(const std::vector<std::u16string>& cells) {
  std::vector<std::u16string> named;
  for (const auto& cell : cells) {
    if (!Tidied(cell).empty()) named.push_back(Tidied(cell));
  }
  // "word 单词" is an entry: an English word and its meaning, however much they name columns.
  if (named.size() == 2 && !HasChineseCharacter(named[0]) && HasChineseCharacter(named[1])) {
    return false;
  }
  return !named.empty() && std::all_of(named.begin(), named.end(), IsColumnName);
}

ImportTable ReadImportText(std::u16string_view text, const ReadChoices& choices) {
  if (choices.separation == Separation::Guess && LooksLikeAnkiNotes(text)) {
    // Anki names its columns in its header lines; a first note is a header only when the
    // teacher says so.
    auto table = ReadAnkiNotes(text);
    if (choices.headerRow.value_or(false)) TakeHeaderRow(table, true, {});
    return table;
  }
  if (const auto separator = SeparatorChosen(choices.separation, text)) {
    auto table = ReadTable(text, *separator);
    if (!table.rows.empty()) TakeHeaderRow(table, choices.headerRow, table.rows.front().fields);
    return table;
  }
  auto table = ReadPastedLines(text);
  TakeHeaderRow(table, choices.headerRow, LineWords(FirstTextLine(text)));
  return table;
}

ImportSource ImportSource::FromBytes(std::string_view bytes) {
  ImportSource source;
  if (LooksLikeWorkbook(bytes)) {
    source.workbook_ = ReadWorkbook(bytes);
    return source;
  }
  auto decoded = DecodeImportBytes(bytes);
  source.text_ = std::move(decoded.text);
  source.refusal_ = decoded.refusal;
  return source;
}

ImportSource ImportSource::FromText(std::u16string text) {
  ImportSource source;
  source.text_ = std::move(text);
  return source;
}

ImportTable ImportSource::read(const ReadChoices& choices) const {
  if (refusal_) {
    ImportTable table;
    table.refusal = refusal_;
    return table;
  }
  if (!workbook_) return ReadImportText(text_, choices);
  ImportTable table = *workbook_;
  if (!table.rows.empty()) TakeHeaderRow(table, choices.headerRow, table.rows.front().fields);
  return table;
}

ImportTable ReadImportBytes(std::string_view bytes, const ReadChoices& choices) {
  return ImportSource::FromBytes(bytes).read(choices);
}

}  // namespace editor

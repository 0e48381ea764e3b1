// SPDX-License-Identifier: MIT
#include "paste_reader.h"

#include <algorithm>

#include "chinese_text.h"
#include "entry_parts.h"

namespace editor {

std::vector<std::u16string> SplitPastedLine(std::u16string_view line) {
  const auto tab = line.find(u'\t');
  const bool tabbed = tab != std::u16string_view::npos;
  const auto split = tabbed ? tab : MeaningStart(line);
  WordParts word = SplitWord(line.substr(0, split));
  std::u16string meaningText(line.substr(std::min(tabbed ? split + 1 : split, line.size())));
  std::replace(meaningText.begin(), meaningText.end(), u'\t', u' ');
  MeaningParts meaning = SplitMeaning(meaningText);
  std::u16string partOfSpeech = std::move(word.partOfSpeech);
  if (!meaning.partOfSpeech.empty()) {
    if (!partOfSpeech.empty()) partOfSpeech += u' ';
    partOfSpeech += meaning.partOfSpeech;
  }
  return {std::move(word.english),
          word.phonetic.empty() ? std::move(meaning.phonetic) : std::move(word.phonetic),
          std::move(partOfSpeech), std::move(meaning.chinese)};
}

ImportTable ReadPastedLines(std::u16string_view text) {
  ImportTable table;
  table.format = ImportFormat::Paste;
  table.columnNames = {u"英文", u"音标", u"词性", u"中文"};
  std::size_t number = 1;
  while (!text.empty()) {
    auto end = text.find(u'\n');
    if (end == std::u16string_view::npos) end = text.size();
    const auto line = text.substr(0, end);
    if (!Tidied(line).empty()) {
      if (table.rows.size() == kMostRows) {
        table.cut = true;
        break;
      }
      table.rows.push_back({SplitPastedLine(line), number});
    }
    text.remove_prefix(std::min(end + 1, text.size()));
    ++number;
  }
  return table;
}

}  // namespace editor

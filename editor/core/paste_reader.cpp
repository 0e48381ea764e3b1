// SPDX-License-Identifier: MIT
#include "paste_reader.h"

#include <algorithm>

#include "chinese_text.h"

namespace editor {
namespace {

ImportRow SplitLine(std::u16string_view line, std::size_t number) {
  const auto meaningStart = std::find_if(line.begin(), line.end(), IsChineseCharacter);
  const auto split = static_cast<std::size_t>(meaningStart - line.begin());
  std::u16string word = Tidied(line.substr(0, split));
  std::u16string partOfSpeech;
  const auto lastSpace = word.rfind(u' ');
  if (lastSpace != std::u16string::npos &&
      IsPartOfSpeech(std::u16string_view(word).substr(lastSpace + 1))) {
    partOfSpeech = word.substr(lastSpace + 1);
    word.resize(lastSpace);
  }
  return {{std::move(word), std::move(partOfSpeech), Tidied(line.substr(split))}, number};
}

}  // namespace

ImportTable ReadPastedLines(std::u16string_view text) {
  ImportTable table;
  table.format = ImportFormat::Paste;
  std::size_t number = 1;
  while (!text.empty()) {
    auto end = text.find(u'\n');
    if (end == std::u16string_view::npos) end = text.size();
    const auto line = text.substr(0, end);
    if (!Tidied(line).empty()) table.rows.push_back(SplitLine(line, number));
    text.remove_prefix(std::min(end + 1, text.size()));
    ++number;
  }
  return table;
}

}  // namespace editor

// SPDX-License-Identifier: MIT
#include "import_entries.h"

#include <algorithm>
#include <array>

#include "chinese_text.h"
#include "entry_parts.h"
#include "stored_text.h"
#include "utf8.h"

namespace editor {
namespace {

enum class Role { English, Chinese, PartOfSpeech, Phonetic, None };

Role RoleNamed(std::u16string_view name) {
  static constexpr std::array<std::pair<std::u16string_view, Role>, 17> kNames{{
      {u"英文", Role::English},
      {u"单词", Role::English},
      {u"词汇", Role::English},
      {u"english", Role::English},
      {u"word", Role::English},
      {u"words", Role::English},
      {u"中文", Role::Chinese},
      {u"释义", Role::Chinese},
      {u"中文释义", Role::Chinese},
      {u"词义", Role::Chinese},
      {u"chinese", Role::Chinese},
      {u"meaning", Role::Chinese},
      {u"meanings", Role::Chinese},
      {u"词性", Role::PartOfSpeech},
      {u"pos", Role::PartOfSpeech},
      {u"音标", Role::Phonetic},
      {u"phonetic", Role::Phonetic},
  }};
  const std::u16string lower = AsciiLower(name);
  for (const auto& [text, role] : kNames) {
    if (lower == text) return role;
  }
  return Role::None;
}

struct ColumnShares {
  std::size_t filled = 0;
  std::size_t chinese = 0;
  std::size_t marks = 0;
  std::size_t latin = 0;
  std::size_t phonetic = 0;
};

std::vector<ColumnShares> Shares(const ImportTable& table) {
  std::vector<ColumnShares> shares(table.columnCount());
  for (const auto& row : table.rows) {
    for (std::size_t i = 0; i < row.fields.size(); ++i) {
      const auto& cell = row.fields[i];
      if (cell.empty()) continue;
      auto& share = shares[i];
      ++share.filled;
      share.chinese += HasChineseCharacter(cell);
      share.marks += IsPartOfSpeech(cell);
      share.phonetic += cell.size() > 2 && (cell.front() == u'[' || cell.front() == u'/') &&
                        (cell.back() == u']' || cell.back() == u'/');
      share.latin += std::any_of(cell.begin(), cell.end(), [](char16_t c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
      });
    }
  }
  return shares;
}

const std::u16string& Cell(const ImportRow& row, int column) {
  static const std::u16string kEmpty;
  return column >= 0 && static_cast<std::size_t>(column) < row.fields.size()
             ? row.fields[static_cast<std::size_t>(column)]
             : kEmpty;
}

std::u16string WithoutPhoneticMarks(std::u16string_view cell) {
  std::u16string phonetic = Tidied(cell);
  if (phonetic.size() >= 2 && (phonetic.front() == u'[' || phonetic.front() == u'/') &&
      (phonetic.back() == u']' || phonetic.back() == u'/')) {
    phonetic = Tidied(std::u16string_view(phonetic).substr(1, phonetic.size() - 2));
  }
  return phonetic;
}

// The entry a row gives: numbering, phonetics and marks taken out of the word and meaning
// cells, the part of speech from its own column when that has one.
ImportedEntry EntryOf(const ImportRow& row, const ColumnChoice& choice) {
  WordParts word = SplitWord(Cell(row, choice.english));
  MeaningParts meaning = SplitMeaning(Cell(row, choice.chinese));
  std::u16string partOfSpeech = Tidied(Cell(row, choice.partOfSpeech));
  if (partOfSpeech.empty()) {
    partOfSpeech =
        !word.partOfSpeech.empty() ? std::move(word.partOfSpeech) : std::move(meaning.partOfSpeech);
  }
  std::u16string phonetic = WithoutPhoneticMarks(Cell(row, choice.phonetic));
  if (phonetic.empty()) phonetic = std::move(word.phonetic);
  if (phonetic.empty()) phonetic = std::move(meaning.phonetic);
  return {std::move(word.english), std::move(meaning.chinese), std::move(partOfSpeech), row.line,
          std::move(phonetic)};
}

}  // namespace

ColumnChoice GuessColumns(const ImportTable& table) {
  ColumnChoice choice;
  for (std::size_t i = 0; i < table.columnNames.size(); ++i) {
    const int column = static_cast<int>(i);
    switch (RoleNamed(table.columnNames[i])) {
      case Role::English:
        choice.english = column;
        break;
      case Role::Chinese:
        choice.chinese = column;
        break;
      case Role::PartOfSpeech:
        choice.partOfSpeech = column;
        break;
      case Role::Phonetic:
        choice.phonetic = column;
        break;
      case Role::None:
        break;
    }
  }
  const auto shares = Shares(table);
  const auto taken = [&choice](int c) {
    return c == choice.english || c == choice.chinese || c == choice.partOfSpeech ||
           c == choice.phonetic;
  };
  // Each role not named goes to the free column that suits it best.
  const auto best = [&](int& role, auto score) {
    if (role != kNoColumn) return;
    double top = 0;
    for (std::size_t i = 0; i < shares.size(); ++i) {
      const int column = static_cast<int>(i);
      const double s = shares[i].filled == 0 ? 0 : score(shares[i]) / double(shares[i].filled);
      if (!taken(column) && s > top) {
        top = s;
        role = column;
      }
    }
  };
  best(choice.chinese, [](const ColumnShares& s) { return double(s.chinese); });
  best(choice.partOfSpeech,
       [](const ColumnShares& s) { return s.marks * 2 >= s.filled ? double(s.marks) : 0.0; });
  best(choice.phonetic,
       [](const ColumnShares& s) { return s.phonetic * 2 >= s.filled ? double(s.phonetic) : 0.0; });
  best(choice.english, [](const ColumnShares& s) { return double(s.latin); });
  for (std::size_t i = 0; choice.english == kNoColumn && i < shares.size(); ++i) {
    if (!taken(static_cast<int>(i)) && shares[i].filled > 0) choice.english = static_cast<int>(i);
  }
  return choice;
}

ImportedEntries MakeEntries(const ImportTable& table, const ColumnChoice& choice,
                            std::size_t maxEntries) {
  ImportedEntries result;
  for (const auto& row : table.rows) {
    if (result.entries.size() >= maxEntries) break;
    ImportedEntry entry = EntryOf(row, choice);
    // A row without English is empty or a heading ("第一单元 生词表"), never an entry: the
    // chooser would not list it, nor could it be studied.
    if (entry.english.empty() && entry.partOfSpeech.empty()) continue;
    for (const auto* text : {&entry.english, &entry.chinese, &entry.partOfSpeech}) {
      if (const Problem problem = StoreProblem(*text)) {
        std::u16string reason = Quoted(*text);
        reason.append(u"：").append(problem.chinese);
        std::string english = "\"";
        english.append(course::ToUtf8(*text)).append("\": ").append(problem.english);
        result.refusal = {row.line, std::move(reason), std::move(english)};
        return result;
      }
    }
    result.entries.push_back(std::move(entry));
  }
  return result;
}

}  // namespace editor

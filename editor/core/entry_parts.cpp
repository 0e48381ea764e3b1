// SPDX-License-Identifier: MIT
#include "entry_parts.h"

#include <algorithm>
#include <vector>

#include "chinese_text.h"

namespace editor {
namespace {

bool IsDigit(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'０' && c <= u'９');
}

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\u3000';
}

// ①…⑳, ⑴…⒇, ⒈…⒛, ❶…➓, ㉑…㊿.
bool IsCircledNumber(char16_t c) {
  return (c >= 0x2460 && c <= 0x249B) || (c >= 0x2776 && c <= 0x2793) ||
         (c >= 0x3251 && c <= 0x325F) || (c >= 0x32B1 && c <= 0x32BF);
}

bool IsChinesePunctuation(char16_t c) {
  return (c >= 0x3001 && c <= 0x303F) || (c >= 0xFF01 && c <= 0xFF0F) ||
         (c >= 0xFF1A && c <= 0xFF20) || (c >= 0xFF3B && c <= 0xFF40) ||
         (c >= 0xFF5B && c <= 0xFF65);
}

// What separates a word from its meaning when typed between them.
bool IsJoiner(char16_t c) {
  return IsBlank(c) ||
         std::u16string_view(u"-—–－:：=＝,，;；").find(c) != std::u16string_view::npos;
}

std::u16string_view TrimmedBlanks(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::u16string WithoutTrailingJoiners(std::u16string text) {
  while (!text.empty() && IsJoiner(text.back())) text.pop_back();
  return text;
}

// The phonetics at the end of `word` ("… [ə'bændən]", "… /ə'bændən/"), taken off it.
bool TakePhonetic(std::u16string& word, std::u16string& phonetic) {
  if (word.size() < 3) return false;
  const char16_t close = word.back();
  const char16_t open = close == u']' ? u'[' : close == u'/' ? u'/' : 0;
  if (open == 0) return false;
  const auto start = word.rfind(open, word.size() - 2);
  // Only after the word and a space: "and/or" is no phonetics.
  if (start == std::u16string::npos || start == 0 || word[start - 1] != u' ') return false;
  phonetic = Tidied(std::u16string_view(word).substr(start + 1, word.size() - start - 2));
  word = WithoutTrailingJoiners(word.substr(0, start - 1));
  return !phonetic.empty();
}

// A part-of-speech mark at the end of `word` ("give up v."), taken off it.
bool TakePartOfSpeech(std::u16string& word, std::u16string& partOfSpeech) {
  const auto space = word.rfind(u' ');
  if (space == std::u16string::npos) return false;
  const std::u16string_view mark = std::u16string_view(word).substr(space + 1);
  if (!IsPartOfSpeech(mark)) return false;
  partOfSpeech = mark;
  word = WithoutTrailingJoiners(word.substr(0, space));
  return true;
}

// The meaning's lines and <br> breaks, each tidied, empty ones dropped.
std::vector<std::u16string> MeaningLines(std::u16string_view cell) {
  std::vector<std::u16string> lines;
  std::u16string line;
  const auto endLine = [&] {
    std::u16string tidied = Tidied(line);
    while (!tidied.empty() && (tidied.back() == u'；' || tidied.back() == u';')) tidied.pop_back();
    if (!tidied.empty()) lines.push_back(std::move(tidied));
    line.clear();
  };
  for (std::size_t i = 0; i < cell.size(); ++i) {
    if (cell[i] == u'\n' || cell[i] == u'\r') {
      endLine();
      continue;
    }
    if (cell[i] == u'<') {
      const auto close = cell.find(u'>', i);
      if (close != std::u16string_view::npos) {
        std::u16string tag = AsciiLower(cell.substr(i + 1, close - i - 1));
        std::erase(tag, u' ');
        if (tag == u"br" || tag == u"br/") {
          endLine();
          i = close;
          continue;
        }
      }
    }
    line.push_back(cell[i]);
  }
  endLine();
  return lines;
}

// Phonetics before the meaning, as dictionaries print them ("[..]", "/../", "英 [..] 美 [..]"),
// taken off it; the first of them.
std::u16string TakeLeadingPhonetics(std::u16string_view& meaning) {
  std::u16string first;
  while (true) {
    std::u16string_view rest = meaning;
    if (rest.starts_with(u"英") || rest.starts_with(u"美")) {
      rest.remove_prefix(1);
      while (!rest.empty() &&
             (IsBlank(rest.front()) || rest.front() == u':' || rest.front() == u'：')) {
        rest.remove_prefix(1);
      }
    }
    if (rest.empty() || (rest.front() != u'[' && rest.front() != u'/')) break;
    const auto end = rest.find(rest.front() == u'[' ? u']' : u'/', 1);
    if (end == std::u16string_view::npos) break;
    if (first.empty()) first = Tidied(rest.substr(1, end - 1));
    meaning = TrimmedBlanks(rest.substr(end + 1));
  }
  return first;
}

}  // namespace

std::u16string_view WithoutNumbering(std::u16string_view text) {
  const std::u16string_view original = text;
  text = TrimmedBlanks(text);
  if (!text.empty() && IsCircledNumber(text.front())) return TrimmedBlanks(text.substr(1));
  std::size_t at = 0;
  const bool bracketed = !text.empty() && (text[0] == u'(' || text[0] == u'（');
  if (bracketed) ++at;
  const std::size_t digits = at;
  while (at < text.size() && IsDigit(text[at])) ++at;
  if (at == digits || at >= text.size()) return original;
  const char16_t mark = text[at];
  const bool closes = mark == u')' || mark == u'）';
  if (bracketed && !closes) return original;
  if (!closes && std::u16string_view(u".、．:：").find(mark) == std::u16string_view::npos) {
    return original;
  }
  // "1.5 times" is a number, not numbering.
  if (mark == u'.' && at + 1 < text.size() && IsDigit(text[at + 1])) return original;
  return TrimmedBlanks(text.substr(at + 1));
}

WordParts SplitWord(std::u16string_view cell) {
  WordParts parts;
  std::u16string word = WithoutTrailingJoiners(Tidied(WithoutNumbering(cell)));
  // Phonetics and the mark follow the word in either order, each once.
  bool phonetic = false;
  bool mark = false;
  while ((!phonetic && (phonetic = TakePhonetic(word, parts.phonetic))) ||
         (!mark && (mark = TakePartOfSpeech(word, parts.partOfSpeech)))) {
  }
  parts.english = std::move(word);
  return parts;
}

MeaningParts SplitMeaning(std::u16string_view cell) {
  MeaningParts parts;
  std::u16string joined;
  for (const auto& line : MeaningLines(cell)) {
    if (!joined.empty()) joined += u"；";
    joined += line;
  }
  std::u16string_view meaning = joined;
  parts.phonetic = TakeLeadingPhonetics(meaning);
  const auto start = MeaningStart(meaning);
  const std::u16string lead = Tidied(meaning.substr(0, start));
  if (IsPartOfSpeech(lead)) {
    parts.partOfSpeech = lead;
    meaning.remove_prefix(start);
  } else if (const auto space = lead.find(u' ');
             space != std::u16string::npos && IsPartOfSpeech(lead.substr(0, space))) {
    parts.partOfSpeech = lead.substr(0, space);
    meaning.remove_prefix(meaning.find(u' ') + 1);
  }
  while (!meaning.empty() && IsJoiner(meaning.front())) meaning.remove_prefix(1);
  parts.chinese = Tidied(meaning);
  return parts;
}

std::size_t MeaningStart(std::u16string_view line) {
  const auto numbering = WithoutNumbering(line).data() - line.data();
  const auto start = std::find_if(line.begin() + numbering, line.end(), [](char16_t c) {
    return IsChineseCharacter(c) || IsChinesePunctuation(c);
  });
  return static_cast<std::size_t>(start - line.begin());
}

}  // namespace editor

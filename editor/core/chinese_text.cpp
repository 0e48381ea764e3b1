// SPDX-License-Identifier: MIT
#include "chinese_text.h"

#include <algorithm>
#include <array>

namespace editor {
namespace {

bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0x3000 || c == 0x00A0;
}

}  // namespace

std::u16string AsciiLower(std::u16string_view text) {
  std::u16string lower(text);
  for (char16_t& c : lower) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  }
  return lower;
}

bool IsChineseCharacter(char16_t c) {
  return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
         (c >= 0xF900 && c <= 0xFAFF);
}

bool HasChineseCharacter(std::u16string_view text) {
  return std::any_of(text.begin(), text.end(), IsChineseCharacter);
}

std::u16string Tidied(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  bool pendingSpace = false;
  for (const char16_t c : text) {
    if (IsSpace(c)) {
      pendingSpace = !out.empty();
      continue;
    }
    if (pendingSpace) out.push_back(u' ');
    pendingSpace = false;
    out.push_back(c);
  }
  return out;
}

std::u16string TidiedLines(std::u16string_view text) {
  std::u16string out;
  while (!text.empty()) {
    const auto end = std::min(text.find(u'\n'), text.size());
    const std::u16string line = Tidied(text.substr(0, end));
    if (!line.empty()) out += (out.empty() ? u"" : u"\n") + line;
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return out;
}

bool IsPartOfSpeech(std::u16string_view text) {
  static constexpr std::array<std::u16string_view, 17> kMarks{
      u"n",   u"v",    u"vt",  u"vi",  u"adj", u"a",      u"adv", u"prep", u"conj",
      u"phr", u"pron", u"num", u"art", u"int", u"interj", u"aux", u"abbr"};
  std::size_t start = 0;
  while (true) {
    std::size_t end = text.find_first_of(u"/&,", start);
    if (end == std::u16string_view::npos) end = text.size();
    std::u16string_view part = text.substr(start, end - start);
    while (!part.empty() && part.front() == u' ') part.remove_prefix(1);
    while (!part.empty() && part.back() == u' ') part.remove_suffix(1);
    if (part.size() < 2 || part.back() != u'.') return false;
    const std::u16string word = AsciiLower(part.substr(0, part.size() - 1));
    if (std::find(kMarks.begin(), kMarks.end(), word) == kMarks.end()) return false;
    if (end == text.size()) break;
    start = end + 1;
  }
  return true;
}

std::u16string Quoted(char16_t c) {
  return Quoted(std::u16string_view(&c, 1));
}

std::u16string Quoted(std::u16string_view text) {
  std::u16string quoted;
  quoted.reserve(text.size() + 2);
  quoted.push_back(u'“');
  quoted.append(text);
  quoted.push_back(u'”');
  return quoted;
}

std::u16string Number(std::size_t n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace editor

// SPDX-License-Identifier: MIT
#include "english_words.h"

namespace course {
namespace {

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || static_cast<unsigned char>(c) >= 0x80;
}

bool JoinsLetters(char c) {
  return c == '\'' || c == '-';
}

}  // namespace

std::vector<std::string> EnglishWords(std::string_view english) {
  std::vector<std::string> words;
  std::string word;
  const auto finish = [&] {
    while (!word.empty() && JoinsLetters(word.back())) word.pop_back();
    if (!word.empty()) words.push_back(word);
    word.clear();
  };
  for (const char c : english) {
    if (IsLetter(c)) {
      word.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    } else if (JoinsLetters(c) && !word.empty()) {
      word.push_back(c);
    } else {
      finish();
    }
  }
  finish();
  return words;
}

}  // namespace course

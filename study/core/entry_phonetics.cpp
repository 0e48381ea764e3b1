// SPDX-License-Identifier: MIT
#include "entry_phonetics.h"

#include "arpabet_ipa.h"

namespace study {
namespace {

bool IsLetter(char c) {
  // Bytes of non-ASCII letters (é) belong to words too.
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || static_cast<unsigned char>(c) >= 0x80;
}

bool JoinsLetters(char c) {
  return c == '\'' || c == '-';
}

}  // namespace

std::vector<std::string> LexiconWords(std::string_view english) {
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

Phonetics PhoneticsOf(std::string_view english, const course::PhoneticsTable& table,
                      const Lexicon& lexicon) {
  if (auto whole = table.find(english)) return {std::move(*whole), false};
  Phonetics phonetics;
  for (const std::string& word : LexiconWords(english)) {
    std::string ipa;
    if (auto listed = table.find(word)) {
      ipa = std::move(*listed);
    } else if (lexicon) {
      ipa = ArpabetToIpa(lexicon(word));
      phonetics.american = phonetics.american || !ipa.empty();
    }
    if (ipa.empty()) continue;
    if (!phonetics.ipa.empty()) phonetics.ipa += ' ';
    phonetics.ipa += ipa;
  }
  return phonetics;
}

}  // namespace study

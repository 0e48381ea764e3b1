// SPDX-License-Identifier: MIT
#include "entry_phonetics.h"

#include "arpabet_ipa.h"
#include "english_words.h"

namespace study {

Phonetics PhoneticsOf(std::string_view english, const course::PhoneticsTable& table,
                      const Lexicon& lexicon) {
  if (auto whole = table.find(english)) return {std::move(*whole), false};
  Phonetics phonetics;
  for (const std::string& word : course::EnglishWords(english)) {
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

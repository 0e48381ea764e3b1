// SPDX-License-Identifier: MIT
// The phonetics under a card's English line: the teacher's table first, else the voice's
// lexicon turned into the IPA with its stress marks at the syllables' starts.
#include <gtest/gtest.h>

#include <sstream>

#include "arpabet_ipa.h"
#include "english_words.h"
#include "entry_phonetics.h"

namespace study {
namespace {

std::vector<std::string> Phones(const std::string& spaced) {
  std::istringstream in(spaced);
  std::vector<std::string> phones;
  for (std::string phone; in >> phone;) phones.push_back(phone);
  return phones;
}

TEST(ArpabetToIpa, MarksStressBeforeTheSyllablesOnset) {
  const std::pair<const char*, const char*> cases[] = {
      {"ax0 b ae1 n d ax0 n", "əˈbændən"},         // abandon
      {"p ey1 sh ax0 n s", "ˈpeɪʃəns"},            // patience
      {"m ih0 s t ey1 k", "mɪˈsteɪk"},             // mistake: st begins it
      {"ih0 m p ao1 r t ax0 n t", "ɪmˈpɔrtənt"},   // important: mp does not
      {"ae2 k ax0 d eh1 m ih0 k", "ˌækəˈdɛmɪk"},   // academic
      {"ih0 k s t r iy1 m", "ɪkˈstrim"},           // extreme: str
      {"hh ax0 l ow1", "həˈloʊ"},                  // hello
      {"ah1 n d er0 s t ae2 n d", "ˈʌndɚˌstænd"},  // understand, ah1 and er0
      {"b er1 d", "bɝd"},                          // one syllable: no mark
      {"s t r eh1 ng k th", "strɛŋkθ"},            // strength
      {"ch ay1 l d", "tʃaɪld"},                    // child
      {"jh ah1 dh er0", "ˈdʒʌðɚ"},                 // every consonant symbol
      {"hh y uw1 jh", "hjudʒ"},                    // huge
      {"sh uh1 g er0 z", "ˈʃʊɡɚz"},
      {"v ih1 zh ax0 n", "ˈvɪʒən"},          // vision
      {"b oy1 aw1 ao1 aa1", "ˈbɔɪˈaʊˈɔˈɑ"},  // vowels side by side
      {"s ih1 ng ax0 ng", "ˈsɪŋəŋ"},         // ng never begins one
      {"pau w ah1 n pau", "wʌn"},
      {"ax0", "ə"},
      {"", ""},
      {"ax0 x9", ""},  // not ARPAbet
      {"aa7", ""},
  };
  for (const auto& [phones, ipa] : cases) EXPECT_EQ(ArpabetToIpa(Phones(phones)), ipa) << phones;
}

TEST(EnglishWords, TakesTheWordsOfALine) {
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"Abandon", {"abandon"}},
      {"give up", {"give", "up"}},
      {"Where there is a will, there is a way.",
       {"where", "there", "is", "a", "will", "there", "is", "a", "way"}},
      {"don't well-known 'quoted' -dash-", {"don't", "well-known", "quoted", "dash"}},
      {"café 2 cups", {"café", "cups"}},
      {"", {}},
  };
  for (const auto& [line, words] : cases) EXPECT_EQ(course::EnglishWords(line), words) << line;
}

TEST(PhoneticsOf, TheTableFirstThenTheLexiconWordByWord) {
  course::PhoneticsTable table;
  table.put("abandon", "əˈbændən");
  table.put("give up", "ɡɪv ˈʌp");
  table.put("way", "weɪ");
  std::vector<std::string> asked;
  const Lexicon lexicon = [&asked](const std::string& word) {
    asked.push_back(word);
    if (word == "patience") return Phones("p ey1 sh ax0 n s");
    if (word == "a") return Phones("ax0");
    return std::vector<std::string>{};
  };
  struct Case {
    const char* english;
    const char* ipa;
    bool american;
    std::vector<std::string> asked;
  };
  const std::vector<Case> cases = {
      {"Abandon", "əˈbændən", false, {}},
      {"give  up", "ɡɪv ˈʌp", false, {}},
      {"patience", "ˈpeɪʃəns", true, {"patience"}},
      {"a way", "ə weɪ", true, {"a"}},
      {"Way!", "weɪ", false, {}},
      {"zzz", "", false, {"zzz"}},
  };
  for (const Case& c : cases) {
    asked.clear();
    const Phonetics found = PhoneticsOf(c.english, table, lexicon);
    EXPECT_EQ(found.ipa, c.ipa) << c.english;
    EXPECT_EQ(found.american, c.american) << c.english;
    EXPECT_EQ(asked, c.asked) << c.english;
  }
  EXPECT_EQ(PhoneticsOf("patience", table, nullptr).ipa, "") << "no voice, no lexicon";
}

}  // namespace
}  // namespace study

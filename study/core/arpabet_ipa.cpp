// SPDX-License-Identifier: MIT
#include "arpabet_ipa.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace study {
namespace {

struct Sound {
  std::string_view arpabet;
  std::string_view ipa;
};

constexpr std::array<Sound, 16> kVowels = {{{"aa", "ɑ"},
                                            {"ae", "æ"},
                                            {"ah", "ʌ"},
                                            {"ao", "ɔ"},
                                            {"aw", "aʊ"},
                                            {"ax", "ə"},
                                            {"ay", "aɪ"},
                                            {"eh", "ɛ"},
                                            {"er", "ɝ"},
                                            {"ey", "eɪ"},
                                            {"ih", "ɪ"},
                                            {"iy", "i"},
                                            {"ow", "oʊ"},
                                            {"oy", "ɔɪ"},
                                            {"uh", "ʊ"},
                                            {"uw", "u"}}};

constexpr std::array<Sound, 24> kConsonants = {
    {{"b", "b"},  {"ch", "tʃ"}, {"d", "d"}, {"dh", "ð"}, {"f", "f"},  {"g", "ɡ"},
     {"hh", "h"}, {"jh", "dʒ"}, {"k", "k"}, {"l", "l"},  {"m", "m"},  {"n", "n"},
     {"ng", "ŋ"}, {"p", "p"},   {"r", "r"}, {"s", "s"},  {"sh", "ʃ"}, {"t", "t"},
     {"th", "θ"}, {"v", "v"},   {"w", "w"}, {"y", "j"},  {"z", "z"},  {"zh", "ʒ"}}};

// The clusters of more than one consonant that begin English syllables.
constexpr std::array<std::string_view, 41> kClusters = {
    "p l",  "p r",   "t r",   "d r",   "k l",   "k r",   "b l",   "b r",  "g l", "g r", "f l",
    "f r",  "th r",  "sh r",  "s p",   "s t",   "s k",   "s m",   "s n",  "s l", "s w", "s f",
    "t w",  "d w",   "k w",   "g w",   "th w",  "p y",   "b y",   "k y",  "m y", "f y", "v y",
    "hh y", "s p l", "s p r", "s t r", "s k r", "s k w", "s p y", "s k y"};

std::optional<std::string_view> Find(const auto& sounds, std::string_view arpabet) {
  for (const Sound& sound : sounds) {
    if (sound.arpabet == arpabet) return sound.ipa;
  }
  return std::nullopt;
}

bool BeginsSyllable(const std::vector<std::string_view>& consonants) {
  if (consonants.size() == 1) return consonants.front() != "ng";
  std::string joined;
  for (const auto consonant : consonants) {
    if (!joined.empty()) joined += ' ';
    joined += consonant;
  }
  return std::find(kClusters.begin(), kClusters.end(), joined) != kClusters.end();
}

struct Phone {
  std::string_view ipa;
  std::string_view arpabet;  // without its stress
  char stress = 0;           // '0', '1' or '2' for a vowel, 0 for a consonant
};

}  // namespace

std::string ArpabetToIpa(const std::vector<std::string>& phones) {
  std::vector<Phone> word;
  for (const std::string& phone : phones) {
    const std::string_view name(phone);
    const char last = name.empty() ? 0 : name.back();
    if (last >= '0' && last <= '2') {
      const std::string_view vowel = name.substr(0, name.size() - 1);
      auto ipa = Find(kVowels, vowel);
      if (!ipa) return {};
      // Unstressed, flite's ʌ and ɝ are the weak ə and ɚ.
      if (last == '0' && vowel == "ah") ipa = "ə";
      if (last == '0' && vowel == "er") ipa = "ɚ";
      word.push_back({*ipa, vowel, last});
    } else if (const auto ipa = Find(kConsonants, name)) {
      word.push_back({*ipa, name, 0});
    } else if (name != "pau") {
      return {};
    }
  }
  const auto vowels =
      std::count_if(word.begin(), word.end(), [](const Phone& p) { return p.stress; });
  // Where each stress mark goes: before the longest run of consonants ahead of a stressed
  // vowel that can begin a syllable, all of them before the first vowel.
  std::vector<std::string_view> marks(word.size() + 1);
  for (std::size_t i = 0; vowels > 1 && i < word.size(); ++i) {
    if (word[i].stress != '1' && word[i].stress != '2') continue;
    std::size_t start = i;
    while (start > 0 && !word[start - 1].stress) --start;
    const bool first = std::none_of(word.begin(), word.begin() + static_cast<std::ptrdiff_t>(i),
                                    [](const Phone& p) { return p.stress; });
    std::size_t onset = i;
    for (std::size_t from = start; !first && from < i; ++from) {
      std::vector<std::string_view> consonants;
      for (std::size_t k = from; k < i; ++k) consonants.push_back(word[k].arpabet);
      if (BeginsSyllable(consonants)) {
        onset = from;
        break;
      }
    }
    marks[first ? start : onset] = word[i].stress == '1' ? "ˈ" : "ˌ";
  }
  std::string ipa;
  for (std::size_t i = 0; i < word.size(); ++i) {
    ipa += marks[i];
    ipa += word[i].ipa;
  }
  return ipa;
}

}  // namespace study

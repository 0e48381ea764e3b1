// SPDX-License-Identifier: MIT
// A word's phones as flite's US English lexicon gives them (ARPAbet, every vowel with its
// stress: 0 none, 1 primary, 2 secondary) written in the IPA as American dictionaries
// print it.
#pragma once

#include <string>
#include <vector>

namespace study {

// "ax0 b ae1 n d ax0 n" → "əˈbændən": ˈ and ˌ before a stressed syllable's onset (the
// consonants before its vowel that can begin an English syllable), none in a word of one
// syllable. Empty when a phone is not ARPAbet.
std::string ArpabetToIpa(const std::vector<std::string>& phones);

}  // namespace study

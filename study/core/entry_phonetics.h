// SPDX-License-Identifier: MIT
// The phonetics a card shows under its English line: the teacher's, from the phonetics
// table beside the books, or else what the voice's own lexicon says, so that every word
// has some.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "phonetics_table.h"

namespace study {

struct Phonetics {
  std::string ipa;        // without brackets; empty when nothing is known
  bool american = false;  // some of it is the voice's US English
};

// A word's phones from the voice's lexicon (ARPAbet with stress digits), or none.
using Lexicon = std::function<std::vector<std::string>(const std::string& word)>;

// The whole line as the table has it; else word by word, each from the table or the lexicon.
Phonetics PhoneticsOf(std::string_view english, const course::PhoneticsTable& table,
                      const Lexicon& lexicon);

}  // namespace study

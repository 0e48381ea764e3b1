// SPDX-License-Identifier: MIT
// The words of an English line as the suite looks them up (phonetics, the voice's lexicon).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace course {

// In lower case: letters with the apostrophes and hyphens inside them ("don't",
// "well-known"); bytes of non-ASCII letters (é) belong to words too.
std::vector<std::string> EnglishWords(std::string_view english);

}  // namespace course

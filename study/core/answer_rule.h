// SPDX-License-Identifier: MIT
// The one rule typed answers are compared by, in dictation and in typing, and the form a
// text is shown in for typing: typographic apostrophes, quotes and dashes and an input
// method's full-width letters, digits and punctuation count as what a keyboard types.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace study {

// What a plain keyboard types for `c`: ’ → ', “ → ", — → -, Ａ → A, ？ → ?, 　 → space.
char16_t KeyboardForm(char16_t c);
// The text as a keyboard types it, character for character.
std::u16string KeyboardText(std::u16string_view text);

// Whether a typed answer is the expected line as dictation compares them: keyboard forms,
// any case, spaces at either end and runs of spaces inside not counted, a final . ? or !
// optional.
bool SameAnswer(std::u16string_view typed, std::u16string_view expected);

// Which characters of a typed answer and of the expected line differ, as dictation shows
// them: each text as written (only runs of spaces made single), marked where it lies
// outside a longest common subsequence of both compared texts.
struct Differences {
  std::u16string typed;
  std::u16string expected;
  std::vector<bool> typedWrong;      // per character of `typed`
  std::vector<bool> expectedMissed;  // per character of `expected`
};
Differences Compare(std::u16string_view typed, std::u16string_view expected);

}  // namespace study

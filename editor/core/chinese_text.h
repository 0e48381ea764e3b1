// SPDX-License-Identifier: MIT
// Small judgements about text that the import formats and the checks share.
#pragma once

#include <string>
#include <string_view>

namespace editor {

// A Chinese character (a CJK ideograph).
bool IsChineseCharacter(char16_t c);
bool HasChineseCharacter(std::u16string_view text);
// Without white space at either end, inner runs of white space made one space.
std::u16string Tidied(std::u16string_view text);
// Each line tidied, lines left empty dropped, the rest joined by '\n'.
std::u16string TidiedLines(std::u16string_view text);
// With the letters A to Z made lower case.
std::u16string AsciiLower(std::u16string_view text);
// A part-of-speech mark as word lists write them: "n.", "v.", "adj.", also "n./v.".
bool IsPartOfSpeech(std::u16string_view text);
// "“x”" naming one character, as messages quote it.
std::u16string Quoted(char16_t c);
std::u16string Quoted(std::u16string_view text);
// A number in a message.
std::u16string Number(std::size_t n);

}  // namespace editor

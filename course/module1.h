// SPDX-License-Identifier: MIT
// Stored text -> display text: every character's code page 936 code value moves up by 10.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace course {

inline constexpr char16_t kReplacementChar = 0xFFFD;

// Never fails: a character with no code value, or a new value that denotes no character,
// shows as U+FFFD so the learner sees that something is missing.
std::u16string UnscrambleText(std::u16string_view stored);

// Why a display text has no stored form.
struct ScrambleRefusal {
  char16_t character = 0;       // the first character that has none; 0 when the whole does not
  bool noCodeValue = false;     // that character is not in code page 936 at all
  std::size_t storedBytes = 0;  // when the whole is longer than a text may be (65535 bytes)
};

// Display text -> stored text: every code value down by 10. nullopt, with the reason in
// `refusal`, when a character has no stored form, the stored bytes would not read back as
// the same text or are too many for one text.
std::optional<std::u16string> ScrambleText(std::u16string_view display,
                                           ScrambleRefusal* refusal = nullptr);

}  // namespace course

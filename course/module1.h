// SPDX-License-Identifier: MIT
// Stored text -> display text: every character's code page 936 code value moves up by 10.
#pragma once

#include <string>
#include <string_view>

namespace course {

inline constexpr char16_t kReplacementChar = 0xFFFD;

// Never fails: a character with no code value, or a new value that denotes no character,
// shows as U+FFFD so the learner sees that something is missing.
std::u16string UnscrambleText(std::u16string_view stored);

}  // namespace course

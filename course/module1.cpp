// SPDX-License-Identifier: MIT
#include "module1.h"

#include "cp936.h"

namespace course {

namespace {
constexpr std::uint32_t kShift = 10;
}

std::u16string UnscrambleText(std::u16string_view stored) {
  const Cp936& codec = Cp936::instance();
  std::u16string display;
  display.reserve(stored.size());
  for (const char16_t c : stored) {
    const std::uint16_t code = codec.codeOf(c);
    const char16_t shown = code == Cp936::kNoCode ? Cp936::kNoChar : codec.charOf(code + kShift);
    display.push_back(shown == Cp936::kNoChar ? kReplacementChar : shown);
  }
  return display;
}

}  // namespace course

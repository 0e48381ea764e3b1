// SPDX-License-Identifier: MIT
#include "module1.h"

#include <string>

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

std::optional<std::u16string> ScrambleText(std::u16string_view display, ScrambleRefusal* refusal) {
  const Cp936& codec = Cp936::instance();
  const auto refuse = [refusal](char16_t c, bool noCode) {
    if (refusal) *refusal = {c, noCode, 0};
    return std::nullopt;
  };
  std::u16string stored;
  stored.reserve(display.size());
  for (const char16_t c : display) {
    const bool escapedByte = c >= Cp936::kEscapeBase + 0x80 && c <= 0xDCFF;
    const std::uint16_t code = escapedByte ? Cp936::kNoCode : codec.codeOf(c);
    if (code == Cp936::kNoCode) return refuse(c, true);
    const char16_t shifted = code < kShift ? Cp936::kNoChar : codec.charOf(code - kShift);
    if (shifted == Cp936::kNoChar) return refuse(c, false);
    stored.push_back(shifted);
  }
  // Adjacent characters must not read back as one: encode, decode and compare.
  std::string bytes;
  std::u16string again;
  codec.encode(stored, bytes);
  codec.decode(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), again);
  if (bytes.size() > 0xFFFF) {
    if (refusal) *refusal = {0, false, bytes.size()};
    return std::nullopt;
  }
  if (again != stored) return refuse(0, false);
  return stored;
}

}  // namespace course

// SPDX-License-Identifier: MIT
// Code page 936 (Simplified Chinese) as lookup tables, built once from glibc iconv and
// completed with the Private Use Area codes Windows gives the rest of the double-byte range.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace course {

class Cp936 {
 public:
  static constexpr char16_t kNoChar = 0xFFFF;       // a code value that denotes no character
  static constexpr std::uint16_t kNoCode = 0xFFFF;  // a character code page 936 cannot write
  // A byte that starts no character is kept as the lone surrogate U+DC00 + byte, so that
  // bytes -> text -> bytes gives back exactly the bytes read.
  static constexpr char16_t kEscapeBase = 0xDC00;

  static const Cp936& instance();

  // Appends the text of `size` bytes to `out`; returns how many bytes had to be escaped.
  std::size_t decode(const std::uint8_t* bytes, std::size_t size, std::u16string& out) const;
  // The same into `out`, which must have room for size + kDecodeSlack characters; `readable`
  // (at least `size`) bytes may be loaded from `bytes`, so that short texts inside a larger
  // buffer can be widened a block at a time. Returns the characters written and adds the
  // escaped bytes to `escaped`.
  static constexpr std::size_t kDecodeSlack = 16;
  std::size_t decode(const std::uint8_t* bytes, std::size_t size, std::size_t readable,
                     char16_t* out, std::size_t& escaped) const;
  // Appends the bytes of `text` to `out`; false (and `out` partly written) when a character
  // has no code page 936 form.
  bool encode(std::u16string_view text, std::string& out) const;

  // The code value of one character: its byte, or lead byte * 256 + trail byte.
  std::uint16_t codeOf(char16_t c) const { return codeByChar_[c]; }
  // The character a code value denotes, or kNoChar.
  char16_t charOf(std::uint32_t code) const {
    return code < charByCode_.size() ? charByCode_[code] : kNoChar;
  }

 private:
  Cp936();
  std::vector<char16_t> charByCode_;
  std::vector<std::uint16_t> codeByChar_;
};

}  // namespace course

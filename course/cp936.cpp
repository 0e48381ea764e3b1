// SPDX-License-Identifier: MIT
#include "cp936.h"

#include <iconv.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <vector>

namespace course {
namespace {

constexpr std::size_t kCodeSpace = 0x10000;

// One conversion of a whole byte sequence to exactly one UTF-16 unit, or kNoChar.
char16_t DecodeOne(iconv_t cd, const std::uint8_t* bytes, std::size_t size) {
  char in[2] = {static_cast<char>(bytes[0]), size > 1 ? static_cast<char>(bytes[1]) : '\0'};
  char out[8];
  char* inPtr = in;
  char* outPtr = out;
  std::size_t inLeft = size;
  std::size_t outLeft = sizeof out;
  const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // reset the shift state after any error
  if (rc == static_cast<std::size_t>(-1) || inLeft != 0 || sizeof out - outLeft != 2) {
    return Cp936::kNoChar;
  }
  const auto unit = static_cast<char16_t>(static_cast<std::uint8_t>(out[0]) |
                                          (static_cast<std::uint8_t>(out[1]) << 8));
  const bool surrogate = unit >= 0xD800 && unit <= 0xDFFF;
  return surrogate ? Cp936::kNoChar : unit;
}

bool IsTrail(std::uint32_t trail) {
  return trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
}

// Gives `first`, `first` + 1, ... to the codes of one user-defined area, row by row.
char16_t FillArea(std::vector<char16_t>& charByCode, std::uint32_t firstLead,
                  std::uint32_t lastLead, std::uint32_t firstTrail, std::uint32_t lastTrail,
                  char16_t first) {
  for (std::uint32_t lead = firstLead; lead <= lastLead; ++lead) {
    for (std::uint32_t trail = firstTrail; trail <= lastTrail; ++trail) {
      if (IsTrail(trail)) charByCode[lead << 8 | trail] = first++;
    }
  }
  return first;
}

// glibc leaves out what Windows maps to the Private Use Area: the three user-defined areas,
// then every other code of the double-byte range without a character, in code order. Course
// files store Chinese punctuation 10 below its code value, which falls in these areas, so
// without them such text could neither be read back nor written.
void AddPrivateUseCodes(std::vector<char16_t>& charByCode) {
  FillArea(charByCode, 0xAA, 0xAF, 0xA1, 0xFE, 0xE000);
  FillArea(charByCode, 0xF8, 0xFE, 0xA1, 0xFE, 0xE234);
  char16_t next = FillArea(charByCode, 0xA1, 0xA7, 0x40, 0xA0, 0xE4C6);
  for (std::uint32_t lead = 0x81; lead <= 0xFE; ++lead) {
    for (std::uint32_t trail = 0x40; trail <= 0xFE; ++trail) {
      char16_t& c = charByCode[lead << 8 | trail];
      if (IsTrail(trail) && c == Cp936::kNoChar) c = next++;
    }
  }
}

}  // namespace

const Cp936& Cp936::instance() {
  static const Cp936 codec;
  return codec;
}

Cp936::Cp936() : charByCode_(kCodeSpace, kNoChar), codeByChar_(kCodeSpace, kNoCode) {
  iconv_t cd = iconv_open("UTF-16LE", "CP936");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    throw std::runtime_error("glibc iconv has no CP936 converter");
  }
  for (std::uint32_t b = 0; b < 0x100; ++b) {
    const std::uint8_t byte = static_cast<std::uint8_t>(b);
    charByCode_[b] = DecodeOne(cd, &byte, 1);
  }
  for (std::uint32_t lead = 0x81; lead <= 0xFE; ++lead) {
    for (std::uint32_t trail = 0x40; trail <= 0xFE; ++trail) {
      const std::uint8_t pair[2] = {static_cast<std::uint8_t>(lead),
                                    static_cast<std::uint8_t>(trail)};
      charByCode_[lead << 8 | trail] = DecodeOne(cd, pair, 2);
    }
  }
  iconv_close(cd);
  AddPrivateUseCodes(charByCode_);

  // The reverse table keeps the first code of each character; a code whose character maps
  // back to another code would not survive a read and a write, so it counts as no character.
  for (std::uint32_t code = 0; code < kCodeSpace; ++code) {
    const char16_t c = charByCode_[code];
    if (c != kNoChar && codeByChar_[c] == kNoCode)
      codeByChar_[c] = static_cast<std::uint16_t>(code);
  }
  for (std::uint32_t code = 0; code < kCodeSpace; ++code) {
    const char16_t c = charByCode_[code];
    if (c != kNoChar && codeByChar_[c] != code) charByCode_[code] = kNoChar;
  }
  for (std::uint32_t b = 0x80; b < 0x100; ++b) {
    if (charByCode_[b] == kNoChar) codeByChar_[kEscapeBase + b] = static_cast<std::uint16_t>(b);
  }
}

std::size_t Cp936::decode(const std::uint8_t* bytes, std::size_t size, std::size_t readable,
                          char16_t* out, std::size_t& escaped) const {
  char16_t* to = out;
  const std::uint8_t* from = bytes;
  const std::uint8_t* const end = bytes + size;
  const std::uint8_t* const loadable = bytes + readable;
#if defined(__SSE2__)
  // Most course texts are short English ones: one block, one test, no loop.
  if (size <= 16 && readable >= 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    const auto high = static_cast<unsigned>(_mm_movemask_epi8(block)) & (0xFFFFu >> (16 - size));
    if (high == 0) {
      const __m128i zero = _mm_setzero_si128();
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(block, zero));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(block, zero));
      return size;
    }
  }
#endif
  while (from < end) {
    if (*from < 0x80) {
      // Most course text is English: widen a run of plain bytes, a block at a time first.
#if defined(__SSE2__)
      // All 16 are widened, but only those before the first byte >= 0x80 and before the
      // end of the text are kept; the slack in `out` takes the rest.
      while (loadable - from >= 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const __m128i zero = _mm_setzero_si128();
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_unpacklo_epi8(block, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 8), _mm_unpackhi_epi8(block, zero));
        const auto high = static_cast<unsigned>(_mm_movemask_epi8(block));
        const auto plain =
            std::min<std::ptrdiff_t>(high == 0 ? 16 : __builtin_ctz(high), end - from);
        to += plain;
        from += plain;
        if (plain < 16) break;
      }
#endif
      while (from < end && *from < 0x80) *to++ = *from++;
      continue;
    }
    // Chinese text comes in runs of double-byte characters.
    const std::uint8_t* const runStart = from;
    while (end - from >= 4 && from[0] >= 0x80 && from[2] >= 0x80) {
      const char16_t first = charByCode_[static_cast<std::size_t>(from[0]) << 8 | from[1]];
      const char16_t second = charByCode_[static_cast<std::size_t>(from[2]) << 8 | from[3]];
      if (first == kNoChar || second == kNoChar) break;
      to[0] = first;
      to[1] = second;
      to += 2;
      from += 4;
    }
    while (end - from >= 2 && *from >= 0x80) {
      const char16_t pair = charByCode_[static_cast<std::size_t>(from[0]) << 8 | from[1]];
      if (pair == kNoChar) break;
      *to++ = pair;
      from += 2;
    }
    if (from != runStart) continue;
    const char16_t single = charByCode_[*from];
    if (single == kNoChar) {
      *to++ = static_cast<char16_t>(kEscapeBase + *from);
      ++escaped;
    } else {
      *to++ = single;
    }
    ++from;
  }
  return static_cast<std::size_t>(to - out);
}

std::size_t Cp936::decode(const std::uint8_t* bytes, std::size_t size, std::u16string& out) const {
  const std::size_t start = out.size();
  out.resize(start + size + kDecodeSlack);  // a text never has more characters than bytes
  std::size_t escaped = 0;
  out.resize(start + decode(bytes, size, size, out.data() + start, escaped));
  return escaped;
}

bool Cp936::encode(std::u16string_view text, std::string& out) const {
  for (const char16_t c : text) {
    const std::uint16_t code = codeByChar_[c];
    if (code == kNoCode) return false;
    if (code >= 0x100) out.push_back(static_cast<char>(code >> 8));
    out.push_back(static_cast<char>(code & 0xFF));
  }
  return true;
}

}  // namespace course

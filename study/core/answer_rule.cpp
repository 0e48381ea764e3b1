// SPDX-License-Identifier: MIT
#include "answer_rule.h"

#include <algorithm>

namespace study {
namespace {

bool IsSentenceMark(char16_t c) {
  return c == u'.' || c == u'?' || c == u'!';
}

char16_t LowerCase(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= u'\u00C0' && c <= u'\u00DE' && c != u'\u00D7')) {
    return static_cast<char16_t>(c + 0x20);
  }
  return c;
}

// A text as dictation compares it, and beside each kept character the one it came from.
struct Folded {
  std::u16string key;
  std::u16string shown;
};

Folded Fold(std::u16string_view text) {
  Folded out;
  for (const char16_t raw : text) {
    const char16_t c = LowerCase(KeyboardForm(raw));
    if (c == u' ' && (out.key.empty() || out.key.back() == u' ')) continue;
    out.key.push_back(c);
    out.shown.push_back(c == u' ' ? u' ' : raw);
  }
  if (!out.key.empty() && out.key.back() == u' ') {
    out.key.pop_back();
    out.shown.pop_back();
  }
  return out;
}

// The compared text without its final sentence mark, which dictation leaves optional.
std::u16string_view WithoutFinalMark(std::u16string_view key) {
  if (!key.empty() && IsSentenceMark(key.back())) key.remove_suffix(1);
  while (!key.empty() && key.back() == u' ') key.remove_suffix(1);
  return key;
}

}  // namespace

char16_t KeyboardForm(char16_t c) {
  switch (c) {
    case u'\u2018':  // ‘ ’ ‛ ′
    case u'\u2019':
    case u'\u201B':
    case u'\u2032':
      return u'\'';
    case u'\u201C':  // “ ” „ ″
    case u'\u201D':
    case u'\u201E':
    case u'\u2033':
      return u'"';
    case u'\u2010':  // ‐ ‑ ‒ – — −
    case u'\u2011':
    case u'\u2012':
    case u'\u2013':
    case u'\u2014':
    case u'\u2212':
      return u'-';
    case u'\u2026':  // … as an input method types three dots
      return u'.';
    case u'\u3002':  // 。
      return u'.';
    case u'\t':
    case u'\u00A0':  // no-break space
    case u'\u3000':  // ideographic space, as a Chinese input method types it
      return u' ';
    default:
      break;
  }
  // The full-width forms of everything a keyboard types: ！ to ～.
  if (c >= u'\uFF01' && c <= u'\uFF5E') return static_cast<char16_t>(c - 0xFEE0);
  return c;
}

std::u16string KeyboardText(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) c = KeyboardForm(c);
  return out;
}

bool SameAnswer(std::u16string_view typed, std::u16string_view expected) {
  const std::u16string a = Fold(typed).key;
  const std::u16string b = Fold(expected).key;
  const std::u16string_view plainA = WithoutFinalMark(a);
  const std::u16string_view plainB = WithoutFinalMark(b);
  // A final mark may be left out on either side; two different marks still differ.
  const bool markedA = plainA.size() < a.size();
  const bool markedB = plainB.size() < b.size();
  return plainA == plainB && (!markedA || !markedB || a.back() == b.back());
}

Differences Compare(std::u16string_view typedText, std::u16string_view expectedText) {
  const Folded typed = Fold(typedText);
  const Folded expected = Fold(expectedText);
  Differences d{typed.shown, expected.shown, {}, {}};
  const std::u16string& a = typed.key;
  const std::u16string& b = expected.key;
  const std::size_t n = a.size();
  const std::size_t m = b.size();
  // Longest common subsequence lengths of the suffixes.
  std::vector<std::vector<int>> lcs(n + 1, std::vector<int>(m + 1, 0));
  for (std::size_t i = n; i-- > 0;) {
    for (std::size_t j = m; j-- > 0;) {
      lcs[i][j] = a[i] == b[j] ? lcs[i + 1][j + 1] + 1 : std::max(lcs[i + 1][j], lcs[i][j + 1]);
    }
  }
  d.typedWrong.assign(n, true);
  d.expectedMissed.assign(m, true);
  for (std::size_t i = 0, j = 0; i < n && j < m;) {
    if (a[i] == b[j]) {
      d.typedWrong[i++] = false;
      d.expectedMissed[j++] = false;
    } else if (lcs[i + 1][j] >= lcs[i][j + 1]) {
      ++i;
    } else {
      ++j;
    }
  }
  // A final sentence mark may be left out on either side.
  if (n > 0 && IsSentenceMark(a[n - 1])) d.typedWrong[n - 1] = false;
  if (m > 0 && IsSentenceMark(b[m - 1])) d.expectedMissed[m - 1] = false;
  return d;
}

}  // namespace study

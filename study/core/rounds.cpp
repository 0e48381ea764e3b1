// SPDX-License-Identifier: MIT
#include "rounds.h"

#include <algorithm>
#include <random>

namespace study {
namespace {

char16_t Plain(char16_t c) {
  switch (c) {
    case u'\u2018':  // ‘ ’ ‛ ′
    case u'\u2019':
    case u'\u201B':
    case u'\u2032':
    case u'\uFF07':  // full-width '
      return u'\'';
    case u'\u201C':  // “ ” „ ″
    case u'\u201D':
    case u'\u201E':
    case u'\u2033':
    case u'\uFF02':
      return u'"';
    case u'\u2010':  // ‐ ‑ ‒ – — −
    case u'\u2011':
    case u'\u2012':
    case u'\u2013':
    case u'\u2014':
    case u'\u2212':
    case u'\uFF0D':
      return u'-';
    case u'\t':
    case u'\u00A0':  // no-break space
    case u'\u3000':  // ideographic space, as a Chinese input method types it
      return u' ';
    default:
      break;
  }
  if ((c >= u'A' && c <= u'Z') || (c >= u'\u00C0' && c <= u'\u00DE' && c != u'\u00D7')) {
    return static_cast<char16_t>(c + 0x20);
  }
  if (c >= u'\uFF21' && c <= u'\uFF3A') return static_cast<char16_t>(c - 0xFF21 + u'a');
  if (c >= u'\uFF41' && c <= u'\uFF5A') return static_cast<char16_t>(c - 0xFF41 + u'a');
  return c;
}

}  // namespace

std::u16string Normalized(std::u16string_view text) {
  std::u16string out;
  for (const char16_t raw : text) {
    const char16_t c = Plain(raw);
    if (c == u' ' && (out.empty() || out.back() == u' ')) continue;
    out.push_back(c);
  }
  if (!out.empty() && out.back() == u' ') out.pop_back();
  return out;
}

bool SameAnswer(std::u16string_view typed, std::u16string_view expected) {
  return Normalized(typed) == Normalized(expected);
}

Differences Compare(std::u16string_view typedText, std::u16string_view expectedText) {
  Differences d{Normalized(typedText), Normalized(expectedText), {}, {}};
  const std::size_t n = d.typed.size();
  const std::size_t m = d.expected.size();
  // Longest common subsequence lengths of the suffixes.
  std::vector<std::vector<int>> lcs(n + 1, std::vector<int>(m + 1, 0));
  for (std::size_t i = n; i-- > 0;) {
    for (std::size_t j = m; j-- > 0;) {
      lcs[i][j] = d.typed[i] == d.expected[j] ? lcs[i + 1][j + 1] + 1
                                              : std::max(lcs[i + 1][j], lcs[i][j + 1]);
    }
  }
  d.typedWrong.assign(n, true);
  d.expectedMissed.assign(m, true);
  for (std::size_t i = 0, j = 0; i < n && j < m;) {
    if (d.typed[i] == d.expected[j]) {
      d.typedWrong[i++] = false;
      d.expectedMissed[j++] = false;
    } else if (lcs[i + 1][j] >= lcs[i][j + 1]) {
      ++i;
    } else {
      ++j;
    }
  }
  return d;
}

std::vector<Entry> RoundOrder(std::vector<Entry> entries, bool shuffled, std::uint32_t seed) {
  if (shuffled) std::shuffle(entries.begin(), entries.end(), std::mt19937(seed));
  return entries;
}

DictationRound::DictationRound(std::vector<Entry> order) : total_(static_cast<int>(order.size())) {
  for (Entry& entry : order) queue_.push_back({std::move(entry), false});
}

bool DictationRound::answer(std::u16string_view typed) {
  Pending pending = std::move(queue_.front());
  queue_.pop_front();
  const bool right = SameAnswer(typed, pending.entry.line1);
  if (right) {
    if (!pending.missedBefore) ++rightFirstTime_;
    return true;
  }
  if (!pending.missedBefore) missed_.push_back(pending.entry);
  pending.missedBefore = true;
  queue_.push_back(std::move(pending));
  return false;
}

ListeningRound::ListeningRound(std::vector<Entry> order, std::uint32_t seed) {
  std::mt19937 random(seed);
  for (const Entry& entry : order) {
    Question question{entry, {entry.line2}, 0};
    std::vector<std::u16string> others;
    for (const Entry& other : order) {
      if (SameAnswer(other.line2, entry.line2)) continue;
      if (std::find(others.begin(), others.end(), other.line2) == others.end()) {
        others.push_back(other.line2);
      }
    }
    std::shuffle(others.begin(), others.end(), random);
    if (others.size() > 3) others.resize(3);
    question.options.insert(question.options.end(), others.begin(), others.end());
    std::shuffle(question.options.begin(), question.options.end(), random);
    question.right =
        static_cast<int>(std::find(question.options.begin(), question.options.end(), entry.line2) -
                         question.options.begin());
    questions_.push_back(std::move(question));
  }
}

bool ListeningRound::answer(int option) {
  const Question& question = questions_[next_++];
  if (option == question.right) {
    ++right_;
    return true;
  }
  missed_.push_back(question.entry);
  return false;
}

TypingRound::TypingRound(std::u16string text) : text_(std::move(text)) {}

std::u16string TypingRound::TextOf(const std::vector<Entry>& entries) {
  std::u16string text;
  for (const Entry& entry : entries) {
    if (!text.empty()) text += u' ';
    text += entry.line1;
  }
  return text;
}

void TypingRound::type(char16_t c, Millis at) {
  if (finished()) return;
  if (!started_) {
    started_ = true;
    start_ = at;
  }
  const char16_t expected = text_[typed_.size()];
  ++keystrokes_;
  if (c == expected) {
    ++correctKeystrokes_;
  } else {
    ++missed_[expected];
  }
  typed_.push_back(c);
}

void TypingRound::backspace() {
  if (!typed_.empty() && !finished()) typed_.pop_back();
}

double TypingRound::wordsPerMinute(Millis now) const {
  const Millis spent = elapsed(now);
  if (spent <= 0) return 0;
  int correct = 0;
  for (std::size_t i = 0; i < typed_.size(); ++i) correct += typed_[i] == text_[i];
  return correct / 5.0 / (static_cast<double>(spent) / 60000.0);
}

double TypingRound::accuracy() const {
  return keystrokes_ == 0 ? 1.0 : static_cast<double>(correctKeystrokes_) / keystrokes_;
}

std::vector<std::pair<char16_t, int>> TypingRound::missedMost(std::size_t count) const {
  std::vector<std::pair<char16_t, int>> most(missed_.begin(), missed_.end());
  std::stable_sort(most.begin(), most.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  if (most.size() > count) most.resize(count);
  return most;
}

}  // namespace study

// SPDX-License-Identifier: MIT
#include "typing_session.h"

#include <algorithm>

#include "answer_rule.h"

namespace study {

TypingSession::TypingSession(std::u16string text) : text_(KeyboardText(text)) {}

std::u16string TypingSession::TextOf(const std::vector<Entry>& entries) {
  std::u16string text;
  for (const Entry& entry : entries) {
    if (!text.empty()) text += u' ';
    text += entry.line1;
  }
  return KeyboardText(text);
}

void TypingSession::type(char16_t key, Millis at) {
  if (finished()) return;
  if (!started_) {
    started_ = true;
    start_ = at;
  }
  lastKey_ = at;
  const char16_t c = KeyboardForm(key);
  const char16_t expected = text_[typed_.size()];
  ++keystrokes_;
  if (c == expected) {
    ++correctKeystrokes_;
    ++correct_;
  } else {
    ++missed_[expected];
  }
  typed_.push_back(c);
}

void TypingSession::backspace() {
  if (typed_.empty() || finished()) return;
  if (typed_.back() == text_[typed_.size() - 1]) --correct_;
  typed_.pop_back();
}

double TypingSession::wordsPerMinute(Millis now) const {
  const Millis spent = elapsed(now);
  if (spent <= 0) return 0;
  return correct_ / 5.0 / (static_cast<double>(spent) / 60000.0);
}

double TypingSession::accuracy() const {
  return keystrokes_ == 0 ? 1.0 : static_cast<double>(correctKeystrokes_) / keystrokes_;
}

std::vector<std::pair<char16_t, int>> TypingSession::missedMost(std::size_t count) const {
  std::vector<std::pair<char16_t, int>> most(missed_.begin(), missed_.end());
  std::stable_sort(most.begin(), most.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  if (most.size() > count) most.resize(count);
  return most;
}

TypingFigures TypingSession::figures(Millis now) const {
  const Millis until = finished() ? lastKey_ : now;
  return {wordsPerMinute(until), accuracy(), elapsed(until)};
}

RoundResult TypingSession::result() const {
  RoundResult result;
  result.time = lastKey_;
  result.right = correct_;
  result.total = static_cast<int>(text_.size());
  result.seconds = static_cast<double>(elapsed(lastKey_)) / 1000.0;
  result.wordsPerMinute = wordsPerMinute(lastKey_);
  result.accuracy = accuracy();
  return result;
}

}  // namespace study

// SPDX-License-Identifier: MIT
// 休闲打字: the lesson's English lines as one text, in the characters a keyboard types,
// typed with live figures from the first key to the last.
#pragma once

#include <map>

#include "round_session.h"

namespace study {

struct TypingFigures {
  double wordsPerMinute = 0;
  double accuracy = 1;
  Millis elapsed = 0;
};

class TypingSession {
 public:
  explicit TypingSession(std::u16string text);
  // The lesson's line 1 texts in file order, joined by single spaces, as a keyboard types
  // them (typographic and full-width characters in their plain forms).
  static std::u16string TextOf(const std::vector<Entry>& entries);

  RoundStep step() const { return finished() ? RoundStep::Finished : RoundStep::Asking; }
  const std::u16string& text() const { return text_; }
  const std::u16string& typed() const { return typed_; }
  bool finished() const { return typed_.size() >= text_.size(); }

  // A key typed; an input method's full-width or typographic form counts as its plain one.
  void type(char16_t c, Millis at);
  void backspace();

  // Correct characters on show.
  int correct() const { return correct_; }
  // Correct characters on show, five to a word, per minute from the first key to `now`.
  double wordsPerMinute(Millis now) const;
  // Correct keystrokes over all keystrokes; Backspace does not count. 1 before any key.
  double accuracy() const;
  Millis elapsed(Millis now) const { return started_ ? now - start_ : 0; }
  // The moment of the last key.
  Millis lastKey() const { return lastKey_; }
  // The expected characters typed wrong, most missed first (at most `count`).
  std::vector<std::pair<char16_t, int>> missedMost(std::size_t count) const;
  // The figures on show at `now`: nothing is timed before the first key, and a finished
  // round is timed up to its last key.
  TypingFigures figures(Millis now) const;
  // The round's figures, up to the last key.
  RoundResult result() const;

 private:
  std::u16string text_;
  std::u16string typed_;
  bool started_ = false;
  Millis start_ = 0;
  Millis lastKey_ = 0;
  int keystrokes_ = 0;
  int correctKeystrokes_ = 0;
  int correct_ = 0;
  std::map<char16_t, int> missed_;
};

}  // namespace study

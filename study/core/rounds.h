// SPDX-License-Identifier: MIT
// The rounds of the listening and typing activities: 听写训练 (dictation), 听力自测
// (listening self-test) and 休闲打字 (leisure typing), with the rule a typed answer is
// compared by.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "handoff_lesson.h"
#include "utc_time.h"

namespace study {

// A typed answer in the form answers are compared in: letters in lower case, no spaces at
// either end and single spaces inside, typographic apostrophes, quotes and dashes as their
// plain forms.
std::u16string Normalized(std::u16string_view text);
bool SameAnswer(std::u16string_view typed, std::u16string_view expected);

// Which characters of two texts (taken as Normalized) differ: the ones outside a longest
// common subsequence of both.
struct Differences {
  std::u16string typed;
  std::u16string expected;
  std::vector<bool> typedWrong;      // per character of `typed`
  std::vector<bool> expectedMissed;  // per character of `expected`
};
Differences Compare(std::u16string_view typed, std::u16string_view expected);

// The entries in file order, or shuffled with `seed`.
std::vector<Entry> RoundOrder(std::vector<Entry> entries, bool shuffled, std::uint32_t seed);

// 听写训练: each entry until typed right; a wrong one comes back at the end of the round.
class DictationRound {
 public:
  explicit DictationRound(std::vector<Entry> order);

  bool done() const { return queue_.empty(); }
  const Entry& current() const { return queue_.front().entry; }
  int total() const { return total_; }
  int rightFirstTime() const { return rightFirstTime_; }
  const std::vector<Entry>& missed() const { return missed_; }

  // Checks the answer to the current entry and moves on.
  bool answer(std::u16string_view typed);

 private:
  struct Pending {
    Entry entry;
    bool missedBefore = false;
  };
  std::deque<Pending> queue_;
  int total_ = 0;
  int rightFirstTime_ = 0;
  std::vector<Entry> missed_;
};

// 听力自测: one question per entry, its meaning among up to three others of the lesson.
struct Question {
  Entry entry;
  std::vector<std::u16string> options;  // line 2 texts, the right one among them
  int right = 0;                        // its place in options
};

class ListeningRound {
 public:
  ListeningRound(std::vector<Entry> order, std::uint32_t seed);

  bool done() const { return next_ >= questions_.size(); }
  const Question& current() const { return questions_[next_]; }
  int total() const { return static_cast<int>(questions_.size()); }
  int right() const { return right_; }
  const std::vector<Entry>& missed() const { return missed_; }

  bool answer(int option);

 private:
  std::vector<Question> questions_;
  std::size_t next_ = 0;
  int right_ = 0;
  std::vector<Entry> missed_;
};

// 休闲打字: the lesson's English lines as one text, typed with live figures.
class TypingRound {
 public:
  explicit TypingRound(std::u16string text);
  // The lesson's line 1 texts in file order, joined by single spaces.
  static std::u16string TextOf(const std::vector<Entry>& entries);

  const std::u16string& text() const { return text_; }
  const std::u16string& typed() const { return typed_; }
  bool finished() const { return typed_.size() >= text_.size(); }

  void type(char16_t c, Millis at);
  void backspace();

  // Correct characters on show, five to a word, per minute since the first key.
  double wordsPerMinute(Millis now) const;
  // Correct keystrokes over all keystrokes; Backspace does not count. 1 before any key.
  double accuracy() const;
  Millis elapsed(Millis now) const { return started_ ? now - start_ : 0; }
  // The expected characters typed wrong, most missed first (at most `count`).
  std::vector<std::pair<char16_t, int>> missedMost(std::size_t count) const;

 private:
  std::u16string text_;
  std::u16string typed_;
  bool started_ = false;
  Millis start_ = 0;
  int keystrokes_ = 0;
  int correctKeystrokes_ = 0;
  std::map<char16_t, int> missed_;
};

}  // namespace study

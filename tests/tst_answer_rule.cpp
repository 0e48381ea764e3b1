// SPDX-License-Identifier: MIT
// The one rule dictation and typing compare typed text by, and how a difference is shown.
#include <gtest/gtest.h>

#include <algorithm>

#include "answer_rule.h"

namespace study {
namespace {

struct Pair {
  const char16_t* typed;
  const char16_t* expected;
  const char* why;
};

TEST(AnswerRule, TakesWhatAnInputMethodOrAWordProcessorTypesAsPlain) {
  const Pair same[] = {
      {u"  Keep   in touch ", u"keep in touch", "case, outer and inner runs of spaces"},
      {u"don’t", u"don't", "typographic apostrophe"},
      {u"don＇t", u"don't", "full-width apostrophe"},
      {u"“well-known”", u"\"well—known\"", "quotes and dashes"},
      {u"well－known", u"well-known", "full-width hyphen"},
      {u"ＡＢＣ\u3000d", u"abc d", "full-width letters and space"},
      {u"Room １０１", u"room 101", "full-width digits"},
      {u"What？", u"What?", "full-width question mark"},
      {u"Yes，sir：go（now）；", u"Yes,sir:go(now);", "full-width punctuation"},
      {u"Give up．", u"Give up.", "full-width full stop"},
      {u"Give up", u"Give up.", "a final full stop is optional"},
      {u"Really!", u"Really", "so is a final exclamation mark"},
      {u"Are you sure", u"Are you sure?", "and a final question mark"},
      {u"Give up 。", u"Give up.", "an input method's full stop"},
      {u"CAFÉ", u"café", "accented capitals"},
  };
  for (const Pair& p : same) EXPECT_TRUE(SameAnswer(p.typed, p.expected)) << p.why;

  const Pair different[] = {
      {u"keepin touch", u"keep in touch", "a space left out"},
      {u"", u"a", "nothing typed"},
      {u"colour", u"color", "a letter more"},
      {u"Give up..", u"Give up", "only one final mark is optional"},
      {u"Give, up", u"Give up", "inner punctuation counts"},
      {u"what?", u"what!", "one final mark for another"},
  };
  for (const Pair& p : different) EXPECT_FALSE(SameAnswer(p.typed, p.expected)) << p.why;
}

TEST(AnswerRule, TypingShowsAndComparesTheKeyboardForms) {
  EXPECT_EQ(KeyboardText(u"It’s “OK” — ＡＢ？"), u"It's \"OK\" - AB?");
  EXPECT_EQ(KeyboardForm(u'’'), u'\'');
  EXPECT_EQ(KeyboardForm(u'ｚ'), u'z');
  EXPECT_EQ(KeyboardForm(u'中'), u'中') << "what a keyboard cannot type stays";
  EXPECT_EQ(KeyboardForm(u'A'), u'A') << "typing keeps case";
}

TEST(AnswerRule, DifferencesShowTheCourseLineAsItIsAndMarkWhatDiffered) {
  const Differences d = Compare(u"Recieve", u"Receive");
  EXPECT_EQ(d.typed, u"Recieve");
  EXPECT_EQ(d.expected, u"Receive") << "the expected line keeps its case";
  // "Rec" + "ei"/"ie" + "ve": one of the swapped pair is marked on each side.
  EXPECT_EQ(std::count(d.typedWrong.begin(), d.typedWrong.end(), true), 1);
  EXPECT_EQ(std::count(d.expectedMissed.begin(), d.expectedMissed.end(), true), 1);

  const Differences spaces = Compare(u"a   b", u"A  B");
  EXPECT_EQ(spaces.typed, u"a b");
  EXPECT_EQ(spaces.expected, u"A B");
  EXPECT_EQ(std::count(spaces.typedWrong.begin(), spaces.typedWrong.end(), true), 0);

  const Differences mark = Compare(u"Give op", u"Give up.");
  EXPECT_EQ(mark.expectedMissed,
            (std::vector<bool>{false, false, false, false, false, true, false, false}))
      << "the final mark left out is not a miss";

  const Differences empty = Compare(u"", u"go");
  EXPECT_EQ(empty.expectedMissed, (std::vector<bool>{true, true}));
}

}  // namespace
}  // namespace study

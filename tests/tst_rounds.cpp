// SPDX-License-Identifier: MIT
// The rules of dictation, listening and typing rounds, with a clock of the test's own.
#include <gtest/gtest.h>

#include <set>

#include "rounds.h"

namespace study {
namespace {

std::vector<Entry> Lesson(int size) {
  std::vector<Entry> entries;
  for (int i = 0; i < size; ++i) {
    entries.push_back({u"word" + std::u16string(1, char16_t(u'a' + i)),
                       u"释义" + std::u16string(1, char16_t(u'甲' + i))});
  }
  return entries;
}

TEST(AnswerRule, IgnoresCaseOuterAndRepeatedSpacesAndTypographicForms) {
  EXPECT_TRUE(SameAnswer(u"  Keep   in touch ", u"keep in touch"));
  EXPECT_TRUE(SameAnswer(u"don’t", u"don't"));
  EXPECT_TRUE(SameAnswer(u"“well-known”", u"\"well—known\""));
  EXPECT_TRUE(SameAnswer(u"ＡＢＣ\u3000d", u"abc d")) << "full-width forms of an input method";
  EXPECT_TRUE(SameAnswer(u"CAFÉ", u"café"));
  EXPECT_FALSE(SameAnswer(u"keepin touch", u"keep in touch"));
  EXPECT_FALSE(SameAnswer(u"", u"a"));
  EXPECT_FALSE(SameAnswer(u"colour", u"color"));
}

TEST(AnswerRule, DifferencesMarkWhatWasWrongAndWhatWasMissed) {
  const Differences d = Compare(u"Recieve", u"receive");
  EXPECT_EQ(d.typed, u"recieve");
  // "rec" + "ei"/"ie" + "ve": one of the swapped pair is marked on each side.
  EXPECT_EQ(std::count(d.typedWrong.begin(), d.typedWrong.end(), true), 1);
  EXPECT_EQ(std::count(d.expectedMissed.begin(), d.expectedMissed.end(), true), 1);
  const Differences same = Compare(u"a  b", u"A B");
  EXPECT_EQ(std::count(same.typedWrong.begin(), same.typedWrong.end(), true), 0);
  const Differences empty = Compare(u"", u"go");
  EXPECT_EQ(empty.expectedMissed, (std::vector<bool>{true, true}));
}

TEST(Dictation, AMissedEntryComesBackAtTheEndAndScoresNothing) {
  DictationRound round(Lesson(3));
  EXPECT_TRUE(round.answer(u"WORDA"));
  EXPECT_FALSE(round.answer(u"wordx"));  // b: wrong, to the end
  EXPECT_EQ(round.current().line1, u"wordc");
  EXPECT_TRUE(round.answer(u"wordc"));
  EXPECT_EQ(round.current().line1, u"wordb");
  EXPECT_FALSE(round.answer(u"still wrong"));
  EXPECT_TRUE(round.answer(u"wordb"));
  EXPECT_TRUE(round.done());
  EXPECT_EQ(round.rightFirstTime(), 2);
  ASSERT_EQ(round.missed().size(), 1u) << "missed once, listed once";
  EXPECT_EQ(round.missed()[0].line1, u"wordb");
}

TEST(Dictation, ShufflingKeepsEveryEntryOnce) {
  const auto order = RoundOrder(Lesson(8), true, 7);
  std::set<std::u16string> seen;
  for (const Entry& e : order) seen.insert(e.line1);
  EXPECT_EQ(seen.size(), 8u);
  EXPECT_EQ(RoundOrder(Lesson(8), false, 7)[3].line1, u"wordd");
  EXPECT_NE(RoundOrder(Lesson(8), true, 7)[0].line1 + RoundOrder(Lesson(8), true, 7)[1].line1,
            u"wordaworb")
      << "a shuffle of eight";
}

TEST(Listening, FourMeaningsOfTheLessonTheRightOneAmongThem) {
  ListeningRound round(Lesson(6), 11);
  for (int q = 0; q < 6; ++q) {
    const Question& question = round.current();
    ASSERT_EQ(question.options.size(), 4u);
    EXPECT_EQ(question.options[question.right], question.entry.line2);
    EXPECT_EQ(std::set<std::u16string>(question.options.begin(), question.options.end()).size(),
              4u);
    round.answer(q == 2 ? (question.right + 1) % 4 : question.right);
  }
  EXPECT_TRUE(round.done());
  EXPECT_EQ(round.right(), 5);
  ASSERT_EQ(round.missed().size(), 1u);
  EXPECT_EQ(round.missed()[0].line1, u"wordc");
}

TEST(Listening, ASmallLessonGivesFewerMeanings) {
  ListeningRound round(Lesson(2), 3);
  EXPECT_EQ(round.current().options.size(), 2u);
  std::vector<Entry> same = Lesson(3);
  same[1].line2 = same[0].line2;  // two entries of one meaning: it is offered once
  EXPECT_EQ(ListeningRound(same, 3).current().options.size(), 2u);
}

TEST(Typing, SpeedCountsCorrectCharactersFromTheFirstKey) {
  TypingRound round(TypingRound::TextOf(Lesson(2)));
  EXPECT_EQ(round.text(), u"worda wordb");
  const Millis start = 1'000'000;
  // Eleven keys, one a second from the first: one wrong ('x' for 'b'), corrected.
  const std::u16string keys = u"worda wordx";
  for (std::size_t i = 0; i < keys.size(); ++i) round.type(keys[i], start + 1000 * i);
  EXPECT_TRUE(round.finished()) << "the last character was typed";
  EXPECT_NEAR(round.accuracy(), 10.0 / 11.0, 1e-12);
  // 10 correct characters = 2 words in 10 s: 12 words a minute.
  EXPECT_NEAR(round.wordsPerMinute(start + 10'000), 12.0, 1e-9);
  EXPECT_EQ(round.missedMost(3), (std::vector<std::pair<char16_t, int>>{{u'b', 1}}));
}

TEST(Typing, BackspaceCorrectsWithoutCountingAsAKeystroke) {
  TypingRound round(u"ab");
  round.type(u'x', 0);
  round.backspace();
  round.type(u'a', 500);
  EXPECT_FALSE(round.finished());
  EXPECT_NEAR(round.accuracy(), 0.5, 1e-12);
  round.type(u'b', 60'000);
  EXPECT_NEAR(round.wordsPerMinute(60'000), 0.4, 1e-9);
  EXPECT_EQ(round.elapsed(60'000), 60'000);
  round.type(u'c', 61'000);  // past the end: nothing more
  EXPECT_EQ(round.typed(), u"ab");
}

}  // namespace
}  // namespace study

// SPDX-License-Identifier: MIT
// The rounds of dictation, listening and typing, each driven to its end with a clock of
// the test's own.
#include <gtest/gtest.h>

#include <set>

#include "dictation_session.h"
#include "listening_session.h"
#include "round_end.h"
#include "typing_session.h"

namespace study {
namespace {

std::vector<Entry> Lesson(int size) {
  std::vector<Entry> entries;
  for (int i = 0; i < size; ++i) {
    const std::u16string letter(1, static_cast<char16_t>(u'a' + i % 26));
    entries.push_back({u"word" + letter + std::u16string(static_cast<std::size_t>(i / 26), u'x'),
                       u"释义" + std::u16string(1, static_cast<char16_t>(u'甲' + i))});
  }
  return entries;
}

constexpr Millis kStart = 1'000'000;

TEST(Dictation, AMissShowsItsVerdictThenComesBackAtTheEndAndScoresNothing) {
  DictationSession round(Lesson(3), kStart);
  round.submit(u"WORDA", kStart + 1000);
  EXPECT_EQ(round.step(), RoundStep::Asking);
  ASSERT_TRUE(round.lastRight());
  EXPECT_EQ(round.lastRight()->line1, u"worda");

  round.submit(u"wordx", kStart + 2000);  // b: wrong
  EXPECT_EQ(round.step(), RoundStep::Verdict);
  EXPECT_FALSE(round.lastRight()) << "the mark of the word before is gone with the miss";
  EXPECT_EQ(round.current().line1, u"wordb") << "the miss stays on show";
  EXPECT_EQ(round.miss().expected, u"wordb");
  round.submit(u"wordb", kStart + 3000);  // Enter goes on: the text is not looked at
  EXPECT_EQ(round.step(), RoundStep::Asking);
  EXPECT_EQ(round.current().line1, u"wordc");
  EXPECT_EQ(round.rightFirstTime(), 1);

  round.submit(u"wordc", kStart + 4000);
  EXPECT_EQ(round.current().line1, u"wordb");
  round.submit(u"still wrong", kStart + 5000);
  round.submit(u"", kStart + 6000);
  round.submit(u"wordb", kStart + 9000);
  EXPECT_EQ(round.step(), RoundStep::Finished);
  round.submit(u"wordb", kStart + 20000);  // nothing after the end
  EXPECT_EQ(round.rightFirstTime(), 2);
  ASSERT_EQ(round.missed().size(), 1u) << "missed twice, listed once";
  EXPECT_EQ(round.missed()[0].line1, u"wordb");
  const RoundResult result = round.result();
  EXPECT_EQ(result.right, 2);
  EXPECT_EQ(result.total, 3);
  EXPECT_EQ(result.time, kStart + 9000);
  EXPECT_DOUBLE_EQ(result.seconds, 9.0) << "from the round's start to its last answer";
}

TEST(Dictation, ThePositionCountsEachEntryOnce) {
  DictationSession round(Lesson(3), kStart);
  // What is typed, then the position shown after it.
  const struct {
    const char16_t* typed;
    int position;
  } steps[] = {
      {nullptr, 1},  {u"worda", 2}, {u"wrong", 2},  // the miss of b on show
      {u"", 3},      {u"wordc", 3},                 // b comes back: still the third
      {u"wrong", 3}, {u"", 3},      {u"wordb", 3},
  };
  for (const auto& step : steps) {
    if (step.typed) round.submit(step.typed, kStart);
    EXPECT_EQ(round.position(), step.position) << (step.typed ? "after a submit" : "at first");
  }
  EXPECT_EQ(round.step(), RoundStep::Finished);
}

TEST(Dictation, EndingEarlyKeepsWhatWasAnswered) {
  const struct {
    const char* name;
    std::vector<std::u16string> typed;
    bool kept;
    int right;
    int total;
  } cases[] = {
      {"nothing answered", {}, false, 0, 4},
      {"one right", {u"worda"}, true, 1, 1},
      {"a miss on show", {u"worda", u"nope"}, true, 1, 2},
      {"a miss gone on", {u"nope", u"", u"wordb"}, true, 1, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DictationSession round(Lesson(4), kStart);
    Millis now = kStart;
    for (const auto& typed : c.typed) round.submit(typed, now += 1000);
    EXPECT_EQ(round.endEarly(), c.kept);
    EXPECT_EQ(round.endedEarly(), c.kept);
    EXPECT_EQ(round.step(), c.kept ? RoundStep::Finished : RoundStep::Asking);
    EXPECT_EQ(round.result().right, c.right);
    EXPECT_EQ(round.result().total, c.total);
    EXPECT_EQ(round.result().time, now);
  }
}

TEST(Dictation, OneEntryAndLongLessonsBothEnd) {
  DictationSession one(Lesson(1), kStart);
  one.submit(u"worda", kStart + 500);
  EXPECT_EQ(one.step(), RoundStep::Finished);
  EXPECT_EQ(one.result().right, 1);

  DictationSession sixty(Lesson(60), kStart);
  int asked = 0;
  while (sixty.step() != RoundStep::Finished && asked < 200) {
    ++asked;
    // Every fifth entry is missed once.
    const bool miss = sixty.step() == RoundStep::Asking && asked % 5 == 0 &&
                      std::find_if(sixty.missed().begin(), sixty.missed().end(), [&](auto& e) {
                        return e.line1 == sixty.current().line1;
                      }) == sixty.missed().end();
    sixty.submit(miss ? u"?" : sixty.current().line1, kStart + asked * 1000);
  }
  EXPECT_EQ(sixty.step(), RoundStep::Finished);
  EXPECT_EQ(sixty.rightFirstTime() + static_cast<int>(sixty.missed().size()), 60);
  EXPECT_FALSE(sixty.missed().empty());
}

// What a submission does at each step: the round alone says whether it is under way.
TEST(Dictation, ASubmissionCountsOnlyWhileTheRoundIsUnderWay) {
  const struct {
    const char* what;
    std::vector<std::u16string> before;  // submitted first
    RoundStep step;
    bool counts;
  } cases[] = {
      {"asking", {}, RoundStep::Asking, true},
      {"a miss on show", {u"x"}, RoundStep::Verdict, true},
      {"finished", {u"worda"}, RoundStep::Finished, false},
  };
  for (const auto& c : cases) {
    DictationSession round(Lesson(1), kStart);
    for (const std::u16string& typed : c.before) round.submit(typed, kStart + 1000);
    ASSERT_EQ(round.step(), c.step) << c.what;
    EXPECT_EQ(round.underWay(), c.step != RoundStep::Finished) << c.what;
    EXPECT_EQ(round.submit(u"worda", kStart + 2000), c.counts) << c.what;
    EXPECT_EQ(round.answered(), 1) << c.what << ": a finished round takes no more";
  }
}

TEST(Dictation, ShufflingKeepsEveryEntryOnceAndChangesTheOrder) {
  const auto order = RoundOrder(Lesson(8), true, 7);
  std::set<std::u16string> seen;
  for (const Entry& e : order) seen.insert(e.line1);
  EXPECT_EQ(seen.size(), 8u);
  EXPECT_EQ(RoundOrder(Lesson(8), false, 7)[3].line1, u"wordd");
  // Of a handful of seeds, each shuffle of eight leaves file order somewhere.
  for (std::uint32_t seed = 1; seed <= 5; ++seed) {
    const auto shuffled = RoundOrder(Lesson(8), true, seed);
    bool moved = false;
    for (std::size_t i = 0; i < shuffled.size(); ++i)
      moved |= shuffled[i].line1 != Lesson(8)[i].line1;
    EXPECT_TRUE(moved) << "seed " << seed;
  }
}

// A sitting of rounds from one seed: each round takes the next seed; the shuffle setting
// counts from the round after it is changed, and the same seed replays the same sitting.
TEST(RoundSeeds, EachRoundTakesTheNextSeedAndTheOrderTheSettingAsksFor) {
  const std::vector<Entry> lesson = Lesson(8);
  const struct {
    bool shuffled;  // set before the round
    std::uint32_t seed;
  } rounds[] = {{false, 40}, {true, 41}, {true, 42}, {false, 43}};
  RoundSeeds seeds(40);
  RoundSeeds again(40);
  std::vector<std::u16string> shuffledFirsts;
  for (const auto& r : rounds) {
    seeds.setShuffled(r.shuffled);
    again.setShuffled(r.shuffled);
    const RoundSeeds::Round round = seeds.next(lesson);
    EXPECT_EQ(round.seed, r.seed);
    std::vector<std::u16string> order;
    for (const Entry& e : round.entries) order.push_back(e.line1);
    std::vector<std::u16string> inFileOrder;
    for (const Entry& e : lesson) inFileOrder.push_back(e.line1);
    EXPECT_EQ(order == inFileOrder, !r.shuffled) << "round " << r.seed;
    std::vector<std::u16string> replayed;
    for (const Entry& e : again.next(lesson).entries) replayed.push_back(e.line1);
    EXPECT_EQ(replayed, order) << "round " << r.seed;
    if (r.shuffled) shuffledFirsts.push_back(order.front() + order.back());
  }
  ASSERT_EQ(shuffledFirsts.size(), 2u);
  EXPECT_NE(shuffledFirsts[0], shuffledFirsts[1]) << "two shuffled rounds, two orders";
}

TEST(Listening, ALessonSuitsWhenItHasTwoEntriesOrMore) {
  const struct {
    int entries;
    bool suits;
  } cases[] = {{0, false}, {1, false}, {2, true}, {4, true}, {9, true}};
  for (const auto& c : cases)
    EXPECT_EQ(ListeningSession::Suits(Lesson(c.entries)), c.suits) << c.entries;
}

TEST(Listening, TheTallyAndTheMarksComeWithTheVerdict) {
  ListeningSession round(Lesson(6), 11, kStart);
  for (int q = 0; q < 6; ++q) {
    ASSERT_EQ(round.step(), RoundStep::Asking);
    const Question& question = round.current();
    ASSERT_EQ(question.options.size(), 4u);
    EXPECT_EQ(question.options[static_cast<std::size_t>(question.right)], question.entry.line2);
    EXPECT_EQ(std::set<std::u16string>(question.options.begin(), question.options.end()).size(),
              4u);
    EXPECT_FALSE(round.choose(7, kStart)) << "no such option";
    const int before = round.right();
    const int pick = q == 2 ? (question.right + 1) % 4 : question.right;
    ASSERT_TRUE(round.choose(pick, kStart + (q + 1) * 1000));
    EXPECT_EQ(round.step(), RoundStep::Verdict);
    EXPECT_EQ(round.picked(), pick);
    EXPECT_EQ(round.pickedRight(), q != 2);
    EXPECT_EQ(round.right(), before + (q != 2 ? 1 : 0)) << "the tally moves at the verdict";
    EXPECT_FALSE(round.choose(pick, kStart)) << "one answer per question";
    round.goOn();
  }
  EXPECT_EQ(round.step(), RoundStep::Finished);
  EXPECT_EQ(round.right(), 5);
  ASSERT_EQ(round.missed().size(), 1u);
  EXPECT_EQ(round.missed()[0].line1, u"wordc");
  EXPECT_DOUBLE_EQ(round.result().seconds, 6.0);
}

TEST(Listening, ASmallLessonGivesFewerMeanings) {
  ListeningSession round(Lesson(2), 3, kStart);
  EXPECT_EQ(round.current().options.size(), 2u);
  std::vector<Entry> same = Lesson(3);
  same[1].line2 = same[0].line2;  // two entries of one meaning: it is offered once
  EXPECT_EQ(ListeningSession(same, 3, kStart).current().options.size(), 2u);
}

TEST(Typing, SpeedCountsCorrectCharactersFromTheFirstKeyToTheLast) {
  TypingSession round(TypingSession::TextOf(Lesson(2)));
  EXPECT_EQ(round.text(), u"worda wordb");
  // Eleven keys, one a second from the first: one wrong ('x' for 'b').
  const std::u16string keys = u"worda wordx";
  for (std::size_t i = 0; i < keys.size(); ++i) {
    round.type(keys[i], kStart + 1000 * static_cast<Millis>(i));
  }
  EXPECT_TRUE(round.finished()) << "the last character was typed";
  EXPECT_NEAR(round.accuracy(), 10.0 / 11.0, 1e-12);
  // 10 correct characters = 2 words in 10 s: 12 words a minute.
  const RoundResult result = round.result();
  EXPECT_NEAR(*result.wordsPerMinute, 12.0, 1e-9);
  EXPECT_EQ(result.right, 10);
  EXPECT_EQ(result.total, 11);
  EXPECT_EQ(result.time, kStart + 10'000);
  EXPECT_EQ(round.missedMost(3), (std::vector<std::pair<char16_t, int>>{{u'b', 1}}));
}

TEST(Typing, BackspaceCorrectsWithoutCountingAsAKeystroke) {
  TypingSession round(u"ab");
  round.type(u'x', 0);
  EXPECT_EQ(round.correct(), 0);
  round.backspace();
  round.type(u'a', 500);
  EXPECT_EQ(round.correct(), 1);
  round.backspace();
  EXPECT_EQ(round.correct(), 0) << "a right character taken back no longer counts";
  round.type(u'a', 600);
  EXPECT_FALSE(round.finished());
  EXPECT_NEAR(round.accuracy(), 2.0 / 3.0, 1e-12);
  round.type(u'b', 60'000);
  EXPECT_NEAR(round.wordsPerMinute(60'000), 0.4, 1e-9);
  EXPECT_EQ(round.elapsed(60'000), 60'000);
  round.type(u'c', 61'000);  // past the end: nothing more
  EXPECT_EQ(round.typed(), u"ab");
}

// The figures on show while typing: keys a second apart from kStart ('\b' is Backspace).
TEST(Typing, FiguresAreTimedFromTheFirstKeyToNowOrToTheLastKey) {
  const struct {
    const char* what;
    std::u16string keys;
    Millis now;
    TypingFigures figures;
  } cases[] = {
      {"no key yet", u"", kStart + 5000, {0, 1, 0}},
      {"a key taken back", u"x\b", kStart + 3000, {0, 0, 3000}},
      {"under way", u"a", kStart + 60'000, {0.2, 1, 60'000}},
      {"finished", u"ab", kStart + 60'000, {24, 1, 1000}},
  };
  for (const auto& c : cases) {
    TypingSession round(u"ab");
    Millis at = kStart;
    for (const char16_t key : c.keys) {
      if (key == u'\b') {
        round.backspace();
      } else {
        round.type(key, at);
        at += 1000;
      }
    }
    const TypingFigures figures = round.figures(c.now);
    EXPECT_NEAR(figures.wordsPerMinute, c.figures.wordsPerMinute, 1e-9) << c.what;
    EXPECT_NEAR(figures.accuracy, c.figures.accuracy, 1e-12) << c.what;
    EXPECT_EQ(figures.elapsed, c.figures.elapsed) << c.what;
  }
}

TEST(Typing, TypographicTextIsShownAndTakenAsAKeyboardTypesIt) {
  TypingSession round(TypingSession::TextOf({{u"It’s “ＯＫ”", u"好"}}));
  EXPECT_EQ(round.text(), u"It's \"OK\"");
  const std::u16string keys = u"It＇s \"ＯK”";  // what an input method may send
  for (const char16_t c : keys) round.type(c, kStart);
  EXPECT_TRUE(round.finished());
  EXPECT_DOUBLE_EQ(round.accuracy(), 1.0);
  round = TypingSession(u"A");
  round.type(u'a', kStart);
  EXPECT_DOUBLE_EQ(round.accuracy(), 0.0) << "typing keeps case";
}

// A store of rounds that keeps what it is given, or refuses it as a full disk does, and
// answers every question about recent rounds with one earlier round.
class RoundsKept final : public RoundStore {
 public:
  explicit RoundsKept(bool savesFail) : savesFail_(savesFail) {}
  const DayRule& dayRule() const override { return days_; }
  bool saveResult(const RoundResult& result, StoreFailure& failure) override {
    if (savesFail_) {
      failure.kind = StoreFailure::Kind::DiskFull;
      return false;
    }
    saved.push_back(result);
    return true;
  }
  std::vector<RoundResult> recentResults(const std::string& activity, const std::string& lesson,
                                         int count, StoreFailure&) override {
    asked = activity + "|" + lesson + "|" + std::to_string(count);
    RoundResult earlier;
    earlier.activity = activity;
    return {earlier};
  }

  std::vector<RoundResult> saved;
  std::string asked;

 private:
  bool savesFail_;
  DayRule days_ = DayRule::Utc();
};

TEST(RoundEnd, TheRoundIsStampedKeptAndShownAmongTheRecentOnes) {
  using Kept = RoundEnd::Kept;
  const struct {
    const char* what;
    const RoundKind& kind;
    bool store;
    bool savesFail;
    Kept kept;
    const char* asked;  // the recent rounds asked for
    std::size_t shown;
  } cases[] = {
      {"dictation", kDictationRound, true, false, Kept::Saved, "dictation|Unit 1|30", 1},
      {"listening", kListeningRound, true, false, Kept::Saved, "listening|Unit 1|30", 1},
      {"typing, over every lesson", kTypingRound, true, false, Kept::Saved, "typing||30", 1},
      {"a full disk", kDictationRound, true, true, Kept::Failed, "dictation|Unit 1|30", 1},
      {"no store", kTypingRound, false, false, Kept::NoStore, "", 1},
  };
  for (const auto& c : cases) {
    RoundsKept store(c.savesFail);
    RoundResult result;
    result.right = 3;
    const RoundEnd end = EndRound(result, c.kind, "Unit 1", c.store ? &store : nullptr);
    EXPECT_EQ(end.kept, c.kept) << c.what;
    EXPECT_EQ(end.failure.kind,
              c.savesFail ? StoreFailure::Kind::DiskFull : StoreFailure::Kind::None)
        << c.what;
    EXPECT_EQ(store.asked, c.asked) << c.what;
    ASSERT_EQ(end.history.size(), c.shown) << c.what;
    EXPECT_EQ(end.history[0].activity, c.kind.name) << c.what;
    EXPECT_EQ(end.days.local(), !c.store) << c.what << ": the store's day rule, when there is one";
    if (c.kept == Kept::Saved) {
      ASSERT_EQ(store.saved.size(), 1u) << c.what;
      EXPECT_EQ(store.saved[0].activity, c.kind.name) << c.what;
      EXPECT_EQ(store.saved[0].lesson, "Unit 1") << c.what;
      EXPECT_EQ(store.saved[0].right, 3) << c.what;
    }
  }
}

}  // namespace
}  // namespace study

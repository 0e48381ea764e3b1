// SPDX-License-Identifier: MIT
// The sittings of 课文初记 and 复习回忆 driven to their ends: on a real store, on one whose
// saves fail, on a read-only one and on none.
#include <gtest/gtest.h>

#include "learn_session.h"
#include "lesson_cards.h"
#include "progress_store.h"
#include "review_session.h"
#include "test_support.h"

namespace study {
namespace {

using testsupport::TempDir;

const Millis kMonday = *ParseIso("2026-01-05T08:00:00Z");
constexpr Millis kMinute = 60'000;

std::vector<EntryText> Entries(int count) {
  std::vector<EntryText> entries;
  for (int i = 0; i < count; ++i) {
    entries.push_back({"word" + std::to_string(i), "释义" + std::to_string(i), "n."});
  }
  return entries;
}

// A store whose saves fail from some moment on, as on a disk that filled up.
class FailingStore final : public CardStore {
 public:
  explicit FailingStore(ProgressStore& real) : real_(real) {}
  bool failing = false;

  bool readOnly() const override { return false; }
  const Fsrs& scheduler() const override { return real_.scheduler(); }
  std::optional<Card> nextDue(Millis now, const std::vector<std::int64_t>& skip,
                              StoreFailure& failure) override {
    return real_.nextDue(now, skip, failure);
  }
  DueSummary dueSummary(Millis now, StoreFailure& failure) override {
    return real_.dueSummary(now, failure);
  }
  std::optional<Committed> commit(const Answer& answer, StoreFailure& failure) override {
    if (failing) {
      failure = {StoreFailure::Kind::DiskFull, "database or disk is full"};
      return std::nullopt;
    }
    return real_.commit(answer, failure);
  }
  bool undo(std::int64_t answerId, StoreFailure& failure) override {
    return real_.undo(answerId, failure);
  }

 private:
  ProgressStore& real_;
};

class CardSessions : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenResult result;
    store_ = ProgressStore::Open(dir_.file("study.db"), kMonday, result);
    ASSERT_TRUE(store_);
  }
  std::vector<Card> lesson(int count) {
    StoreFailure failure;
    return store_->lessonCards("Unit 1", Entries(count), kMonday, failure);
  }
  // Learns `count` cards, each answered `grade` at kMonday.
  void learnAll(int count, Grade grade) {
    LearnSession session(lesson(count), store_.get());
    session.begin(false, kMonday);
    while (session.step() != CardStep::Finished) {
      session.reveal();
      session.answer(grade, kMonday);
    }
  }
  std::size_t answersKept() {
    StoreFailure failure;
    return store_->log(failure).size();
  }

  TempDir dir_;
  std::unique_ptr<ProgressStore> store_;
};

// The handed-off lesson becomes the same cards with a store or without one; only the
// store's have ids, and the store gives the same ones each time.
TEST_F(CardSessions, TheLessonsCardsWithAndWithoutAStore) {
  HandOffLesson lesson;
  lesson.name = u"Unit 1";
  lesson.entries = {{u"market", u"市场", u"n."}, {u"sell", u"卖"}};
  const struct {
    const char* what;
    ProgressStore* store;
    bool saved;
  } cases[] = {{"no store", nullptr, false}, {"the store", store_.get(), true}};
  for (const auto& c : cases) {
    StoreFailure failure;
    const std::vector<Card> cards = LessonCards(lesson, c.store, kMonday, failure);
    EXPECT_FALSE(failure.failed()) << c.what;
    ASSERT_EQ(cards.size(), 2u) << c.what;
    EXPECT_EQ(cards[0].lesson, "Unit 1") << c.what;
    EXPECT_EQ(cards[0].line1, "market") << c.what;
    EXPECT_EQ(cards[0].line2, "市场") << c.what;
    EXPECT_EQ(cards[0].partOfSpeech, "n.") << c.what;
    EXPECT_EQ(cards[1].line1, "sell") << c.what;
    EXPECT_TRUE(cards[1].state.isNew()) << c.what;
    EXPECT_EQ(cards[0].id != 0 && cards[1].id != 0, c.saved) << c.what;
    if (c.saved) {
      EXPECT_EQ(LessonCards(lesson, c.store, kMonday, failure)[1].id, cards[1].id);
    }
  }
}

TEST_F(CardSessions, LearningGoesRoundUntilEachCardIsKnownAndCountsEachCardOnce) {
  LearnSession session(lesson(3), store_.get());
  session.begin(false, kMonday);
  EXPECT_EQ(session.current().partOfSpeech, "n.");
  EXPECT_EQ(session.position(), 1);
  EXPECT_FALSE(session.answer(Grade::Good, kMonday)) << "not before the meaning is shown";
  session.reveal();
  EXPECT_TRUE(session.answer(Grade::Again, kMonday + kMinute));  // word0 back at the end
  EXPECT_EQ(session.current().line1, "word1");
  EXPECT_EQ(session.position(), 2) << "the second card is the second of the pass";
  for (const char* expected : {"word1", "word2", "word0"}) {
    ASSERT_EQ(session.step(), CardStep::Front);
    EXPECT_EQ(session.current().line1, expected);
    session.reveal();
    session.answer(Grade::Good, kMonday + 2 * kMinute);
  }
  EXPECT_EQ(session.position(), 3);
  EXPECT_EQ(session.step(), CardStep::Finished);
  EXPECT_EQ(session.tally().answers(), 4);
  EXPECT_EQ(session.tally().byGrade[0], 1);
  EXPECT_EQ(session.tally().notSaved, 0);
  EXPECT_EQ(session.elapsed(), 2 * kMinute);
  EXPECT_EQ(answersKept(), 4u);

  // A second pass over the whole lesson starts from what the first one made.
  session.begin(true, kMonday + 3 * kMinute);
  EXPECT_EQ(session.alreadyLearned(), 3);
  EXPECT_EQ(session.total(), 3);
  EXPECT_EQ(session.tally().answers(), 0) << "each pass has its own tally";
  EXPECT_FALSE(session.current().state.isNew());
  // The card answered 1 then 3 has a same-day second answer behind it.
  session.reveal();
  session.answer(Grade::Good, kMonday + 3 * kMinute);
  EXPECT_EQ(session.current().state.reps, 1);

  LearnSession opened(lesson(3), store_.get());
  opened.begin(false, kMonday + kMinute);
  EXPECT_EQ(opened.step(), CardStep::Finished) << "nothing new to learn";
  EXPECT_EQ(opened.total(), 0);
}

// What a learning pass shows and holds, to compare before an answer and after its undo.
struct PassView {
  std::string line1;
  CardStep step;
  int position;
  int answers;
  int notSaved;
  std::array<int, 4> intervals;
  bool operator==(const PassView&) const = default;
};

PassView View(const LearnSession& session, Millis now) {
  return {session.current().line1,   session.step(),           session.position(),
          session.tally().answers(), session.tally().notSaved, session.intervals(now)};
}

TEST_F(CardSessions, LearningTakesBackEachAnswerExactlyLastFirst) {
  // Any grade on any card of the pass, saved or not, goes back to what was on show before.
  const struct {
    const char* name;
    bool withStore;
    std::vector<Grade> before;  // answered first, each after showing the meaning
    Grade mistaken;
  } cases[] = {
      {"again on the first card", true, {}, Grade::Again},
      {"good on the first card", true, {}, Grade::Good},
      {"again after an again", true, {Grade::Again}, Grade::Again},
      {"easy on the last card, ending the pass", true, {Grade::Good, Grade::Good}, Grade::Easy},
      {"again on a card come back", true, {Grade::Again, Grade::Good, Grade::Good}, Grade::Again},
      {"not saved: no store", false, {Grade::Hard}, Grade::Again},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    OpenResult result;
    auto store = ProgressStore::Open(dir.file("study.db"), kMonday, result);
    ASSERT_TRUE(store);
    StoreFailure failure;
    LearnSession session(store->lessonCards("Unit 1", Entries(3), kMonday, failure),
                         c.withStore ? store.get() : nullptr);
    session.begin(false, kMonday);
    Millis now = kMonday;
    for (Grade grade : c.before) {
      session.reveal();
      session.answer(grade, now += kMinute);
    }
    const PassView before = View(session, now);
    const std::size_t kept = store->log(failure).size();
    session.reveal();
    ASSERT_TRUE(session.answer(c.mistaken, now += kMinute));
    ASSERT_TRUE(session.canUndo());
    EXPECT_EQ(session.undo(now, failure), UndoOutcome::Done);
    EXPECT_EQ(View(session, now), before);
    EXPECT_EQ(store->log(failure).size(), kept) << "the answer went from the store";
    for (std::size_t taken = 0; taken < c.before.size(); ++taken) {
      EXPECT_EQ(session.undo(now, failure), UndoOutcome::Done);
    }
    EXPECT_EQ(session.undo(now, failure), UndoOutcome::NothingToUndo);
    EXPECT_EQ(session.current().line1, "word0");
    EXPECT_EQ(session.tally().answers(), 0);
    EXPECT_TRUE(store->log(failure).empty());
  }
}

TEST_F(CardSessions, AnswersThatCannotBeSavedAreCountedWithTheirReason) {
  FailingStore failing(*store_);
  LearnSession session(lesson(3), &failing);
  session.begin(false, kMonday);
  session.reveal();
  session.answer(Grade::Good, kMonday);
  failing.failing = true;
  while (session.step() != CardStep::Finished) {
    session.reveal();
    session.answer(Grade::Good, kMonday);
  }
  EXPECT_EQ(session.tally().notSaved, 2);
  EXPECT_EQ(session.tally().why, NotSavedWhy::Failed);
  EXPECT_EQ(session.tally().failure.kind, StoreFailure::Kind::DiskFull);
  EXPECT_EQ(answersKept(), 1u);

  LearnSession nowhere({{0, "Unit 2", "word0", "甲", {}}, {0, "Unit 2", "word1", "乙", {}}},
                       nullptr);
  nowhere.begin(true, kMonday);
  nowhere.reveal();
  nowhere.answer(Grade::Again, kMonday);
  EXPECT_EQ(nowhere.tally().why, NotSavedWhy::NoStore);
  EXPECT_EQ(nowhere.current().line1, "word1");
  nowhere.reveal();
  nowhere.answer(Grade::Good, kMonday);
  EXPECT_EQ(nowhere.current().line1, "word0") << "the sitting goes on without a store";
  EXPECT_EQ(nowhere.current().state.reps, 1) << "with the state worked out in memory";
}

TEST_F(CardSessions, ReviewTakesTheMostOverdueAndBringsAnAgainBackTheSameDay) {
  learnAll(3, Grade::Good);  // all due in 3 days
  const Millis later = kMonday + 5 * kMillisPerDay;
  ReviewSession review(store_.get(), later);
  EXPECT_EQ(review.leftToday(), 3);
  EXPECT_EQ(review.current().line1, "word0");
  EXPECT_EQ(review.current().partOfSpeech, "n.");
  review.reveal();
  review.answer(Grade::Again, later + kMinute);
  EXPECT_EQ(review.leftToday(), 3) << "the card answered 1 is still to do today";
  EXPECT_EQ(review.current().line1, "word1");
  for (int i = 0; i < 2; ++i) {
    review.reveal();
    review.answer(Grade::Good, later + 2 * kMinute);
  }
  ASSERT_EQ(review.step(), CardStep::Front);
  EXPECT_EQ(review.current().line1, "word0") << "back after the due ones";
  EXPECT_EQ(review.leftToday(), 1);
  review.reveal();
  review.answer(Grade::Good, later + 3 * kMinute);
  EXPECT_EQ(review.step(), CardStep::Finished);
  EXPECT_EQ(review.leftToday(), 0);
  EXPECT_EQ(review.cardsDone(), 3);
  EXPECT_EQ(review.tally().answers(), 4);
  EXPECT_EQ(review.elapsed(), 3 * kMinute);
  ASSERT_TRUE(review.due().nextDue);
  EXPECT_GT(*review.due().nextDue, later);

  // The same-day second answer counted with recall 1: the scheduler's own rule.
  StoreFailure failure;
  const auto log = store_->log(failure);
  ASSERT_EQ(log.size(), 7u);
  EXPECT_EQ(log.back().grade, Grade::Good);
}

TEST_F(CardSessions, UndoBringsTheCardBackAndTheCountsFromTheStore) {
  learnAll(9, Grade::Good);
  const Millis later = kMonday + 5 * kMillisPerDay;
  ReviewSession review(store_.get(), later);
  EXPECT_EQ(review.leftToday(), 9);
  StoreFailure failure;
  EXPECT_EQ(review.undo(later, failure), UndoOutcome::NothingToUndo);
  review.reveal();
  review.answer(Grade::Good, later);
  review.reveal();
  review.answer(Grade::Again, later);
  EXPECT_EQ(review.leftToday(), 8);
  EXPECT_EQ(review.current().line1, "word2");

  EXPECT_EQ(review.undo(later, failure), UndoOutcome::Done);
  EXPECT_EQ(review.current().line1, "word1");
  EXPECT_EQ(review.step(), CardStep::Front);
  EXPECT_EQ(review.undo(later, failure), UndoOutcome::Done);
  EXPECT_EQ(review.current().line1, "word0");
  EXPECT_EQ(review.leftToday(), 9) << "both cards are due again";
  EXPECT_EQ(review.tally().answers(), 0);
  EXPECT_FALSE(review.canUndo());

  // word1 answered 1 was taken back: it does not come back at the end.
  int shown = 0;
  while (review.step() != CardStep::Finished && shown < 20) {
    ++shown;
    review.reveal();
    review.answer(Grade::Good, later);
  }
  EXPECT_EQ(shown, 9);
  EXPECT_EQ(answersKept(), 9u + 9u);
}

// Answers the card on show at `now`, then answers it again elsewhere just after; the first
// answer can no longer be taken back, and nothing is.
void ExpectUndoRefusedAfterAnAnswerElsewhere(CardSession& session, ProgressStore& store,
                                             Millis now) {
  const Card shown = session.current();
  session.reveal();
  session.answer(Grade::Hard, now);
  const std::string next = session.current().line1;
  StoreFailure failure;
  ASSERT_TRUE(store.commit({shown.id, now + 1, Grade::Good, "复习回忆", 1}, failure));
  EXPECT_EQ(session.undo(now, failure), UndoOutcome::AnsweredSince);
  EXPECT_TRUE(session.canUndo());
  EXPECT_EQ(session.current().line1, next) << "nothing was taken back";
}

TEST_F(CardSessions, UndoIsRefusedWhenTheCardWasAnsweredSinceElsewhere) {
  LearnSession learning(lesson(2), store_.get());
  learning.begin(false, kMonday);
  ExpectUndoRefusedAfterAnAnswerElsewhere(learning, *store_, kMonday);
  EXPECT_EQ(learning.tally().answers(), 1);

  learning.reveal();
  learning.answer(Grade::Good, kMonday);
  const Millis later = kMonday + 5 * kMillisPerDay;
  ReviewSession review(store_.get(), later);
  ExpectUndoRefusedAfterAnAnswerElsewhere(review, *store_, later);
  EXPECT_EQ(review.tally().answers(), 1);
}

// A day start the store keeps, and one it refuses as a full disk does.
class RefusingDayStart final : public DayStartStore {
 public:
  const DayRule& dayRule() const override { return days_; }
  bool setDayStart(int, Millis, StoreFailure& failure) override {
    failure = {StoreFailure::Kind::DiskFull, "database or disk is full"};
    return false;
  }

 private:
  DayRule days_ = DayRule::Local(kDefaultDayStartMinutes);
};

// A card answered 1 at 07:30 in Shanghai is due at 04:30 the next morning while days start
// at 04:00; with days starting at 05:00 it is still yesterday, and nothing is due.
TEST(ReviewDayStart, TheSessionCountsByANewDayStartOnlyOnceTheStoreKeepsIt) {
  testsupport::ScopedZone zone("Asia/Shanghai");
  const struct {
    const char* what;
    bool refused;
    int leftToday;
    int dayStart;  // the store's afterwards
  } cases[] = {{"kept", false, 0, 5 * 60}, {"refused", true, 1, kDefaultDayStartMinutes}};
  for (const auto& c : cases) {
    TempDir dir;
    OpenResult result;
    auto store = ProgressStore::Open(dir.file("study.db"), kMonday, result);
    ASSERT_TRUE(store);
    StoreFailure failure;
    const auto cards = store->lessonCards("Unit 1", Entries(1), kMonday, failure);
    ASSERT_TRUE(store->commit(
        {cards[0].id, *ParseIso("2026-12-06T23:30:00Z"), Grade::Again, "课文初记", 1}, failure));
    const Millis now = *ParseIso("2026-12-07T20:30:00Z");
    ReviewSession session(store.get(), now);
    ASSERT_EQ(session.leftToday(), 1) << c.what;
    RefusingDayStart refusing;
    DayStartStore& settings = c.refused ? static_cast<DayStartStore&>(refusing) : *store;
    EXPECT_EQ(session.setDayStart(settings, 5 * 60, now, failure), !c.refused) << c.what;
    EXPECT_EQ(failure.failed(), c.refused) << c.what;
    EXPECT_EQ(session.leftToday(), c.leftToday) << c.what;
    EXPECT_EQ(store->dayRule().dayStartMinutes(), c.dayStart) << c.what;
  }
}

TEST_F(CardSessions, AReviewWhoseSavesFailStillEndsAndSaysSo) {
  learnAll(2, Grade::Good);
  FailingStore failing(*store_);
  failing.failing = true;
  const Millis later = kMonday + 5 * kMillisPerDay;
  ReviewSession review(&failing, later);
  int shown = 0;
  while (review.step() != CardStep::Finished && shown < 10) {
    ++shown;
    review.reveal();
    review.answer(Grade::Good, later);
  }
  EXPECT_EQ(shown, 2) << "a card whose answer was lost is not asked again and again";
  EXPECT_EQ(review.tally().notSaved, 2);
  EXPECT_EQ(review.leftToday(), 0);
  EXPECT_FALSE(review.canUndo());

  ReviewSession none(nullptr, later);
  EXPECT_EQ(none.step(), CardStep::Finished);
}

}  // namespace
}  // namespace study

// SPDX-License-Identifier: MIT
// The learner's store as one of several devices: answers known everywhere by device and
// number, what is left to send, and other devices' items merged in to the same states.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "commands.h"
#include "progress_store.h"
#include "sqlite_handle.h"
#include "store_schema.h"
#include "store_sql.h"
#include "test_support.h"

namespace study {
namespace {

using studysync::ItemId;
using studysync::SyncAnswer;
using studysync::SyncItems;
using studysync::SyncWithdrawal;
using testsupport::TempDir;

const Millis kMonday = *ParseIso("2026-01-05T08:00:00Z");
constexpr Millis kHour = 3600 * 1000;
const std::string kLaptop(32, 'a');
// Above any other device's id: its answer at the same moment as another's comes after it.
const std::string kLabPc(32, 'f');
const std::vector<EntryText> kEntries = {{"market", "市场"}, {"stall", "货摊"}, {"vendor", "小贩"}};

std::unique_ptr<ProgressStore> OpenOk(const std::string& path) {
  OpenResult result;
  auto store = ProgressStore::Open(path, kMonday, result);
  EXPECT_TRUE(store) << result.failure.detail;
  return store;
}

SyncAnswer AnswerOf(const std::string& device, std::int64_t seq, int entry, Millis time,
                    int grade) {
  const EntryText& e = kEntries[static_cast<std::size_t>(entry)];
  return {{device, seq}, "Unit 1", e.line1, e.line2, "n.", time, grade, "复习回忆", 2.0};
}

// Each card's state, by its English line.
std::map<std::string, CardState> StatesOf(ProgressStore& store) {
  StoreFailure failure;
  std::map<std::string, CardState> states;
  for (const Card& card : store.lessonCards("Unit 1", kEntries, kMonday, failure)) {
    states[card.line1] = card.state;
  }
  EXPECT_FALSE(failure.failed()) << failure.detail;
  return states;
}

// What replaying `answers` in time order (ties by device and number) gives each card.
std::map<std::string, CardState> Replayed(std::vector<SyncAnswer> answers) {
  std::sort(answers.begin(), answers.end(), [](const SyncAnswer& a, const SyncAnswer& b) {
    return std::tie(a.time, a.id.device, a.id.seq) < std::tie(b.time, b.id.device, b.id.seq);
  });
  const Fsrs fsrs(DayRule::Local(kDefaultDayStartMinutes));
  std::map<std::string, CardState> states;
  for (const EntryText& e : kEntries) states[e.line1] = {};
  for (const SyncAnswer& a : answers) {
    states[a.line1] = fsrs.answer(states[a.line1], static_cast<Grade>(a.grade), a.time);
  }
  return states;
}

MergeCounts MergeOk(ProgressStore& store, const SyncItems& items, std::int64_t cursor = 1) {
  StoreFailure failure;
  const auto counts = store.merge(items, cursor, failure);
  EXPECT_TRUE(counts) << failure.detail;
  return counts.value_or(MergeCounts{-1, -1, -1});
}

SyncItems Unsent(ProgressStore& store) {
  StoreFailure failure;
  SyncItems items = store.unsent(studysync::kMaxItemsPerRequest, failure);
  EXPECT_FALSE(failure.failed()) << failure.detail;
  return items;
}

std::vector<std::int64_t> SeqsOf(const SyncItems& items) {
  std::vector<std::int64_t> seqs;
  for (const SyncAnswer& a : items.answers) seqs.push_back(a.id.seq);
  return seqs;
}

std::int64_t Commit(ProgressStore& store, int entry, Millis time, Grade grade) {
  StoreFailure failure;
  const auto card = store.lessonCards("Unit 1", kEntries, kMonday, failure)[entry].id;
  const auto done = store.commit({card, time, grade, "复习回忆", 1.5}, failure);
  EXPECT_TRUE(done) << failure.detail;
  return done ? done->answerId : 0;
}

// A version 5 store: `days` days of answers, twenty a day on a hundred cards, each card's
// state replayed as that version kept it, three rounds and a day start.
void MakeVersionFiveStore(const std::string& path, int days) {
  OpenOk(path).reset();
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
  Database db(raw);
  ASSERT_EQ(db.exec("DROP TABLE withdrawals; DROP INDEX answers_by_identity;"
                    "DROP INDEX results_by_identity;"
                    "ALTER TABLE answers DROP COLUMN device; ALTER TABLE answers DROP COLUMN seq;"
                    "ALTER TABLE results DROP COLUMN device; ALTER TABLE results DROP COLUMN seq;"
                    "DELETE FROM settings; PRAGMA user_version = 5; BEGIN"),
            SQLITE_OK)
      << db.error();
  const Fsrs fsrs(DayRule::Local(5 * 60));
  Statement card(db, "INSERT INTO cards(lesson, line1, line2, added) VALUES('Unit 9', ?, ?, 0)");
  Statement answer(db,
                   "INSERT INTO answers(card, time, grade, activity, seconds)"
                   " VALUES(?, ?, ?, '复习回忆', 2)");
  std::map<std::int64_t, CardState> states;
  for (int c = 1; c <= 100; ++c) {
    card.bind(1, "word" + std::to_string(c)).bind(2, "词" + std::to_string(c));
    ASSERT_EQ(card.step(), SQLITE_DONE);
    card.reset();
  }
  for (int day = 0; day < days; ++day) {
    for (int i = 0; i < 20; ++i) {
      const std::int64_t c = 1 + (day * 20 + i) * 37 % 100;
      const Millis time = kMonday + day * kMillisPerDay + i * 60'000;
      const Grade grade = static_cast<Grade>(1 + (day + i) % 4);
      answer.bind(1, c).bind(2, time).bind(3, std::int64_t{static_cast<int>(grade)});
      ASSERT_EQ(answer.step(), SQLITE_DONE);
      answer.reset();
      states[c] = fsrs.answer(states[c], grade, time);
    }
  }
  for (const auto& [c, state] : states) ASSERT_EQ(SaveState(db, c, state), SQLITE_OK);
  ASSERT_EQ(
      db.exec("INSERT INTO results(time, activity, lesson, right, total, seconds)"
              " VALUES(1, 'dictation', 'Unit 9', 3, 5, 60), (2, 'typing', 'Unit 9', 4, 4, 30),"
              " (3, 'listening', 'Unit 9', 1, 2, 10);"
              "INSERT INTO settings VALUES('day_start', '05:00'); COMMIT"),
      SQLITE_OK)
      << db.error();
}

// Every answer as "card time grade", every card's state, every round: what an upgrade keeps.
std::string Contents(const std::string& path) {
  sqlite3* raw = nullptr;
  EXPECT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
  Database db(raw);
  std::ostringstream out;
  const std::pair<const char*, int> queries[] = {
      {"SELECT id, card, time, grade FROM answers ORDER BY id", 4},
      {"SELECT card, reps, lapses, stability, difficulty, last_answer, due FROM card_state"
       " ORDER BY card",
       7},
      {"SELECT id, time, activity, right, total FROM results ORDER BY id", 5}};
  for (const auto& [sql, columns] : queries) {
    Statement rows(db, sql);
    while (rows.step() == SQLITE_ROW) {
      for (int i = 0; i < columns; ++i) out << rows.text(i) << ' ';
      out << '\n';
    }
  }
  return out.str();
}

TEST(StoreSync, AVersionFiveStoreWithYearsOfAnswersKeepsThemAllAndGivesThemThisDevicesIds) {
  TempDir dir;
  const std::string path = dir.file("study.db");
  constexpr int kDays = 3 * 365;
  MakeVersionFiveStore(path, kDays);
  const std::string before = Contents(path);
  auto store = OpenOk(path);
  ASSERT_TRUE(studysync::IsDeviceId(store->deviceId())) << store->deviceId();
  EXPECT_EQ(Contents(path), before) << "every answer, state and round kept as it was";
  EXPECT_EQ(store->dayRule(), DayRule::Local(5 * 60));

  // Every answer is this device's, numbered in the order it was kept; all are still to send.
  StoreFailure failure;
  std::vector<std::int64_t> seqs;
  SyncItems page;
  do {
    page = store->unsent(5000, failure);
    ASSERT_FALSE(failure.failed()) << failure.detail;
    for (const SyncAnswer& a : page.answers) {
      EXPECT_EQ(a.id.device, store->deviceId());
      seqs.push_back(a.id.seq);
    }
    ASSERT_TRUE(store->markSent(page, failure)) << failure.detail;
  } while (!page.answers.empty());
  ASSERT_EQ(seqs.size(), std::size_t{kDays * 20});
  EXPECT_TRUE(std::is_sorted(seqs.begin(), seqs.end()));
  EXPECT_EQ(std::set<std::int64_t>(seqs.begin(), seqs.end()).size(), seqs.size()) << "unique";

  // The numbers stay what they were at the next opening; new answers go on after them.
  store.reset();
  store = OpenOk(path);
  const std::int64_t next = Commit(*store, 0, kMonday + kDays * kMillisPerDay, Grade::Good);
  ASSERT_NE(next, 0);
  const SyncItems after = Unsent(*store);
  ASSERT_EQ(after.answers.size(), 1u);
  EXPECT_GT(after.answers[0].id.seq, seqs.back());
  EXPECT_TRUE(after.results.empty()) << "the rounds went with the first pages";
}

TEST(StoreSync, TheDayStartOfAnOldStoreTravelsOnce) {
  TempDir dir;
  const std::string path = dir.file("study.db");
  MakeVersionFiveStore(path, 1);
  auto store = OpenOk(path);
  const SyncItems items = Unsent(*store);
  ASSERT_EQ(items.settings.size(), 1u);
  EXPECT_EQ(items.settings[0], (studysync::SyncSetting{"day_start", "05:00", 0}));
  EXPECT_EQ(items.results.size(), 3u);
  StoreFailure failure;
  ASSERT_TRUE(store->markSent(items, failure));
  EXPECT_TRUE(Unsent(*store).empty());
}

TEST(StoreSync, NumbersAreNeverGivenTwiceAndTakingBackLeavesAWithdrawalToSend) {
  TempDir dir;
  const std::string path = dir.file("study.db");
  auto store = OpenOk(path);
  Commit(*store, 0, kMonday, Grade::Good);
  Commit(*store, 1, kMonday + 1000, Grade::Good);
  const std::int64_t third = Commit(*store, 2, kMonday + 2000, Grade::Again);
  const std::vector<std::int64_t> firstSeqs = SeqsOf(Unsent(*store));
  ASSERT_EQ(firstSeqs.size(), 3u);
  StoreFailure failure;
  ASSERT_TRUE(store->undo(third, failure)) << failure.detail;
  // The last answer's row is gone; its number is not given again, here or after reopening.
  Commit(*store, 2, kMonday + 3000, Grade::Good);
  store.reset();
  store = OpenOk(path);
  Commit(*store, 2, kMonday + 4000, Grade::Easy);
  const SyncItems items = Unsent(*store);
  const std::vector<std::int64_t> seqs = SeqsOf(items);
  ASSERT_EQ(seqs.size(), 4u);
  EXPECT_EQ(seqs[0], firstSeqs[0]);
  EXPECT_EQ(seqs[1], firstSeqs[1]);
  EXPECT_GT(seqs[2], firstSeqs[2]) << "not the taken-back answer's number";
  EXPECT_GT(seqs[3], seqs[2]);
  ASSERT_EQ(items.withdrawals.size(), 1u);
  EXPECT_EQ(items.withdrawals[0].answer, (ItemId{store->deviceId(), firstSeqs[2]}));

  // Once sent, none of it is offered again; taking back a sent answer sends its withdrawal.
  ASSERT_TRUE(store->markSent(items, failure)) << failure.detail;
  EXPECT_TRUE(Unsent(*store).empty());
  ASSERT_TRUE(store->undo(Commit(*store, 0, kMonday + 5000, Grade::Hard), failure));
  const SyncItems taken = Unsent(*store);
  EXPECT_TRUE(taken.answers.empty());
  ASSERT_EQ(taken.withdrawals.size(), 1u);
  EXPECT_GT(taken.withdrawals[0].answer.seq, seqs[3]);
}

TEST(StoreSync, UnsentItemsComeAPageAtATimeOldestFirst) {
  TempDir dir;
  auto store = OpenOk(dir.file("study.db"));
  StoreFailure failure;
  for (int i = 0; i < 5; ++i) {
    Commit(*store, i % 3, kMonday + i * 1000, Grade::Good);
    ASSERT_TRUE(store->saveResult({kMonday + i, "typing", "Unit 1", i, 5, 9, 31.5, 0.9}, failure));
  }
  std::vector<std::int64_t> answers;
  std::vector<int> rounds;
  for (int page = 0; page < 3; ++page) {
    const SyncItems items = store->unsent(2, failure);
    EXPECT_LE(items.answers.size(), 2u);
    for (const auto seq : SeqsOf(items)) answers.push_back(seq);
    for (const auto& r : items.results) rounds.push_back(r.right);
    ASSERT_TRUE(store->markSent(items, failure));
  }
  EXPECT_EQ(answers.size(), 5u);
  EXPECT_TRUE(std::is_sorted(answers.begin(), answers.end()));
  EXPECT_EQ(rounds, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_TRUE(Unsent(*store).empty());
}

TEST(StoreSync, MergingTheSameItemsTwiceKeepsThemOnce) {
  TempDir dir;
  auto laptop = OpenOk(dir.file("laptop.db"));
  auto lab = OpenOk(dir.file("lab.db"));
  StoreFailure failure;
  for (int i = 0; i < 6; ++i) Commit(*laptop, i % 3, kMonday + i * kHour, Grade::Good);
  ASSERT_TRUE(laptop->undo(Commit(*laptop, 0, kMonday + 7 * kHour, Grade::Again), failure));
  ASSERT_TRUE(laptop->saveResult({kMonday, "dictation", "Unit 1", 4, 5, 60, {}, {}}, failure));
  const SyncItems items = Unsent(*laptop);
  EXPECT_EQ(MergeOk(*lab, items, 7), (MergeCounts{6, 1, 1}));
  const auto once = StatesOf(*lab);
  const auto log = lab->log(failure);
  EXPECT_EQ(MergeOk(*lab, items, 7), (MergeCounts{0, 0, 0}));
  EXPECT_EQ(StatesOf(*lab), once);
  EXPECT_EQ(lab->log(failure).size(), log.size());
  EXPECT_EQ(lab->results(failure).size(), 1u);
  EXPECT_EQ(lab->cursor(failure), 7);
  EXPECT_EQ(StatesOf(*lab), StatesOf(*laptop)) << "the lab PC is where the laptop is";
  EXPECT_EQ(lab->log(failure).size(), laptop->log(failure).size());
  EXPECT_TRUE(SeqsOf(Unsent(*lab)).empty()) << "another device's answers are not sent on";
}

// Two devices' answers, some on the same card, the lab PC's clock an hour fast.
std::vector<SyncAnswer> TwoDevicesOffline() {
  return {AnswerOf(kLaptop, 1, 0, kMonday, 3), AnswerOf(kLaptop, 2, 1, kMonday + 60'000, 1),
          AnswerOf(kLaptop, 3, 0, kMonday + 2 * kMillisPerDay, 2),
          AnswerOf(kLabPc, 1, 0, kMonday + kMillisPerDay + kHour, 4),
          AnswerOf(kLabPc, 2, 2, kMonday + kMillisPerDay + kHour, 3),
          AnswerOf(kLabPc, 3, 0, kMonday + 3 * kMillisPerDay + kHour, 1),
          // The same moment on both devices: device and number decide the order.
          AnswerOf(kLabPc, 4, 1, kMonday + 4 * kMillisPerDay, 3),
          AnswerOf(kLaptop, 4, 1, kMonday + 4 * kMillisPerDay, 1)};
}

SyncItems ItemsOf(const std::vector<SyncAnswer>& all, const std::string& device) {
  SyncItems items;
  for (const SyncAnswer& a : all) {
    if (a.id.device == device) items.answers.push_back(a);
  }
  return items;
}

TEST(StoreSync, TheUnionMergedInAnyOrderGivesTheStatesOfItsReplay) {
  const std::vector<SyncAnswer> all = TwoDevicesOffline();
  const auto expected = Replayed(all);
  const SyncItems laptop = ItemsOf(all, kLaptop);
  const SyncItems lab = ItemsOf(all, kLabPc);
  SyncItems reversed = laptop;
  std::reverse(reversed.answers.begin(), reversed.answers.end());
  SyncItems oneAtATimeLast = lab;
  oneAtATimeLast.answers.resize(3);
  const struct {
    const char* what;
    std::vector<SyncItems> merges;
  } cases[] = {
      {"laptop then lab", {laptop, lab}},
      {"lab then laptop", {lab, laptop}},
      {"a page's answers out of time order", {reversed, lab}},
      {"pages overlapping", {oneAtATimeLast, laptop, lab}},
  };
  for (const auto& c : cases) {
    TempDir dir;
    auto store = OpenOk(dir.file("study.db"));
    std::int64_t total = 0;
    for (const SyncItems& items : c.merges) total += MergeOk(*store, items).answers;
    EXPECT_EQ(total, static_cast<std::int64_t>(all.size())) << c.what;
    EXPECT_EQ(StatesOf(*store), expected) << c.what;
  }
}

TEST(StoreSync, TwoDevicesAnsweringOneCardOfflineKeepBothAnswers) {
  TempDir dir;
  const std::string path = dir.file("laptop.db");
  auto laptop = OpenOk(path);
  // The laptop answers the market card on Monday; the lab PC, its clock an hour fast, on
  // Tuesday, before either has synchronised.
  Commit(*laptop, 0, kMonday, Grade::Good);
  SyncItems mine = Unsent(*laptop);
  const SyncAnswer lab = AnswerOf(kLabPc, 1, 0, kMonday + kMillisPerDay + kHour, 1);
  SyncItems theirs;
  theirs.answers.push_back(lab);
  EXPECT_EQ(MergeOk(*laptop, theirs).answers, 1);
  StoreFailure failure;
  EXPECT_EQ(laptop->log(failure).size(), 2u);
  EXPECT_EQ(StatesOf(*laptop), Replayed({mine.answers[0], lab}));

  // The lab PC's answer is the card's latest: an answer on the laptop, whose clock is an hour
  // behind it, is kept at that time, never before it.
  Commit(*laptop, 0, kMonday + kMillisPerDay + 10 * 60'000, Grade::Hard);
  const SyncItems after = Unsent(*laptop);
  ASSERT_EQ(after.answers.size(), 2u);
  EXPECT_EQ(after.answers[1].time, lab.time);
  EXPECT_EQ(StatesOf(*laptop), Replayed({mine.answers[0], lab, after.answers[1]}));

  // Taken in again after a restart (the studytool stats count both devices' answers).
  laptop.reset();
  std::ostringstream out;
  std::ostringstream err;
  ASSERT_EQ(studytool::Stats(path, kMonday + 2 * kMillisPerDay, out, err), 0) << err.str();
  const std::string stats = out.str();
  EXPECT_NE(stats.find("cards\tunlearned\t2\n"), std::string::npos) << stats;
  int answers = 0;
  std::istringstream lines(stats);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("answers\t", 0) == 0) answers += std::stoi(line.substr(line.rfind('\t') + 1));
  }
  EXPECT_EQ(answers, 3) << stats;
}

TEST(StoreSync, AWithdrawnAnswerIsLeftOutWhicheverArrivesFirst) {
  const SyncAnswer kept = AnswerOf(kLabPc, 1, 0, kMonday, 3);
  const SyncAnswer withdrawn = AnswerOf(kLabPc, 2, 0, kMonday + kHour, 1);
  SyncItems answers;
  answers.answers = {kept, withdrawn};
  SyncItems withdrawal;
  withdrawal.withdrawals.push_back({withdrawn.id, withdrawn.time});
  SyncItems both = answers;
  both.withdrawals = withdrawal.withdrawals;
  const struct {
    const char* what;
    std::vector<SyncItems> merges;
    std::vector<MergeCounts> counts;
  } cases[] = {
      {"the answer first", {answers, withdrawal}, {{2, 0, 0}, {0, 1, 0}}},
      {"the withdrawal first", {withdrawal, answers}, {{0, 1, 0}, {1, 0, 0}}},
      {"both in one page", {both}, {{1, 1, 0}}},
      {"again after both", {both, answers, withdrawal}, {{1, 1, 0}, {0, 0, 0}, {0, 0, 0}}},
  };
  for (const auto& c : cases) {
    TempDir dir;
    auto store = OpenOk(dir.file("study.db"));
    for (std::size_t i = 0; i < c.merges.size(); ++i) {
      EXPECT_EQ(MergeOk(*store, c.merges[i]), c.counts[i]) << c.what << ", merge " << i;
    }
    StoreFailure failure;
    EXPECT_EQ(store->log(failure).size(), 1u) << c.what;
    EXPECT_EQ(StatesOf(*store), Replayed({kept})) << c.what;
    EXPECT_TRUE(Unsent(*store).empty()) << c.what << ": another device's withdrawal";
  }
}

TEST(StoreSync, TheLaterDayStartWins) {
  const Millis changedHere = kMonday + kHour;
  const struct {
    const char* what;
    Millis changedThere;
    int expected;
  } cases[] = {
      {"a later change there", changedHere + 1, 6 * 60},
      {"an earlier change there", changedHere - 1, 3 * 60},
      {"at the same moment", changedHere, 3 * 60},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const std::string path = dir.file("study.db");
    auto store = OpenOk(path);
    StoreFailure failure;
    ASSERT_TRUE(store->setDayStart(3 * 60, changedHere, failure));
    SyncItems mine = Unsent(*store);
    ASSERT_EQ(mine.settings.size(), 1u) << c.what;
    EXPECT_EQ(mine.settings[0], (studysync::SyncSetting{"day_start", "03:00", changedHere}));
    SyncItems theirs;
    theirs.settings.push_back({"day_start", "06:00", c.changedThere});
    MergeOk(*store, theirs);
    EXPECT_EQ(store->dayRule(), DayRule::Local(c.expected)) << c.what;
    store.reset();
    store = OpenOk(path);
    EXPECT_EQ(store->dayRule(), DayRule::Local(c.expected)) << c.what << ", reopened";
    // The server's setting is not sent back; one kept here still is.
    EXPECT_EQ(Unsent(*store).settings.empty(), c.expected == 6 * 60) << c.what;
  }
}

TEST(StoreSync, ANewDevicePullsTheWholeLogAndRebuildsEveryCard) {
  TempDir dir;
  auto laptop = OpenOk(dir.file("laptop.db"));
  for (int i = 0; i < 30; ++i) {
    Commit(*laptop, i % 3, kMonday + i * 7 * kHour, static_cast<Grade>(1 + i * 5 % 4));
  }
  auto lab = OpenOk(dir.file("lab.db"));
  StoreFailure failure;
  for (SyncItems page; !(page = laptop->unsent(4, failure)).answers.empty();) {
    MergeOk(*lab, page);
    ASSERT_TRUE(laptop->markSent(page, failure));
  }
  EXPECT_EQ(StatesOf(*lab), StatesOf(*laptop));
  const auto due = [&](ProgressStore& store) {
    const auto summary = store.dueSummary(kMonday + 10 * kMillisPerDay, failure);
    return std::tuple(summary.dueToday, summary.dueTomorrow, summary.nextDue);
  };
  EXPECT_EQ(due(*lab), due(*laptop)) << "the same cards due on both";
}

}  // namespace
}  // namespace study

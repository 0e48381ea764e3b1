// SPDX-License-Identifier: MIT
// The learner's progress store: answers kept through crashes and shared use, damaged,
// older, newer and read-only stores.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "progress_store.h"
#include "sqlite_handle.h"
#include "store_sql.h"
#include "test_support.h"

namespace study {
namespace {

using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;
namespace fs = std::filesystem;

const Millis kMonday = *ParseIso("2026-01-05T08:00:00Z");
const std::vector<EntryText> kEntries = {{"market", "市场"}, {"stall", "货摊"}, {"vendor", "小贩"}};

std::unique_ptr<ProgressStore> OpenOk(const std::string& path, OpenResult& result) {
  auto store = ProgressStore::Open(path, kMonday, result);
  EXPECT_TRUE(store) << result.failure.detail;
  return store;
}

std::unique_ptr<ProgressStore> OpenOk(const std::string& path) {
  OpenResult result;
  auto store = OpenOk(path, result);
  EXPECT_EQ(result.outcome, OpenResult::Outcome::Opened);
  return store;
}

std::vector<std::pair<Millis, Grade>> AnswersOf(const std::vector<LogLine>& log,
                                                std::int64_t card) {
  std::vector<std::pair<Millis, Grade>> answers;
  for (const LogLine& line : log) {
    if (line.card == std::to_string(card)) answers.emplace_back(line.time, line.grade);
  }
  return answers;
}

// Commits `count` answers on the lesson's cards, round and round, a second apart.
void AnswerMany(ProgressStore& store, int count, Millis start, int seed) {
  StoreFailure failure;
  const auto cards = store.lessonCards("Unit 1", kEntries, kMonday, failure);
  for (int i = 0; i < count; ++i) {
    const Answer answer{cards[i % cards.size()].id, start + i * 1000,
                        static_cast<Grade>(1 + (i * 7 + seed) % 4), "复习回忆", 2.5};
    ASSERT_TRUE(store.commit(answer, failure)) << failure.detail;
  }
}

TEST(ProgressStore, CardsAreKnownByTheirTextsAndAnswersSetTheirState) {
  TempDir dir;
  auto store = OpenOk(dir.file("study.db"));
  StoreFailure failure;
  auto cards = store->lessonCards("Unit 1", kEntries, kMonday, failure);
  ASSERT_EQ(cards.size(), 3u);
  EXPECT_TRUE(cards[0].state.isNew());
  // The same entries chosen again, in another order and with a new one: the same cards.
  const auto again = store->lessonCards(
      "Unit 1", {{"vendor", "小贩"}, {"fresh", "新鲜的"}, {"market", "市场"}}, kMonday, failure);
  EXPECT_EQ(again[0].id, cards[2].id);
  EXPECT_EQ(again[2].id, cards[0].id);
  EXPECT_NE(again[1].id, 0);
  EXPECT_NE(store->lessonCards("Unit 2", {kEntries[0]}, kMonday, failure)[0].id, cards[0].id)
      << "another lesson's entry is another card";

  const auto done = store->commit({cards[0].id, kMonday, Grade::Good, "课文初记", 3.0}, failure);
  ASSERT_TRUE(done);
  EXPECT_EQ(done->state, Fsrs().answer(CardState{}, Grade::Good, kMonday));
  cards = store->lessonCards("Unit 1", kEntries, kMonday, failure);
  EXPECT_EQ(cards[0].state, done->state);
  const auto log = store->log(failure);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(FormatLogLine(log[0]), std::to_string(cards[0].id) + "\t2026-01-05T08:00:00Z\t3");
  EXPECT_FALSE(failure.failed());
}

// A card is stamped with the moment its program gave when the store first saw it; the
// same entry seen again later keeps its first stamp.
TEST(ProgressStore, ACardIsStampedWithTheCallersTimeWhenFirstSeen) {
  TempDir dir;
  const std::string path = dir.file("study.db");
  auto store = OpenOk(path);
  StoreFailure failure;
  const Millis later = kMonday + 3 * kMillisPerDay;
  store->lessonCards("Unit 1", {kEntries[0]}, kMonday, failure);
  store->lessonCards("Unit 1", kEntries, later, failure);
  ASSERT_FALSE(failure.failed()) << failure.detail;
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
  Database db(raw);
  const struct {
    const EntryText& entry;
    Millis added;
  } cases[] = {{kEntries[0], kMonday}, {kEntries[1], later}, {kEntries[2], later}};
  for (const auto& c : cases) {
    Statement row(db, "SELECT added FROM cards WHERE line1 = ?");
    row.bind(1, c.entry.line1);
    ASSERT_EQ(row.step(), SQLITE_ROW) << c.entry.line1;
    EXPECT_EQ(row.integer(0), c.added) << c.entry.line1;
  }
}

TEST(ProgressStore, DueCardsComeMostOverdueFirst) {
  TempDir dir;
  auto store = OpenOk(dir.file("study.db"));
  StoreFailure failure;
  const auto cards = store->lessonCards("Unit 1", kEntries, kMonday, failure);
  store->commit({cards[0].id, kMonday, Grade::Easy, "课文初记", 1}, failure);   // due in 8 days
  store->commit({cards[1].id, kMonday, Grade::Again, "课文初记", 1}, failure);  // in 1 day
  store->commit({cards[2].id, kMonday, Grade::Good, "课文初记", 1}, failure);   // in 3 days
  EXPECT_FALSE(store->nextDue(kMonday, {}, failure));
  const DueSummary today = store->dueSummary(kMonday, failure);
  EXPECT_EQ(today.dueToday, 0);
  EXPECT_EQ(today.dueTomorrow, 1);
  EXPECT_EQ(today.nextDue, kMonday + kMillisPerDay);

  // Early on the day a card falls due it is already due.
  const Millis later = *ParseIso("2026-01-20T00:00:01Z");
  EXPECT_EQ(store->nextDue(later, {}, failure)->id, cards[1].id);
  EXPECT_EQ(store->dueSummary(later, failure).dueToday, 3);
}

TEST(ProgressStore, TodayIsTheLearnersDayByTheLocalClock) {
  testsupport::ScopedZone zone("Asia/Shanghai");
  TempDir dir;
  const std::string path = dir.file("study.db");
  auto store = OpenOk(path);
  StoreFailure failure;
  const auto cards = store->lessonCards("Unit 1", kEntries, kMonday, failure);
  // Learned at 07:30 in the morning (UTC: the evening before), answered 1: due tomorrow.
  store->commit({cards[0].id, *ParseIso("2026-12-06T23:30:00Z"), Grade::Again, "课文初记", 1},
                failure);
  const Millis fiveMinutesPastEight = *ParseIso("2026-12-07T00:05:00Z");
  EXPECT_FALSE(store->nextDue(fiveMinutesPastEight, {}, failure));
  const DueSummary summary = store->dueSummary(fiveMinutesPastEight, failure);
  EXPECT_EQ(summary.dueToday, 0);
  EXPECT_EQ(summary.dueTomorrow, 1);
  const Statistics stats = store->statistics(fiveMinutesPastEight, failure);
  EXPECT_EQ(FormatIso(stats.today * kMillisPerDay).substr(0, 10), "2026-12-07");
  EXPECT_EQ(stats.answersPerDay.back(), 1) << "counted on the morning it was given";
  EXPECT_EQ(stats.duePerDay[1], 1);
  // The next learner's day starts at 04:00.
  EXPECT_FALSE(store->nextDue(*ParseIso("2026-12-07T19:59:59Z"), {}, failure));
  EXPECT_TRUE(store->nextDue(*ParseIso("2026-12-07T20:00:00Z"), {}, failure));
  EXPECT_FALSE(failure.failed()) << failure.detail;

  // The day start is the store's own, kept for the next opening.
  EXPECT_EQ(store->dayRule(), DayRule::Local(kDefaultDayStartMinutes));
  ASSERT_TRUE(store->setDayStart(3 * 60, kMonday, failure)) << failure.detail;
  EXPECT_TRUE(store->nextDue(*ParseIso("2026-12-07T19:00:00Z"), {}, failure));
  store.reset();
  EXPECT_EQ(OpenOk(path)->dayRule(), DayRule::Local(3 * 60));
}

TEST(ProgressStore, AnAnswerWhileTheClockIsBehindKeepsThePreviousAnswersTime) {
  TempDir dir;
  auto store = OpenOk(dir.file("study.db"));
  StoreFailure failure;
  const auto cards = store->lessonCards("Unit 1", kEntries, kMonday, failure);
  const auto first = store->commit({cards[0].id, kMonday, Grade::Easy, "课文初记", 1}, failure);
  ASSERT_TRUE(first);
  // The clock went back two days: the answer counts as given with the one before.
  const auto behind = store->commit(
      {cards[0].id, kMonday - 2 * kMillisPerDay, Grade::Good, "复习回忆", 1}, failure);
  ASSERT_TRUE(behind) << failure.detail;
  EXPECT_EQ(behind->state, Fsrs(store->dayRule()).answer(first->state, Grade::Good, kMonday));
  EXPECT_GT(behind->state.due, first->state.lastAnswer);
  const auto log = store->log(failure);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[1].time, kMonday);
  // Another card's first answer keeps its own time.
  ASSERT_TRUE(
      store->commit({cards[1].id, kMonday - kMillisPerDay, Grade::Good, "复习回忆", 1}, failure));
  EXPECT_EQ(store->log(failure).back().time, kMonday - kMillisPerDay);
}

TEST(ProgressStore, UndoTakesBackTheLastAnswerExactly) {
  TempDir dir;
  auto store = OpenOk(dir.file("study.db"));
  StoreFailure failure;
  const auto cards = store->lessonCards("Unit 1", kEntries, kMonday, failure);
  const auto first = store->commit({cards[0].id, kMonday, Grade::Good, "复习回忆", 1}, failure);
  const auto second = store->commit(
      {cards[0].id, kMonday + 4 * kMillisPerDay, Grade::Hard, "复习回忆", 1}, failure);
  ASSERT_TRUE(first && second);
  EXPECT_FALSE(store->undo(first->answerId, failure)) << "not the card's last answer";
  ASSERT_TRUE(store->undo(second->answerId, failure)) << failure.detail;
  EXPECT_EQ(store->lessonCards("Unit 1", kEntries, kMonday, failure)[0].state, first->state);
  EXPECT_EQ(store->log(failure).size(), 1u);
  ASSERT_TRUE(store->undo(first->answerId, failure));
  EXPECT_TRUE(store->lessonCards("Unit 1", kEntries, kMonday, failure)[0].state.isNew());
}

TEST(ProgressStore, AKilledWriterLosesNoCommittedAnswer) {
  TempDir dir;
  const std::string path = dir.file("study.db");
  OpenOk(path);
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeFds[0]);
    OpenResult result;
    auto store = ProgressStore::Open(path, kMonday, result);
    StoreFailure failure;
    const auto cards = store->lessonCards("Unit 1", kEntries, kMonday, failure);
    for (int i = 0;; ++i) {
      const auto done =
          store->commit({cards[i % 3].id, kMonday + i * 1000, Grade::Good, "复习回忆", 1}, failure);
      if (!done) ::_exit(1);
      // Told only once committed: everything the parent hears of must be in the store.
      if (::write(pipeFds[1], &done->answerId, sizeof done->answerId) < 0) ::_exit(1);
    }
  }
  ::close(pipeFds[1]);
  std::set<std::int64_t> heard;
  std::int64_t id = 0;
  while (heard.size() < 300 && ::read(pipeFds[0], &id, sizeof id) == sizeof id) heard.insert(id);
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  while (::read(pipeFds[0], &id, sizeof id) == sizeof id) heard.insert(id);
  ::close(pipeFds[0]);
  ASSERT_GE(heard.size(), 300u);

  auto store = OpenOk(path);
  StoreFailure failure;
  const auto log = store->log(failure);
  EXPECT_GE(log.size(), heard.size());
  const auto cards = store->lessonCards("Unit 1", kEntries, kMonday, failure);
  for (const Card& card : cards) {
    EXPECT_EQ(card.state, ReplayCard(Fsrs(), AnswersOf(log, card.id))) << card.line1;
  }
}

TEST(ProgressStore, TwoProgramsAtOnceLoseAndCorruptNothing) {
  TempDir dir;
  const std::string path = dir.file("study.db");
  OpenOk(path);
  EXPECT_TRUE(testsupport::AllInChildren(2, [&](int program) {
    OpenResult result;
    auto store = ProgressStore::Open(path, kMonday, result);
    if (!store) return false;
    StoreFailure failure;
    const auto cards = store->lessonCards("Unit 1", kEntries, kMonday, failure);
    for (int i = 0; i < 150; ++i) {
      const Answer answer{cards[i % 3].id, kMonday + i * 60000,
                          static_cast<Grade>(1 + (i + program) % 4), "复习回忆", 1};
      if (!store->commit(answer, failure)) return false;
    }
    return true;
  }));
  auto store = OpenOk(path);
  StoreFailure failure;
  EXPECT_EQ(store->log(failure).size(), 300u);
  // Each card's state is what its answers make of it, in the order they were committed.
  Database db;
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
  db = Database(raw);
  for (const Card& card : store->lessonCards("Unit 1", kEntries, kMonday, failure)) {
    std::vector<std::pair<Millis, Grade>> answers;
    Statement rows(db, "SELECT time, grade FROM answers WHERE card = ? ORDER BY id");
    rows.bind(1, card.id);
    while (rows.step() == SQLITE_ROW) {
      answers.emplace_back(rows.integer(0), static_cast<Grade>(rows.integer(1)));
    }
    EXPECT_EQ(answers.size(), 100u);
    EXPECT_EQ(card.state, ReplayCard(Fsrs(), answers));
  }
  Statement check(db, "PRAGMA integrity_check");
  ASSERT_EQ(check.step(), SQLITE_ROW);
  EXPECT_EQ(check.text(0), "ok");
}

TEST(ProgressStore, ADamagedStoreIsKeptAsideAndAFreshOneStarts) {
  TempDir dir;
  const std::string path = dir.file("study.db");
  {
    auto store = OpenOk(path);
    AnswerMany(*store, 10, kMonday, 0);
  }
  // Its header gone: still ours by the rows its pages hold.
  std::string damaged = ReadBytes(path);
  damaged.replace(0, 100, 100, '\x5a');
  WriteBytes(path, damaged);
  OpenResult result;
  auto store = OpenOk(path, result);
  EXPECT_EQ(result.outcome, OpenResult::Outcome::DamagedKeptAside);
  EXPECT_EQ(result.failure.kind, StoreFailure::Kind::Damaged);
  EXPECT_EQ(result.keptAs, path + ".damaged-20260105-080000");
  EXPECT_EQ(ReadBytes(result.keptAs), damaged) << "never silently overwritten";
  EXPECT_EQ(result.recovered.answersSaved, 10);
  StoreFailure failure;
  EXPECT_TRUE(store->commit({store->lessonCards("Unit 1", kEntries, kMonday, failure)[0].id,
                             kMonday, Grade::Good, "课文初记", 1},
                            failure));
}

// Only a store of ours is ever moved aside: to write as to read, anything else is refused
// and left as it is.
TEST(ProgressStore, WhatIsNotAStoreIsRefusedUntouchedEvenToWrite) {
  TempDir dir;
  const std::string notes = dir.file("notes.txt");
  WriteBytes(notes, std::string(8192, '\x5a'));
  const std::string other = dir.file("other.db");
  {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(other.c_str(), &raw), SQLITE_OK);
    Database db(raw);
    ASSERT_EQ(db.exec("CREATE TABLE contacts(name TEXT); INSERT INTO contacts VALUES('x')"),
              SQLITE_OK);
  }
  for (const std::string& path : {notes, other}) {
    for (const StoreAccess access : {StoreAccess::Write, StoreAccess::Read}) {
      const std::string before = ReadBytes(path);
      OpenResult result;
      EXPECT_FALSE(ProgressStore::Open(path, kMonday, result, access)) << path;
      EXPECT_EQ(result.outcome, OpenResult::Outcome::NotOurs) << path;
      EXPECT_EQ(result.failure.kind, StoreFailure::Kind::NotAStore) << path;
      EXPECT_TRUE(ReadBytes(path) == before) << path;
      EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2)
          << "nothing moved aside or left beside " << path;
    }
  }
}

TEST(ProgressStore, DamageInsideTheFileIsFoundToo) {
  TempDir dir;
  const std::string path = dir.file("study.db");
  {
    auto store = OpenOk(path);
    AnswerMany(*store, 3000, kMonday, 0);
  }
  std::string bytes = ReadBytes(path);
  ASSERT_GT(bytes.size(), 64u * 1024);
  // Pages far into the answers, which opening itself never reads.
  const std::size_t from = bytes.size() / 2 / 4096 * 4096;
  for (std::size_t i = from; i < from + 32 * 1024; ++i) bytes[i] = static_cast<char>(i * 131);
  WriteBytes(path, bytes);
  {
    // Checked after opening, as the study windows do once the first card shows: the store
    // is kept aside and the program goes on with what was saved of it.
    OpenResult result;
    auto later =
        ProgressStore::Open(path, kMonday, result, StoreAccess::Write, IntegrityCheck::Later);
    ASSERT_TRUE(later) << result.failure.detail;
    EXPECT_EQ(result.outcome, OpenResult::Outcome::Opened);
    EXPECT_FALSE(later->checkIntegrity(kMonday, result));
    EXPECT_EQ(result.outcome, OpenResult::Outcome::DamagedKeptAside);
    EXPECT_EQ(result.failure.kind, StoreFailure::Kind::Damaged);
    EXPECT_EQ(ReadBytes(result.keptAs), bytes);
    StoreFailure failure;
    EXPECT_TRUE(later->commit({1, kMonday, Grade::Good, "复习回忆", 1}, failure)) << failure.detail;
    later.reset();
    for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(path + suffix);
    fs::rename(result.keptAs, path);
  }
  OpenResult result;
  auto store = OpenOk(path, result);
  EXPECT_EQ(result.outcome, OpenResult::Outcome::DamagedKeptAside);
  EXPECT_EQ(ReadBytes(result.keptAs), bytes);
  EXPECT_TRUE(store->checkIntegrity(kMonday, result)) << "the fresh store is sound";
}

TEST(ProgressStore, AVersionOneStoreIsBroughtUpToDate) {
  TempDir dir;
  const std::string path = dir.file("study.db");
  {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
    Database db(raw);
    // The first release's tables: cards and answers, no scheduling state.
    ASSERT_EQ(db.exec("CREATE TABLE cards(id INTEGER PRIMARY KEY, lesson TEXT NOT NULL,"
                      " line1 TEXT NOT NULL, line2 TEXT NOT NULL, added INTEGER NOT NULL,"
                      " UNIQUE(lesson, line1, line2));"
                      "CREATE TABLE answers(id INTEGER PRIMARY KEY, card INTEGER NOT NULL,"
                      " time INTEGER NOT NULL, grade INTEGER NOT NULL, activity TEXT NOT NULL,"
                      " seconds REAL NOT NULL);"
                      "INSERT INTO cards VALUES(1, 'Unit 1', 'market', '市场', 0),"
                      " (2, 'Unit 1', 'stall', '货摊', 0), (3, 'Unit 1', 'vendor', '小贩', 0);"
                      "INSERT INTO answers VALUES(1, 1, 1767600000000, 3, 'x', 1),"
                      " (2, 2, 1767600001000, 1, 'x', 1), (3, 1, 1767859200000, 2, 'x', 1);"
                      "PRAGMA user_version = 1;"),
              SQLITE_OK)
        << db.error();
  }
  auto store = OpenOk(path);
  StoreFailure failure;
  const auto cards = store->lessonCards("Unit 1", kEntries, kMonday, failure);
  const Fsrs fsrs;
  EXPECT_EQ(cards[0].state,
            ReplayCard(fsrs, {{1767600000000, Grade::Good}, {1767859200000, Grade::Hard}}));
  EXPECT_EQ(cards[1].state, ReplayCard(fsrs, {{1767600001000, Grade::Again}}));
  EXPECT_TRUE(cards[2].state.isNew());
  store.reset();
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
  Database db(raw);
  Statement version(db, "PRAGMA user_version");
  ASSERT_EQ(version.step(), SQLITE_ROW);
  EXPECT_EQ(version.integer(0), kStoreVersion);
}

TEST(ProgressStore, RoundsAreKeptAndAVersionTwoStoreGetsTheirTable) {
  TempDir dir;
  const std::string path = dir.file("study.db");
  {
    auto store = OpenOk(path);
    AnswerMany(*store, 5, kMonday, 3);
    Database db;
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
    db = Database(raw);
    ASSERT_EQ(db.exec("DROP TABLE settings; DROP TABLE results; ALTER TABLE cards DROP COLUMN part;"
                      "DROP TABLE withdrawals; DROP INDEX answers_by_identity;"
                      "ALTER TABLE answers DROP COLUMN device; ALTER TABLE answers DROP COLUMN seq;"
                      "PRAGMA user_version = 2"),
              SQLITE_OK);
  }
  auto store = OpenOk(path);
  StoreFailure failure;
  EXPECT_EQ(store->log(failure).size(), 5u) << "the answers stay";
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(store->saveResult(
        {kMonday + i, i % 2 ? "typing" : "dictation", "Unit 1", i, 13, 60.0 + i,
         i % 2 ? std::optional(20.0 + i) : std::nullopt, i % 2 ? std::optional(0.9) : std::nullopt},
        failure));
  }
  ASSERT_TRUE(store->saveResult({kMonday + 9, "dictation", "Unit 2", 1, 2, 5, {}, {}}, failure));
  EXPECT_EQ(store->results(failure).size(), 5u);
  const auto recent = store->recentResults("dictation", "Unit 1", 1, failure);
  ASSERT_EQ(recent.size(), 1u);
  EXPECT_EQ(recent[0].right, 2) << "the latest";
  const auto typing = store->recentResults("typing", "", 30, failure);
  ASSERT_EQ(typing.size(), 2u);
  EXPECT_EQ(typing[0].wordsPerMinute, 21.0) << "oldest first";
  EXPECT_FALSE(store->recentResults("dictation", "", 30, failure)[0].wordsPerMinute);
}

TEST(ProgressStore, ANewerStoreIsRefusedAndLeftUntouched) {
  TempDir dir;
  const std::string path = dir.file("study.db");
  {
    auto store = OpenOk(path);
    AnswerMany(*store, 10, kMonday, 1);
  }
  {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
    Database db(raw);
    ASSERT_EQ(db.exec("PRAGMA user_version = 7"), SQLITE_OK);
  }
  const std::string before = ReadBytes(path);
  OpenResult result;
  EXPECT_FALSE(ProgressStore::Open(path, kMonday, result));
  EXPECT_EQ(result.outcome, OpenResult::Outcome::TooNew);
  EXPECT_EQ(result.foundVersion, 7);
  EXPECT_TRUE(ReadBytes(path) == before);
}

TEST(ProgressStore, AReadOnlyStoreIsReadAndNothingIsSaved) {
  TempDir dir;
  const std::string path = dir.file("study.db");
  {
    auto store = OpenOk(path);
    AnswerMany(*store, 10, kMonday, 2);
  }
  ASSERT_FALSE(fs::exists(path + "-wal")) << "closed cleanly";
  fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::others_read |
                                  fs::perms::others_exec | fs::perms::group_read |
                                  fs::perms::group_exec);
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read |
                            fs::perms::group_read);
  const std::string before = ReadBytes(path);
  EXPECT_TRUE(testsupport::AsOrdinaryUser([&] {
    OpenResult result;
    auto store = ProgressStore::Open(path, kMonday, result);
    if (!store || result.outcome != OpenResult::Outcome::ReadOnly || !store->readOnly()) {
      return false;
    }
    StoreFailure failure;
    const auto cards = store->lessonCards("Unit 1", kEntries, kMonday, failure);
    const bool read = cards.size() == 3 && cards[0].id != 0 && !cards[0].state.isNew() &&
                      store->log(failure).size() == 10;
    const bool refused = !store->commit({cards[0].id, kMonday, Grade::Good, "x", 1}, failure) &&
                         failure.kind == StoreFailure::Kind::ReadOnly;
    return read && refused;
  }));
  EXPECT_TRUE(ReadBytes(path) == before);
}

TEST(ProgressStore, WhatIsNotAFileIsRefusedAtOnceWithTheReason) {
  TempDir dir;
  const testsupport::IdlePipe pipe(dir.file("pipe.db"));
  fs::create_directory(dir.file("folder.db"));
  const std::tuple<std::string, int, std::string> cases[] = {
      {pipe.path(), ESPIPE, "named pipe"}, {dir.file("folder.db"), EISDIR, "folder"}};
  for (const auto& [path, error, kind] : cases) {
    OpenResult result;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(ProgressStore::Open(path, kMonday, result));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << path;
    EXPECT_EQ(result.outcome, OpenResult::Outcome::Failed);
    EXPECT_EQ(result.failure.systemError, error) << path;
    EXPECT_NE(result.failure.detail.find(kind), std::string::npos) << result.failure.detail;
  }
}

// A full disk, at each point of making a store where it can strike: the cause is named,
// never the words of the clean-up that followed.
TEST(ProgressStore, AFullDiskIsNamedAsTheCause) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
  TempDir dir;
  if (::mount("suite-test", dir.path().c_str(), "tmpfs", 0, "size=256k") != 0) {
    GTEST_SKIP() << "this machine does not let root mount: " << std::strerror(errno);
  }
  const std::string path = dir.file("study.db");
  for (std::size_t freeKiB = 0; freeKiB <= 64; freeKiB += 8) {
    for (const char* suffix : {"", "-wal", "-shm", ".fill"}) fs::remove(path + suffix);
    WriteBytes(path + ".fill", std::string((256 - freeKiB) * 1024, 'x'));
    WriteBytes(path, "");
    OpenResult result;
    const bool opened = ProgressStore::Open(path, kMonday, result) != nullptr;
    EXPECT_TRUE(!opened || freeKiB > 0) << "a store made on a full disk";
    if (opened) continue;
    const std::string& detail = result.failure.detail;
    EXPECT_TRUE(detail.find("disk is full") != std::string::npos ||
                detail.find("No space left on device") != std::string::npos)
        << freeKiB << " KiB free: " << detail;
  }
  ::umount(dir.path().c_str());
}

TEST(ProgressStore, TheStoreAndItsJournalsAreTheOwnersAloneWhateverTheFolder) {
  TempDir dir;
  fs::permissions(dir.path(), fs::perms::all);
  const std::string path = dir.file("study.db");
  const mode_t umaskBefore = ::umask(0);
  auto store = OpenOk(path);
  ::umask(umaskBefore);
  AnswerMany(*store, 3, kMonday, 0);
  for (const std::string& file : {path, path + "-wal", path + "-shm"}) {
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0) << file;
    EXPECT_EQ(st.st_mode & 0777, 0600u) << file;
  }
}

// A store that came as 0644 with its -wal and -shm (a backup restored under umask 022, an
// older store) is the owner's alone once a program opens it to write; reading leaves it.
TEST(ProgressStore, AWiderStoreIsNarrowedAtEveryOpeningToWrite) {
  TempDir dir;
  fs::permissions(dir.path(), fs::perms::all);
  const std::string path = dir.file("study.db");
  const std::vector<std::string> files = {path, path + "-wal", path + "-shm"};
  const auto modes = [&] {
    std::vector<mode_t> found;
    for (const std::string& file : files) {
      struct stat st {};
      found.push_back(::stat(file.c_str(), &st) == 0 ? st.st_mode & 0777 : 0);
    }
    return found;
  };
  const std::vector<mode_t> wide(3, 0644);
  const std::vector<mode_t> narrow(3, 0600);
  for (const bool ordinary : {false, true}) {
    for (const std::string& file : files) fs::remove(file);
    const auto as = [&](const std::function<bool()>& work) {
      return ordinary ? testsupport::AsOrdinaryUser(work) : work();
    };
    EXPECT_TRUE(as([&] {
      OpenResult result;
      auto first = ProgressStore::Open(path, kMonday, result);
      if (!first) return false;
      StoreFailure failure;
      const auto cards = first->lessonCards("Unit 1", kEntries, kMonday, failure);
      if (!first->commit({cards[0].id, kMonday, Grade::Good, "复习回忆", 1}, failure)) return false;
      // Widened while its -wal and -shm are in use.
      for (const std::string& file : files) ::chmod(file.c_str(), 0644);
      if (modes() != wide) return false;
      auto reader = ProgressStore::Open(path, kMonday, result, StoreAccess::Read);
      if (!reader || modes() != wide) return false;
      auto second = ProgressStore::Open(path, kMonday, result);
      return second && modes() == narrow;
    })) << (ordinary ? "as an ordinary user" : "as this user");
  }
}

TEST(ProgressStore, AStoreReadWithoutItsJournalSaysItMayBeOutOfDate) {
  TempDir dir;
  const std::string path = dir.file("study.db");
  TempDir copy;
  const std::string copied = copy.file("study.db");
  {
    OpenOk(path);
    // As a program killed while its answers were still in the -wal left it.
    auto store = OpenOk(path);
    AnswerMany(*store, 5, kMonday, 0);
    ASSERT_GT(fs::file_size(path + "-wal"), 0u);
    fs::copy_file(path, copied);
    fs::copy_file(path + "-wal", copied + "-wal");
  }
  fs::permissions(copy.path(), fs::perms::owner_all | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read |
                                   fs::perms::others_exec);
  for (const std::string& file : {copied, copied + "-wal"}) {
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::others_read);
  }
  EXPECT_TRUE(testsupport::AsOrdinaryUser([&] {
    OpenResult result;
    auto store = ProgressStore::Open(copied, kMonday, result, StoreAccess::Read);
    return store && result.outcome == OpenResult::Outcome::ReadOnly && result.mayBeOutOfDate;
  }));
}

TEST(ProgressStore, SqlitesCodesBecomeFailureKindsExtendedCodesToo) {
  using Kind = StoreFailure::Kind;
  const std::pair<int, Kind> cases[] = {
      {SQLITE_OK, Kind::None},
      {SQLITE_FULL, Kind::DiskFull},
      {SQLITE_READONLY_DBMOVED, Kind::ReadOnly},
      {SQLITE_BUSY_SNAPSHOT, Kind::Busy},
      {SQLITE_LOCKED, Kind::Busy},
      {SQLITE_CORRUPT, Kind::Damaged},
      {SQLITE_NOTADB, Kind::Damaged},
      {SQLITE_IOERR_FSYNC, Kind::InputOutput},
      {SQLITE_CANTOPEN_ISDIR, Kind::CannotOpen},
      {SQLITE_PERM, Kind::NoPermission},
      {SQLITE_AUTH, Kind::NoPermission},
      {SQLITE_CONSTRAINT, Kind::Other},
  };
  for (const auto& [code, kind] : cases) {
    const StoreFailure failure = FailureOf(code, "words");
    EXPECT_EQ(failure.kind, kind) << code;
    EXPECT_EQ(failure.detail, "words");
  }
}

TEST(ProgressStore, StatisticsCountDaysWeeksAndStates) {
  TempDir dir;
  auto store = OpenOk(dir.file("study.db"));
  StoreFailure failure;
  const auto cards = store->lessonCards("Unit 1", kEntries, kMonday, failure);
  const Millis day = kMillisPerDay;
  store->commit({cards[0].id, kMonday - 3 * day, Grade::Good, "课文初记", 1}, failure);
  store->commit({cards[0].id, kMonday - 3 * day + 1000, Grade::Again, "课文初记", 1}, failure);
  store->commit({cards[0].id, kMonday, Grade::Good, "复习回忆", 1}, failure);  // a review, recalled
  store->commit({cards[1].id, kMonday - day, Grade::Good, "课文初记", 1}, failure);
  store->commit({cards[1].id, kMonday, Grade::Again, "复习回忆", 1}, failure);  // a review, lapsed
  const Statistics stats = store->statistics(kMonday, failure);
  EXPECT_FALSE(failure.failed()) << failure.detail;
  EXPECT_EQ(stats.answersPerDay[Statistics::kDays - 1], 2);
  EXPECT_EQ(stats.answersPerDay[Statistics::kDays - 2], 1);
  EXPECT_EQ(stats.answersPerDay[Statistics::kDays - 4], 2);
  EXPECT_EQ(stats.reviewAnswersPerWeek.back(), 2);
  EXPECT_EQ(stats.recalledPerWeek.back(), 1);
  EXPECT_EQ(stats.unlearned, 1);
  EXPECT_EQ(stats.relearning, 1);
  EXPECT_EQ(stats.young, 1);
  EXPECT_EQ(stats.mature, 0);
  int due = 0;
  for (int n : stats.duePerDay) due += n;
  EXPECT_EQ(due, 2);
  EXPECT_EQ(stats.duePerDay[1], 1) << "the lapsed card, tomorrow";
}

}  // namespace
}  // namespace study

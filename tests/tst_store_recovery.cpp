// SPDX-License-Identifier: MIT
// A damaged progress store: found damaged wherever the damage is, and what can be read of
// it saved into a fresh store, every card's state made again from its answers.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "progress_store.h"
#include "sqlite_handle.h"
#include "store_recovery.h"
#include "store_schema.h"
#include "test_support.h"

namespace study {
namespace {

using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;
namespace fs = std::filesystem;

const Millis kMonday = *ParseIso("2026-01-05T08:00:00Z");
constexpr int kCards = 40;
constexpr int kAnswersEach = 60;
constexpr int kAnswers = kCards * kAnswersEach;
constexpr std::size_t kPage = 4096;

std::vector<EntryText> Entries() {
  std::vector<EntryText> entries;
  for (int i = 0; i < kCards; ++i) entries.push_back({"word" + std::to_string(i), "词"});
  return entries;
}

std::map<std::int64_t, CardState> States(ProgressStore& store) {
  StoreFailure failure;
  std::map<std::int64_t, CardState> states;
  for (const Card& card : store.lessonCards("Unit 1", Entries(), kMonday, failure)) {
    states[card.id] = card.state;
  }
  return states;
}

// Each card's answers in the order they were given.
std::map<std::string, std::vector<Millis>> ByCard(const std::vector<LogLine>& log) {
  std::map<std::string, std::vector<Millis>> answers;
  for (const LogLine& line : log) answers[line.card].push_back(line.time);
  return answers;
}

// The leaf pages of the answers' table, by SQLite's own account of the file.
std::vector<std::size_t> AnswerLeaves(const std::string& path) {
  sqlite3* raw = nullptr;
  sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
  Database db(raw);
  Statement pages(db,
                  "SELECT pageno FROM dbstat WHERE name = 'answers' AND pagetype = 'leaf'"
                  " ORDER BY pageno");
  std::vector<std::size_t> leaves;
  while (pages.step() == SQLITE_ROW) leaves.push_back(static_cast<std::size_t>(pages.integer(0)));
  return leaves;
}

// An empty store of the current version, in memory.
Database FreshStore() {
  sqlite3* raw = nullptr;
  sqlite3_open(":memory:", &raw);
  Database fresh(raw);
  EXPECT_EQ(UpgradeStore(fresh, 0), SQLITE_OK);
  return fresh;
}

struct Written {
  std::vector<LogLine> log;
  std::map<std::int64_t, CardState> states;
  std::string device;
  std::set<std::int64_t> seqs;  // the answers' numbers
};

// A sound store of kAnswers answers, card after card, a minute apart.
Written WriteStore(const std::string& path) {
  OpenResult result;
  auto store = ProgressStore::Open(path, kMonday, result);
  StoreFailure failure;
  const auto cards = store->lessonCards("Unit 1", Entries(), kMonday, failure);
  for (int i = 0; i < kAnswers; ++i) {
    const Answer answer{cards[static_cast<std::size_t>(i / kAnswersEach)].id, kMonday + i * 60'000,
                        static_cast<Grade>(1 + (i * 7) % 4), "复习回忆", 2.5};
    EXPECT_TRUE(store->commit(answer, failure)) << failure.detail;
  }
  std::set<std::int64_t> seqs;
  for (const auto& answer : store->unsent(kAnswers, failure).answers) seqs.insert(answer.id.seq);
  return {store->log(failure), States(*store), store->deviceId(), seqs};
}

TEST(StoreRecovery, WhatCanBeReadOfADamagedStoreIsSavedWhereverTheDamageIs) {
  TempDir made;
  const std::string original = made.file("study.db");
  const Written written = WriteStore(original);
  ASSERT_EQ(written.log.size(), static_cast<std::size_t>(kAnswers));
  const std::vector<std::size_t> leaves = AnswerLeaves(original);
  ASSERT_GT(leaves.size(), 10u);
  const std::size_t middle = (leaves[leaves.size() / 2] - 1) * kPage;
  const std::string sound = ReadBytes(original);

  const struct {
    const char* what;
    std::function<void(std::string&)> damage;
    int mostLost;  // the answers a page can hold, or none when no answer was on it
  } cases[] = {
      {"the first page's b-tree header flipped",
       [](std::string& b) {
         for (std::size_t i = 100; i < 116; ++i) b[i] = static_cast<char>(~b[i]);
       },
       0},
      {"64 bytes flipped at the head of a middle page of the answers",
       [&](std::string& b) {
         for (std::size_t i = middle; i < middle + 64; ++i) b[i] = static_cast<char>(~b[i]);
       },
       150},
      {"a middle page of the answers zeroed",
       [&](std::string& b) { b.replace(middle, kPage, kPage, '\0'); }, 150},
      {"the last 1,000 bytes cut off", [](std::string& b) { b.resize(b.size() - 1000); }, 150},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string path = dir.file("study.db");
    std::string bytes = sound;
    c.damage(bytes);
    WriteBytes(path, bytes);

    // As a study program opens it: the whole file checked once the first card shows.
    OpenResult result;
    auto store =
        ProgressStore::Open(path, kMonday, result, StoreAccess::Write, IntegrityCheck::Later);
    ASSERT_TRUE(store) << result.failure.detail;
    if (result.outcome == OpenResult::Outcome::Opened) {
      EXPECT_FALSE(store->checkIntegrity(kMonday, result));
    }
    ASSERT_EQ(result.outcome, OpenResult::Outcome::DamagedKeptAside) << result.failure.detail;
    EXPECT_EQ(result.failure.kind, StoreFailure::Kind::Damaged);
    EXPECT_EQ(ReadBytes(result.keptAs), bytes) << "kept aside as it was";

    StoreFailure failure;
    const std::vector<LogLine> log = store->log(failure);
    EXPECT_EQ(result.recovered.answersSaved, static_cast<int>(log.size()));
    EXPECT_EQ(result.recovered.answersSaved + result.recovered.answersLost, kAnswers);
    EXPECT_LE(result.recovered.answersLost, c.mostLost);

    // A card that kept all its answers is where it was; one that lost some is where its
    // answers left take it.
    const auto before = ByCard(written.log);
    const auto after = ByCard(log);
    const auto states = States(*store);
    int whole = 0;
    for (const auto& [id, state] : states) {
      const auto kept = after.find(std::to_string(id));
      if (kept == after.end()) continue;
      if (kept->second == before.at(std::to_string(id))) {
        ++whole;
        EXPECT_EQ(state, written.states.at(id)) << "card " << id;
      }
    }
    EXPECT_GE(whole, kCards - 3);
    // The answers saved keep the numbers they are known by elsewhere, and the device its id.
    EXPECT_EQ(store->deviceId(), written.device);
    const auto saved = store->unsent(kAnswers, failure).answers;
    EXPECT_EQ(saved.size(), log.size());
    for (const auto& answer : saved) EXPECT_EQ(written.seqs.count(answer.id.seq), 1u);
    // The fresh store is sound and takes answers, numbered after every one of them.
    EXPECT_TRUE(store->checkIntegrity(kMonday, result));
    EXPECT_TRUE(store->commit(
        {states.begin()->first, kMonday + kAnswers * 60'000, Grade::Good, "复习回忆", 1}, failure))
        << failure.detail;
    const auto next = store->unsent(kAnswers + 1, failure).answers;
    ASSERT_FALSE(next.empty());
    EXPECT_GT(next.back().id.seq, *written.seqs.rbegin());
  }
}

// Answers a program killed mid-sitting left in the -wal are read with the rest.
TEST(StoreRecovery, AnswersStillInTheJournalAreSavedToo) {
  TempDir made;
  const std::string original = made.file("study.db");
  const Written written = WriteStore(original);
  OpenResult result;
  auto writer = ProgressStore::Open(original, kMonday, result);
  StoreFailure failure;
  const std::int64_t card = States(*writer).begin()->first;
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(
        writer->commit({card, kMonday + (kAnswers + i) * 60'000, Grade::Good, "x", 1}, failure));
  }
  ASSERT_GT(fs::file_size(original + "-wal"), 0u);
  TempDir dir;
  const std::string path = dir.file("study.db");
  std::string bytes = ReadBytes(original);
  const std::vector<std::size_t> leaves = AnswerLeaves(original);
  const std::size_t middle = (leaves[leaves.size() / 2] - 1) * kPage;
  bytes.replace(middle, kPage, kPage, '\0');
  WriteBytes(path, bytes);
  WriteBytes(path + "-wal", ReadBytes(original + "-wal"));

  // Read as it lies, before any SQLite connection moves the journal into the file.
  const Database fresh = FreshStore();
  Recovered recovered;
  ASSERT_TRUE(RecoverInto(fresh, path, recovered, failure)) << failure.detail;
  EXPECT_EQ(recovered.answersSaved + recovered.answersLost, kAnswers + 5);
  Statement last(fresh, "SELECT max(time) FROM answers");
  ASSERT_EQ(last.step(), SQLITE_ROW);
  EXPECT_EQ(last.integer(0), kMonday + (kAnswers + 4) * 60'000) << "the journal's last answer";
}

// Whatever the bytes, reading them stays inside them (the sanitizers watch), and what is
// read goes into a fresh store without breaking its rules: every cut of a small store, and
// bytes flipped anywhere.
TEST(StoreRecovery, EveryCutAndFlipOfAStoreIsReadSafely) {
  TempDir dir;
  const std::string path = dir.file("study.db");
  {
    OpenResult result;
    auto store = ProgressStore::Open(path, kMonday, result);
    StoreFailure failure;
    const auto cards = store->lessonCards("Unit 1", Entries(), kMonday, failure);
    for (int i = 0; i < 300; ++i) {
      ASSERT_TRUE(
          store->commit({cards[i % 7].id, kMonday + i, Grade::Good, "复习回忆", 1}, failure));
    }
  }
  const std::string sound = ReadBytes(path);
  const std::string damaged = dir.file("damaged.db");
  const auto recover = [&](const std::string& bytes) {
    WriteBytes(damaged, bytes);
    const Database fresh = FreshStore();
    Recovered recovered;
    StoreFailure failure;
    EXPECT_TRUE(RecoverInto(fresh, damaged, recovered, failure)) << failure.detail;
    return recovered;
  };
  EXPECT_EQ(recover(sound).answersSaved, 300);
  for (std::size_t cut = 0; cut < sound.size(); cut += 61) {
    const Recovered recovered = recover(sound.substr(0, cut));
    EXPECT_LE(recovered.answersSaved + recovered.answersLost, 300) << cut;
  }
  std::uint32_t seed = 1;
  for (int round = 0; round < 200; ++round) {
    std::string bytes = sound;
    for (int flip = 0; flip < 16; ++flip) {
      seed = seed * 1664525u + 1013904223u;
      bytes[seed % bytes.size()] = static_cast<char>(seed >> 24);
    }
    recover(bytes);
  }
}

}  // namespace
}  // namespace study

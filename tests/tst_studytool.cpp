// SPDX-License-Identifier: MIT
// studytool's commands, as the people who check a learner's progress use them.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>

#include "commands.h"
#include "progress_store.h"
#include "test_support.h"

namespace {

TEST(Studytool, ReplayRefusesABadLineByNumber) {
  std::istringstream in("a\t2026-01-05T08:00:00Z\t3\nb\t2026-01-05T08:00:00Z\t9\n");
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(studytool::Replay(in, out, err), 1);
  EXPECT_EQ(out.str().find('\n'), out.str().size() - 1) << "the first line was replayed";
  EXPECT_NE(err.str().find("line 2"), std::string::npos) << err.str();
  EXPECT_NE(err.str().find("grade"), std::string::npos) << err.str();
}

TEST(Studytool, TheStoresLogReplaysToTheStoresStates) {
  testsupport::TempDir dir;
  const std::string path = dir.file("study.db");
  const study::Millis monday = *study::ParseIso("2026-01-05T08:00:00Z");
  std::vector<study::Card> cards;
  {
    study::OpenResult result;
    auto store = study::ProgressStore::Open(path, monday, result);
    ASSERT_TRUE(store);
    study::StoreFailure failure;
    cards = store->lessonCards("Unit 1", {{"a", "甲"}, {"b", "乙"}}, failure);
    for (int i = 0; i < 6; ++i) {
      store->commit({cards[i % 2].id, monday + i * study::kMillisPerDay / 2,
                     static_cast<study::Grade>(1 + i % 4), "复习回忆", 1},
                    failure);
    }
    cards = store->lessonCards("Unit 1", {{"a", "甲"}, {"b", "乙"}}, failure);
  }
  std::ostringstream log;
  std::ostringstream err;
  ASSERT_EQ(studytool::Log(path, log, err), 0) << err.str();
  std::istringstream in(log.str());
  std::ostringstream replayed;
  ASSERT_EQ(studytool::Replay(in, replayed, err), 0) << err.str();
  // The last line of each card carries its state: the same as the store's.
  std::istringstream lines(replayed.str());
  std::string line;
  std::map<std::string, std::string> last;
  while (std::getline(lines, line)) last[line.substr(0, line.find('\t'))] = line;
  for (const auto& card : cards) {
    char stability[32];
    std::snprintf(stability, sizeof stability, "\t%.6f\t", card.state.memory.stability);
    EXPECT_NE(last[std::to_string(card.id)].find(stability), std::string::npos);
  }

  std::ostringstream stats;
  ASSERT_EQ(studytool::Stats(path, monday + 3 * study::kMillisPerDay, stats, err), 0);
  EXPECT_NE(stats.str().find("answers\t2026-01-06\t2\n"), std::string::npos) << stats.str();
  EXPECT_NE(stats.str().find("cards\tunlearned\t0\n"), std::string::npos);
}

TEST(Studytool, TheDayStartIsShownAndKeptAndStatsUseLocalDates) {
  testsupport::ScopedZone zone("Asia/Shanghai");
  testsupport::TempDir dir;
  const std::string path = dir.file("study.db");
  {
    study::OpenResult result;
    auto store = study::ProgressStore::Open(path, 0, result);
    ASSERT_TRUE(store);
    study::StoreFailure failure;
    const auto cards = store->lessonCards("Unit 1", {{"a", "甲"}}, failure);
    // 07:30 on the 7th in Shanghai.
    store->commit(
        {cards[0].id, *study::ParseIso("2026-12-06T23:30:00Z"), study::Grade::Good, "课文初记", 1},
        failure);
  }
  std::ostringstream out;
  std::ostringstream err;
  ASSERT_EQ(studytool::DayStart(path, std::nullopt, out, err), 0) << err.str();
  EXPECT_EQ(out.str(), "04:00\n");
  const study::Millis eightFive = *study::ParseIso("2026-12-07T00:05:00Z");
  std::ostringstream stats;
  ASSERT_EQ(studytool::Stats(path, eightFive, stats, err), 0) << err.str();
  EXPECT_NE(stats.str().find("answers\t2026-12-07\t1\n"), std::string::npos) << stats.str();

  out.str("");
  ASSERT_EQ(studytool::DayStart(path, 8 * 60 + 30, out, err), 0) << err.str();
  EXPECT_EQ(out.str(), "08:30\n");
  stats.str("");
  ASSERT_EQ(studytool::Stats(path, eightFive, stats, err), 0) << err.str();
  EXPECT_NE(stats.str().find("answers\t2026-12-06\t1\n"), std::string::npos)
      << "before 08:30 it is still the 6th: " << stats.str();
}

// What `command` prints, run through the shell.
std::string Output(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    out.append(buffer, got);
  pclose(pipe);
  return out;
}

TEST(Studytool, StatsCountTheMorningByTheLearnersClock) {
  testsupport::TempDir dir;
  const std::string path = dir.file("study.db");
  {
    testsupport::ScopedZone zone("Asia/Shanghai");
    study::OpenResult result;
    auto store = study::ProgressStore::Open(path, 0, result);
    ASSERT_TRUE(store);
    study::StoreFailure failure;
    const auto cards = store->lessonCards("Unit 1", {{"a", "甲"}}, failure);
    // Learned at 07:30 in Shanghai, answered 1.
    store->commit(
        {cards[0].id, *study::ParseIso("2026-12-06T23:30:00Z"), study::Grade::Again, "课文初记", 1},
        failure);
  }
  // 08:05 the same morning, by the clock faketime sets.
  const std::string stats =
      Output("TZ=Asia/Shanghai faketime '2026-12-07 08:05:00' " STUDYTOOL " stats '" + path + "'");
  EXPECT_NE(stats.find("answers\t2026-12-07\t1\n"), std::string::npos) << stats;
  EXPECT_NE(stats.find("due\t2026-12-07\t0\ndue\t2026-12-08\t1\n"), std::string::npos) << stats;
}

TEST(Studytool, NoStoreIsSaidAndNotMade) {
  testsupport::TempDir dir;
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(studytool::Log(dir.file("study.db"), out, err), 2);
  EXPECT_NE(err.str().find("no store"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.file("study.db")));
}

}  // namespace

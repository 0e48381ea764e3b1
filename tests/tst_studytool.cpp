// SPDX-License-Identifier: MIT
// studytool's commands, as the people who check a learner's progress use them.
#include <gtest/gtest.h>

#include <chrono>
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

std::string Replayed(const std::string& log) {
  std::istringstream in(log);
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(studytool::Replay(in, out, err), 0) << err.str();
  return out.str();
}

TEST(Studytool, ReplayTakesCrlfAndAByteOrderMarkAsThePlainLog) {
  std::string plain;
  std::string windows = "\xEF\xBB\xBF";
  for (const char* line :
       {"a\t2026-01-05T08:00:00Z\t3", "b\t2026-01-06T08:00:00Z\t3", "a\t2026-01-09T08:00:00Z\t3"}) {
    plain.append(line).append("\n");
    windows.append(line).append("\r\n");
  }
  const std::string expected = Replayed(plain);
  EXPECT_EQ(Replayed(windows), expected);
  EXPECT_NE(expected.find("\t16\t2026-01-25"), std::string::npos)
      << "a answered again: " << expected;
}

TEST(Studytool, ReplayRefusesControlCharactersAndQuotesLittleOfALongField) {
  const std::string time = "2026-01-05T08:00:00Z";
  const std::pair<std::string, std::string> cases[] = {
      {"a\t" + time + "\t3\nb" + std::string(1, '\0') + "c\t" + time + "\t3\n",
       "line 2: control character 0x00 at byte 2"},
      {std::string("a\t").append(100000, '9').append("\t3\n"),
       "line 1: the line is longer than 65536 bytes"},
      {std::string("a\t").append(60000, '9').append("\t3\n"),
       std::string("line 1: the time \"").append(60, '9').append("...\" is not")},
      {std::string("a\t" + time + "\t").append(60000, '3').append("\n"),
       std::string("line 1: the grade \"").append(60, '3').append("...\" is not")},
  };
  for (const auto& [log, message] : cases) {
    std::istringstream in(log);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(studytool::Replay(in, out, err), 1);
    EXPECT_NE(err.str().find(message), std::string::npos) << err.str().substr(0, 200);
    EXPECT_LT(err.str().size(), 200u);
  }
}

TEST(Studytool, ReplayOfWhatIsNotARegularFileFailsAtOnceNamingIt) {
  testsupport::TempDir dir;
  const testsupport::IdlePipe pipe(dir.file("pipe"));
  const std::pair<std::string, std::string> cases[] = {
      {dir.path().string(), "folder"}, {pipe.path(), "named pipe"}, {dir.file("none"), "No such"}};
  for (const auto& [path, reason] : cases) {
    std::ostringstream out;
    std::ostringstream err;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(studytool::ReplayFile(path, out, err), 2) << path;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << path;
    EXPECT_NE(err.str().find("cannot read " + path + ": "), std::string::npos) << err.str();
    EXPECT_NE(err.str().find(reason), std::string::npos) << err.str();
  }
  testsupport::WriteBytes(dir.file("log.tsv"), "a\t2026-01-05T08:00:00Z\t3\nb\tnever\t3\n");
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(studytool::ReplayFile(dir.file("log.tsv"), out, err), 1);
  EXPECT_NE(err.str().find(dir.file("log.tsv") + ": line 2: the time"), std::string::npos)
      << err.str();
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

TEST(Studytool, NoStoreIsSaidAndNotMade) {
  testsupport::TempDir dir;
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(studytool::Log(dir.file("study.db"), out, err), 2);
  EXPECT_NE(err.str().find("no store"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.file("study.db")));
}

}  // namespace

// SPDX-License-Identifier: MIT
// studytool's commands, as the people who check a learner's progress use them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>

#include "answer_log.h"
#include "commands.h"
#include "progress_store.h"
#include "sqlite_handle.h"
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
    cards = store->lessonCards("Unit 1", {{"a", "甲"}, {"b", "乙"}}, monday, failure);
    for (int i = 0; i < 6; ++i) {
      store->commit({cards[i % 2].id, monday + i * study::kMillisPerDay / 2,
                     static_cast<study::Grade>(1 + i % 4), "复习回忆", 1},
                    failure);
    }
    cards = store->lessonCards("Unit 1", {{"a", "甲"}, {"b", "乙"}}, monday, failure);
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

// A store at `path` of one card with one answer.
void StoreOneAnswer(const std::string& path, const char* time, study::Grade grade) {
  study::OpenResult result;
  auto store = study::ProgressStore::Open(path, 0, result);
  ASSERT_TRUE(store);
  study::StoreFailure failure;
  const auto cards = store->lessonCards("Unit 1", {{"a", "甲"}}, 0, failure);
  ASSERT_TRUE(store->commit({cards[0].id, *study::ParseIso(time), grade, "课文初记", 1}, failure));
}

TEST(Studytool, TheDayStartIsShownAndKeptAndStatsUseLocalDates) {
  testsupport::ScopedZone zone("Asia/Shanghai");
  testsupport::TempDir dir;
  const std::string path = dir.file("study.db");
  // 07:30 on the 7th in Shanghai.
  StoreOneAnswer(path, "2026-12-06T23:30:00Z", study::Grade::Good);
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
    // Learned at 07:30 in Shanghai, answered 1.
    testsupport::ScopedZone zone("Asia/Shanghai");
    StoreOneAnswer(path, "2026-12-06T23:30:00Z", study::Grade::Again);
  }
  // 08:05 the same morning, by the clock faketime sets. Its library is preloaded ahead of a
  // sanitizer's runtime, which that runtime accepts only when told to.
  const std::string stats = Output(
      "ASAN_OPTIONS=\"verify_asan_link_order=0:$ASAN_OPTIONS\" TZ=Asia/Shanghai "
      "faketime '2026-12-07 08:05:00' " STUDYTOOL " stats '" +
      path + "'");
  EXPECT_NE(stats.find("answers\t2026-12-07\t1\n"), std::string::npos) << stats;
  EXPECT_NE(stats.find("due\t2026-12-07\t0\ndue\t2026-12-08\t1\n"), std::string::npos) << stats;
}

// The names and bytes of every file in a folder.
std::map<std::string, std::string> FolderBytes(const testsupport::TempDir& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    files[entry.path().filename().string()] = testsupport::ReadBytes(entry.path().string());
  }
  return files;
}

TEST(Studytool, AFileThatIsNotAStoreIsRefusedAndLeftAsItIs) {
  const struct {
    const char* what;
    std::string bytes;  // empty: made by sqlite3 as another program's database
  } cases[] = {
      {"an empty file", ""},
      {"another program's database", "other"},
      {"not a database at all", std::string(8192, '\x5a')},
  };
  for (const auto& c : cases) {
    testsupport::TempDir dir;
    const std::string path = dir.file("study.db");
    if (c.bytes == "other") {
      sqlite3* raw = nullptr;
      ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
      study::Database db(raw);
      ASSERT_EQ(db.exec("CREATE TABLE notes(text); INSERT INTO notes VALUES('mine')"), SQLITE_OK);
    } else {
      testsupport::WriteBytes(path, c.bytes);
    }
    const auto before = FolderBytes(dir);
    for (const auto& run : {studytool::Log, studytool::Results}) {
      std::ostringstream out;
      std::ostringstream err;
      EXPECT_EQ(run(path, out, err), 2) << c.what;
      EXPECT_NE(err.str().find("is not a store of the study programs"), std::string::npos)
          << c.what << ": " << err.str();
    }
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(studytool::Stats(path, 0, out, err), 2) << c.what;
    // Asking for the day start is reading too; keeping one or recovering is writing, which
    // refuses what is not a store rather than moving it aside (an empty file becomes one).
    EXPECT_EQ(studytool::DayStart(path, std::nullopt, out, err), 2) << c.what;
    if (!c.bytes.empty()) {
      EXPECT_EQ(studytool::DayStart(path, 5 * 60, out, err), 2) << c.what;
      EXPECT_EQ(studytool::Recover(path, 0, out, err), 2) << c.what;
    }
    EXPECT_TRUE(FolderBytes(dir) == before) << c.what << ": changed, moved or added a file";
  }
}

// A store written through the study programs' own code: `count` answers on one card.
void StoreAnswers(const std::string& path, int count) {
  study::OpenResult result;
  auto store = study::ProgressStore::Open(path, 0, result);
  ASSERT_TRUE(store);
  study::StoreFailure failure;
  const auto cards = store->lessonCards("Unit 1", {{"a", "甲"}}, 0, failure);
  for (int i = 0; i < count; ++i) {
    ASSERT_TRUE(
        store->commit({cards[0].id, 1000 + i * 1000, study::Grade::Good, "复习回忆", 1}, failure));
  }
}

TEST(Studytool, RecoverSavesWhatCanBeReadOfADamagedStoreAndLeavesASoundOneAlone) {
  testsupport::TempDir dir;
  const std::string path = dir.file("study.db");
  StoreAnswers(path, 500);
  const std::string sound = testsupport::ReadBytes(path);
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(studytool::Recover(path, 0, out, err), 0) << err.str();
  EXPECT_NE(out.str().find("is sound: nothing to recover"), std::string::npos) << out.str();
  EXPECT_TRUE(testsupport::ReadBytes(path) == sound);

  // The schema's page damaged: the store cannot be read as it is, only recovered.
  std::string damaged = sound;
  for (std::size_t i = 100; i < 116; ++i) damaged[i] = static_cast<char>(~damaged[i]);
  testsupport::WriteBytes(path, damaged);
  out.str("");
  err.str("");
  EXPECT_EQ(studytool::Log(path, out, err), 2);
  EXPECT_NE(err.str().find("studytool recover"), std::string::npos) << err.str();
  EXPECT_TRUE(testsupport::ReadBytes(path) == damaged) << "reading moved nothing";
  out.str("");
  EXPECT_EQ(studytool::Recover(path, 0, out, err), 0) << err.str();
  EXPECT_NE(out.str().find("500 answers saved, 0 lost; the damaged store is kept as " + path +
                           ".damaged-19700101-000000"),
            std::string::npos)
      << out.str();
  out.str("");
  EXPECT_EQ(studytool::Log(path, out, err), 0) << err.str();
  const std::string log = out.str();
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 500);
}

// How studytool ends and everything it says, run through the shell.
std::pair<int, std::string> RunStudytool(const std::string& arguments,
                                         const std::string& environment = "") {
  std::string said;
  FILE* pipe = popen((environment + " " STUDYTOOL " " + arguments + " 2>&1").c_str(), "r");
  if (!pipe) return {-1, said};
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    said.append(buffer, got);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, said};
}

TEST(Studytool, AUsageErrorNamesTheBadValue) {
  testsupport::TempDir dir;
  const std::string store = dir.file("study.db");
  StoreAnswers(store, 1);
  // Refused before any network: a bad join code, a store that follows no class server.
  const struct {
    std::string arguments;
    std::string said;
    bool usage = true;
  } cases[] = {
      {"sync " + store, "no link to a class server at " + dir.file("study.hub"), false},
      {"join not-a-code " + store, "not a join code", false},
      {"join 127.0.0.1:8443/short/secret " + store, "not a join code", false},
      {"replay --day-start", "--day-start needs a time HH:MM"},
      {"replay --day-start 25:00 log.txt", "bad time '25:00'"},
      {"replay a.log b.log", "unexpected argument 'b.log'"},
      {"day-start 4:99 " + store, "bad time '4:99'"},
      {"day-start 05:00 " + store + " extra", "unexpected argument 'extra'"},
      {"stats " + store + " extra", "unexpected argument 'extra'"},
      {"frobnicate", "unknown command 'frobnicate'"},
      {"join", "a join code is needed"},
      {"join 127.0.0.1:1/p/s " + store + " extra", "unexpected argument 'extra'"},
      {"sync " + store + " extra", "unexpected argument 'extra'"},
  };
  for (const auto& c : cases) {
    const auto [status, said] = RunStudytool(c.arguments);
    EXPECT_EQ(status, 2) << c.arguments;
    EXPECT_NE(said.find(c.said), std::string::npos) << c.arguments << ": " << said;
    EXPECT_EQ(said.find("usage: studytool") != std::string::npos, c.usage)
        << c.arguments << ": " << said;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("study.hub")));
}

TEST(Studytool, AZoneTheSystemDoesNotKnowIsSaidOnce) {
  testsupport::TempDir dir;
  const std::string store = dir.file("study.db");
  StoreAnswers(store, 1);
  const std::string warning = "TZ names no zone this system knows ('Asia/Shanghia')";
  const auto [status, said] = RunStudytool("stats " + store, "TZ=Asia/Shanghia");
  EXPECT_EQ(status, 0) << said;
  const auto first = said.find(warning);
  EXPECT_NE(first, std::string::npos) << said;
  EXPECT_EQ(said.find(warning, first + 1), std::string::npos) << "once: " << said;
  EXPECT_EQ(RunStudytool("stats " + store, "TZ=Asia/Shanghai").second.find("TZ names"),
            std::string::npos);
}

TEST(Studytool, ReadingAStoreChangesNoFileNorBringsAnOlderOneUpToDate) {
  testsupport::TempDir dir;
  const std::string path = dir.file("study.db");
  {
    study::OpenResult result;
    auto store = study::ProgressStore::Open(path, 0, result);
    ASSERT_TRUE(store);
    study::StoreFailure failure;
    const auto cards = store->lessonCards("Unit 1", {{"a", "甲"}}, 0, failure);
    store->commit({cards[0].id, 1000, study::Grade::Good, "课文初记", 1}, failure);
  }
  {
    // As a version 4 store was.
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
    study::Database db(raw);
    ASSERT_EQ(db.exec("DROP TABLE settings; PRAGMA user_version = 4"), SQLITE_OK);
  }
  const std::string before = testsupport::ReadBytes(path);
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(studytool::Log(path, out, err), 0) << err.str();
  EXPECT_EQ(studytool::Stats(path, 1000, out, err), 0) << err.str();
  EXPECT_EQ(studytool::Results(path, out, err), 0) << err.str();
  EXPECT_NE(out.str().find("\t1970-01-01T00:00:01Z\t3\n"), std::string::npos) << out.str();
  EXPECT_TRUE(testsupport::ReadBytes(path) == before);

  // Older still: not read, and said to be what the study programs will upgrade.
  {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
    study::Database db(raw);
    ASSERT_EQ(db.exec("PRAGMA user_version = 3"), SQLITE_OK);
  }
  const std::string older = testsupport::ReadBytes(path);
  EXPECT_EQ(studytool::Log(path, out, err), 2);
  EXPECT_NE(err.str().find("an older version (3) that the study programs will upgrade"),
            std::string::npos)
      << err.str();
  EXPECT_TRUE(testsupport::ReadBytes(path) == older);
}

TEST(Studytool, TheLogOfTwoProgramsAndAClockThatWentBackReplaysToEveryStoredState) {
  testsupport::ScopedZone zone("Asia/Shanghai");
  testsupport::TempDir dir;
  const std::string path = dir.file("study.db");
  const std::vector<study::EntryText> entries = {{"a", "甲"}, {"b", "乙"}, {"c", "丙"}};
  const study::Millis monday = *study::ParseIso("2026-01-05T08:00:00Z");
  {
    study::OpenResult result;
    auto store = study::ProgressStore::Open(path, monday, result);
    ASSERT_TRUE(store);
    study::StoreFailure failure;
    store->lessonCards("Unit 1", entries, monday, failure);
  }
  // Two programs at once on the same cards; the second's clock is a day behind and goes
  // back two hours halfway.
  ASSERT_TRUE(testsupport::AllInChildren(2, [&](int program) {
    study::OpenResult result;
    auto store = study::ProgressStore::Open(path, monday, result);
    if (!store) return false;
    study::StoreFailure failure;
    const auto cards = store->lessonCards("Unit 1", entries, monday, failure);
    for (int i = 0; i < 120; ++i) {
      study::Millis time = monday + i * 3 * 3'600'000LL;
      if (program == 1) time -= study::kMillisPerDay + (i >= 60 ? 2 * 3'600'000LL : 0);
      const study::Answer answer{cards[(i + program) % 3].id, time,
                                 static_cast<study::Grade>(1 + (i * 3 + program) % 4), "复习回忆",
                                 1};
      if (!store->commit(answer, failure)) return false;
    }
    return true;
  }));

  std::ostringstream log;
  std::ostringstream err;
  ASSERT_EQ(studytool::Log(path, log, err), 0) << err.str();
  std::istringstream in(log.str());
  std::ostringstream replayed;
  ASSERT_EQ(studytool::Replay(in, replayed, err, study::DayRule::Local(4 * 60)), 0) << err.str();
  std::istringstream lines(replayed.str());
  std::string line;
  std::map<std::string, std::string> last;
  int count = 0;
  for (; std::getline(lines, line); ++count) last[line.substr(0, line.find('\t'))] = line;
  EXPECT_EQ(count, 240);
  study::OpenResult result;
  auto store = study::ProgressStore::Open(path, monday, result);
  study::StoreFailure failure;
  for (const study::Card& card : store->lessonCards("Unit 1", entries, monday, failure)) {
    const study::LogLine answer{std::to_string(card.id), card.state.lastAnswer,
                                static_cast<study::Grade>(card.state.lastGrade)};
    EXPECT_EQ(last[answer.card], study::FormatReplayLine(answer, card.state));
  }
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

// SPDX-License-Identifier: MIT
// Learners' devices and the real class server: studytool join and sync against studyhub over
// TLS on a throwaway PostgreSQL cluster, through crashes, a stopped database, clocks that are
// wrong and windows that sync behind themselves.
#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <future>
#include <map>
#include <memory>
#include <random>
#include <thread>

#include "answer_log.h"
#include "child_process.h"
#include "hub_link.h"
#include "hub_server.h"
#include "postgres_cluster.h"
#include "progress_store.h"
#include "review_window.h"
#include "sync_starter.h"
#include "test_support.h"

namespace {

using hubtest::ProgramRun;
using study::Grade;
using study::Millis;

const Millis kStart = *study::ParseIso("2026-11-02T08:00:00Z");
constexpr int kWords = 6;
constexpr Millis kMinute = 60'000;

std::vector<study::EntryText> Entries() {
  std::vector<study::EntryText> entries;
  for (int i = 0; i < kWords; ++i) {
    entries.push_back({"word" + std::to_string(i), "词" + std::to_string(i)});
  }
  return entries;
}

// One learner's device: a folder with its store.
class Device {
 public:
  std::string store() const { return dir_.file("study.db"); }
  const std::filesystem::path& folder() const { return dir_.path(); }

  // Keeps an answer to word `word` given at `time`.
  void answer(int word, Grade grade, Millis time) {
    auto opened = open();
    study::StoreFailure failure;
    const auto cards = opened->lessonCards("L", Entries(), time, failure);
    ASSERT_FALSE(failure.failed()) << failure.detail;
    const auto kept = opened->commit(
        {cards[static_cast<std::size_t>(word)].id, time, grade, "review", 1.5}, failure);
    ASSERT_TRUE(kept) << failure.detail;
  }
  // Every word's card as the store has it.
  std::vector<study::Card> cards() const {
    auto opened = open();
    study::StoreFailure failure;
    auto cards = opened->lessonCards("L", Entries(), kStart, failure);
    EXPECT_FALSE(failure.failed()) << failure.detail;
    return cards;
  }
  std::unique_ptr<study::ProgressStore> open() const {
    study::OpenResult result;
    auto opened = study::ProgressStore::Open(store(), kStart, result);
    EXPECT_TRUE(opened) << result.failure.detail;
    return opened;
  }
  // `studytool ARGS STORE`, after `wrapper` (such as faketime) when given.
  ProgramRun tool(std::vector<std::string> args, std::vector<std::string> wrapper = {}) const {
    args.insert(args.begin(), STUDYTOOL);
    args.insert(args.begin(), wrapper.begin(), wrapper.end());
    args.push_back(store());
    // A preloaded faketime comes before a sanitizer's runtime, which that accepts only when
    // told to.
    const char* sanitizer = std::getenv("ASAN_OPTIONS");
    std::vector<std::string> environment;
    if (!wrapper.empty()) {
      environment.push_back(std::string("ASAN_OPTIONS=verify_asan_link_order=0") +
                            (sanitizer ? std::string(":") + sanitizer : std::string()));
    }
    return hubtest::RunProgram(args, environment, std::chrono::seconds(60));
  }
  ProgramRun sync() const { return tool({"sync"}); }

 private:
  testsupport::TempDir dir_;
};

// The answers every device made, by word, for the replay they must all agree with.
class Union {
 public:
  void add(Device& device, int word, Grade grade, Millis time) {
    device.answer(word, grade, time);
    answers_[word].push_back({time, grade});
  }
  study::CardState replayed(const study::Fsrs& fsrs, int word) const {
    auto answers =
        answers_.count(word) ? answers_.at(word) : std::vector<std::pair<Millis, Grade>>{};
    std::sort(answers.begin(), answers.end());
    return study::ReplayCard(fsrs, answers);
  }
  std::size_t size() const {
    std::size_t all = 0;
    for (const auto& [word, answers] : answers_) all += answers.size();
    return all;
  }

 private:
  std::map<int, std::vector<std::pair<Millis, Grade>>> answers_;
};

// Each device's every card is in the state the union's replay gives, so the same cards are
// due on all of them.
void ExpectStatesOfTheUnion(const std::vector<const Device*>& devices, const Union& all) {
  for (const Device* device : devices) {
    const auto cards = device->cards();
    const auto store = device->open();
    for (int word = 0; word < kWords; ++word) {
      SCOPED_TRACE("word" + std::to_string(word));
      EXPECT_EQ(cards[static_cast<std::size_t>(word)].state,
                all.replayed(store->scheduler(), word));
    }
  }
  const Millis later = kStart + 40LL * 24 * 60 * kMinute;
  study::StoreFailure failure;
  const auto first = devices.front()->open();
  const auto firstSummary = first->dueSummary(later, failure);
  const auto firstNext = first->nextDue(later, {}, failure);
  for (const Device* device : devices) {
    const auto store = device->open();
    const auto summary = store->dueSummary(later, failure);
    EXPECT_EQ(summary.dueToday, firstSummary.dueToday);
    EXPECT_EQ(summary.dueTomorrow, firstSummary.dueTomorrow);
    EXPECT_EQ(summary.nextDue, firstSummary.nextDue);
    const auto next = store->nextDue(later, {}, failure);
    ASSERT_EQ(next.has_value(), firstNext.has_value());
    if (next) {
      EXPECT_EQ(next->line1, firstNext->line1);
    }
  }
}

std::string SentReceived(const ProgramRun& run) {
  return run.output.substr(0, run.output.find('\n'));
}

class SyncEndToEnd : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { cluster_ = std::make_unique<hubtest::PostgresCluster>(); }
  static void TearDownTestSuite() { cluster_.reset(); }

  void SetUp() override {
    database_ = cluster_->newDatabase();
    hub_ = std::make_unique<hubtest::HubServer>(STUDYHUB, database_, hubFolder_.path());
    hub_->start();
    classId_ = hubtest::HubServer::LastLine(run({"class", "add", "英语1班"}));
    code_ = hubtest::HubServer::LastLine(run({"learner", "add", classId_, "2024001", "李华"}));
  }
  void TearDown() override {
    if (clusterStopped_) cluster_->start();
  }

  std::string run(const std::vector<std::string>& args) {
    const ProgramRun done = hub_->run(args);
    EXPECT_EQ(done.exitCode, 0) << done.output;
    return done.output;
  }
  std::string anotherCode() {
    return hubtest::HubServer::LastLine(run({"learner", "code", classId_, "2024001"}));
  }
  void join(const Device& device, const std::string& code) {
    const ProgramRun joined = device.tool({"join", code});
    ASSERT_EQ(joined.exitCode, 0) << joined.output;
    EXPECT_NE(joined.output.find("李华"), std::string::npos) << joined.output;
  }
  // The learner's laptop and a lab computer, both joined.
  void joinBoth() {
    join(laptop_, code_);
    join(lab_, anotherCode());
  }
  void syncs(const Device& device, const std::string& expected = {}) {
    const ProgramRun done = device.sync();
    ASSERT_EQ(done.exitCode, 0) << done.output;
    if (!expected.empty()) {
      EXPECT_EQ(SentReceived(done), expected);
    }
  }
  // How many answers the server keeps for the learner, and how many distinct ones.
  std::pair<long, long> serverAnswers() const {
    const std::unique_ptr<PGconn, decltype(&PQfinish)> db(PQconnectdb(database_.c_str()),
                                                          &PQfinish);
    const std::unique_ptr<PGresult, decltype(&PQclear)> counted(
        PQexecParams(db.get(), "SELECT count(*), count(DISTINCT (device, seq)) FROM answers", 0,
                     nullptr, nullptr, nullptr, nullptr, 0),
        &PQclear);
    if (PQresultStatus(counted.get()) != PGRES_TUPLES_OK) {
      ADD_FAILURE() << PQerrorMessage(db.get());
      return {-1, -1};
    }
    return {std::stol(PQgetvalue(counted.get(), 0, 0)), std::stol(PQgetvalue(counted.get(), 0, 1))};
  }

  static std::unique_ptr<hubtest::PostgresCluster> cluster_;
  testsupport::TempDir hubFolder_;
  std::string database_;
  std::unique_ptr<hubtest::HubServer> hub_;
  std::string classId_;
  std::string code_;
  bool clusterStopped_ = false;
  Device laptop_;
  Device lab_;
  Union all_;
};

std::unique_ptr<hubtest::PostgresCluster> SyncEndToEnd::cluster_;

TEST_F(SyncEndToEnd, AWipedComputerJoiningWithASecondCodeGetsTheWholeProgressBack) {
  Device laptop;
  Union all;
  for (int i = 0; i < 12; ++i) {
    all.add(laptop, i % kWords, i % 3 == 0 ? Grade::Hard : Grade::Good, kStart + i * 700 * kMinute);
  }
  join(laptop, code_);
  syncs(laptop, "sent 12, received 0, withdrawn 0");
  syncs(laptop, "sent 0, received 0, withdrawn 0");

  Device lab;  // nothing there: no store yet
  join(lab, anotherCode());
  syncs(lab, "sent 0, received 12, withdrawn 0");
  ExpectStatesOfTheUnion({&laptop, &lab}, all);
  // A join code serves once.
  Device third;
  EXPECT_EQ(third.tool({"join", code_}).exitCode, 1);
}

TEST_F(SyncEndToEnd, AStoreFollowsOneLearnerOnly) {
  Device laptop;
  join(laptop, code_);
  const std::string linkPath = studysync::HubLinkPathFor(laptop.store());
  std::string why;
  const auto link = studysync::ReadHubLink(linkPath, why);
  ASSERT_TRUE(link) << why;
  const std::string classmate =
      hubtest::HubServer::LastLine(run({"learner", "add", classId_, "2024002", "王芳"}));
  const ProgramRun refused = laptop.tool({"join", classmate});
  EXPECT_EQ(refused.exitCode, 2) << refused.output;
  EXPECT_NE(refused.output.find("李华"), std::string::npos) << refused.output;
  EXPECT_EQ(studysync::ReadHubLink(linkPath, why), link);
  // The same learner again, say after the teacher withdrew a lost token, is taken.
  join(laptop, anotherCode());
}

TEST_F(SyncEndToEnd, TwoDevicesAnsweringOneCardOfflineKeepBothAnswers) {
  joinBoth();
  all_.add(laptop_, 0, Grade::Good, kStart);
  all_.add(lab_, 0, Grade::Again, kStart + 5 * kMinute);
  all_.add(laptop_, 0, Grade::Easy, kStart + 3 * 24 * 60 * kMinute);
  all_.add(lab_, 1, Grade::Hard, kStart + kMinute);
  syncs(laptop_, "sent 2, received 0, withdrawn 0");
  syncs(lab_, "sent 2, received 2, withdrawn 0");
  syncs(laptop_, "sent 0, received 2, withdrawn 0");
  ExpectStatesOfTheUnion({&laptop_, &lab_}, all_);
}

TEST_F(SyncEndToEnd, AnAnswerTakenBackOnOneDeviceIsTakenBackOnTheOther) {
  joinBoth();
  all_.add(laptop_, 2, Grade::Good, kStart);
  syncs(laptop_, "sent 1, received 0, withdrawn 0");
  syncs(lab_, "sent 0, received 1, withdrawn 0");
  {
    auto store = laptop_.open();
    study::StoreFailure failure;
    auto cards = store->lessonCards("L", Entries(), kStart, failure);
    const auto again =
        store->commit({cards[2].id, kStart + kMinute, Grade::Again, "review", 1}, failure);
    ASSERT_TRUE(again) << failure.detail;
    syncs(laptop_, "sent 1, received 0, withdrawn 0");
    syncs(lab_, "sent 0, received 1, withdrawn 0");
    ASSERT_TRUE(store->undo(again->answerId, failure)) << failure.detail;
  }
  syncs(laptop_, "sent 0, received 0, withdrawn 1");
  syncs(lab_, "sent 0, received 0, withdrawn 1");
  ExpectStatesOfTheUnion({&laptop_, &lab_}, all_);
}

TEST_F(SyncEndToEnd, ADeviceWhoseClockIsAnHourOffSyncsAndAgrees) {
  joinBoth();
  all_.add(laptop_, 3, Grade::Good, kStart);
  // The lab_'s clock runs an hour ahead: its answer is kept with the time it read.
  all_.add(lab_, 3, Grade::Hard, kStart + 60 * kMinute + 10 * kMinute);
  all_.add(lab_, 4, Grade::Good, kStart + 60 * kMinute);
  for (const char* offset : {"+1h", "-1h"}) {
    const ProgramRun done = lab_.tool({"sync"}, {"/usr/bin/faketime", "-f", offset});
    EXPECT_EQ(done.exitCode, 0) << offset << ": " << done.output;
  }
  syncs(laptop_, "sent 1, received 2, withdrawn 0");
  syncs(lab_, "sent 0, received 1, withdrawn 0");
  ExpectStatesOfTheUnion({&laptop_, &lab_}, all_);
}

TEST_F(SyncEndToEnd, TheServerKilledAtRandomMomentsLosesNothingAndKeepsEachAnswerOnce) {
  joinBoth();
  std::mt19937 random(20261208);
  // The crash falls anywhere from the start of studytool to the end a sync took when none
  // came, so most land inside one: in a request, a commit or a reply.
  auto lasts = std::chrono::milliseconds(100);
  int interrupted = 0;
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    Device& device = round % 2 == 0 ? laptop_ : lab_;
    for (int i = 0; i < 30; ++i) {
      all_.add(device, (round + i) % kWords, Grade::Good,
               kStart + (round * 100 + i) * kMinute + (round % 2));
    }
    const auto started = std::chrono::steady_clock::now();
    auto syncing = std::async(std::launch::async, [&device] { return device.sync(); });
    std::uniform_int_distribution<long> moment(0, lasts.count());
    std::this_thread::sleep_for(std::chrono::milliseconds(moment(random)));
    hub_->kill();
    const ProgramRun done = syncing.get();
    EXPECT_TRUE(done.exitCode == 0 || done.exitCode == 3) << done.output;
    if (done.exitCode == 0) {
      lasts = std::chrono::duration_cast<std::chrono::milliseconds>(
          std::chrono::steady_clock::now() - started);
    } else {
      ++interrupted;
    }
    hub_->start();
  }
  EXPECT_GT(interrupted, 0);
  for (const Device* device : {&laptop_, &lab_, &laptop_}) syncs(*device);
  const auto [kept, distinct] = serverAnswers();
  EXPECT_EQ(kept, static_cast<long>(all_.size()));
  EXPECT_EQ(distinct, kept);
  ExpectStatesOfTheUnion({&laptop_, &lab_}, all_);
}

TEST_F(SyncEndToEnd, ADatabaseThatIsDownIsSaidAndTheNextSyncSucceeds) {
  joinBoth();
  all_.add(laptop_, 5, Grade::Good, kStart);
  all_.add(lab_, 5, Grade::Again, kStart + kMinute);
  cluster_->stop();
  clusterStopped_ = true;
  for (const Device* device : {&laptop_, &lab_}) {
    const ProgramRun down = device->sync();
    EXPECT_EQ(down.exitCode, 3) << down.output;
    EXPECT_NE(down.output.find("503"), std::string::npos) << down.output;
  }
  cluster_->start();
  clusterStopped_ = false;
  syncs(laptop_, "sent 1, received 0, withdrawn 0");
  syncs(lab_, "sent 1, received 1, withdrawn 0");
  syncs(laptop_, "sent 0, received 1, withdrawn 0");
  ExpectStatesOfTheUnion({&laptop_, &lab_}, all_);
}

TEST_F(SyncEndToEnd, AServerThatCannotBeReachedOrIsNotTheOnePinnedIsRefused) {
  Device laptop;
  join(laptop, code_);
  std::string why;
  const std::string linkPath = studysync::HubLinkPathFor(laptop.store());
  const auto link = studysync::ReadHubLink(linkPath, why);
  ASSERT_TRUE(link) << why;

  studysync::HubLink nobody = *link;
  nobody.address = "127.0.0.1:" + std::to_string(hubtest::FreePort());
  ASSERT_TRUE(studysync::WriteHubLink(linkPath, nobody).ok());
  ProgramRun done = laptop.sync();
  EXPECT_EQ(done.exitCode, 3) << done.output;
  EXPECT_NE(done.output.find("cannot reach"), std::string::npos) << done.output;

  studysync::HubLink impostor = *link;
  impostor.pin = std::string(43, 'A') + "=";
  ASSERT_TRUE(studysync::WriteHubLink(linkPath, impostor).ok());
  done = laptop.sync();
  EXPECT_EQ(done.exitCode, 3) << done.output;
  EXPECT_NE(done.output.find("pinned"), std::string::npos) << done.output;

  studysync::HubLink stranger = *link;
  stranger.token = "not-a-token-the-server-gave";
  ASSERT_TRUE(studysync::WriteHubLink(linkPath, stranger).ok());
  done = laptop.sync();
  EXPECT_EQ(done.exitCode, 1) << done.output;
  EXPECT_NE(done.output.find("401"), std::string::npos) << done.output;
}

// Waits (bounded) until `device` has taken in `answers` answers from the server.
bool ReceivesInTime(const Device& device, std::int64_t answers) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  std::int64_t received = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    const ProgramRun done = device.sync();
    const auto at = done.output.find("received ");
    if (done.exitCode == 0 && at != std::string::npos) {
      received += std::stoll(done.output.substr(at + 9));
    }
    if (received >= answers) return received == answers;
    QTest::qWait(100);  // the windows' timers run meanwhile
  }
  return false;
}

TEST_F(SyncEndToEnd, AStudyWindowSendsWhatWasLearnedWhenItOpensAndWhenItCloses) {
  Device desk;
  Device other;
  join(desk, code_);
  join(other, anotherCode());
  Union all;
  all.add(desk, 0, Grade::Good, kStart);
  // The windows start the real studytool, detached, as the program does.
  const studydesk::SyncStarter saved = studydesk::WindowSyncStarter();
  studydesk::WindowSyncStarter().studytool = STUDYTOOL;
  {
    studydesk::ReviewWindow window(
        suite::FilePlaces(desk.folder().string(), desk.folder().string() + "/user", true),
        [] { return kStart; }, nullptr);
    window.show();
    window.start();
    EXPECT_TRUE(ReceivesInTime(other, 1));
    all.add(desk, 1, Grade::Easy, kStart + kMinute);
    window.close();
    EXPECT_TRUE(ReceivesInTime(other, 1));
  }
  studydesk::WindowSyncStarter() = saved;
  ExpectStatesOfTheUnion({&desk, &other}, all);
}

}  // namespace

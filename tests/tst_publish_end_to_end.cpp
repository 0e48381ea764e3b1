// SPDX-License-Identifier: MIT
// Books handed out to a class reaching learners' devices: `studyhub publish` on the real
// server over TLS and PostgreSQL, `studytool sync` on each device, and the chooser's core
// reading what the sync wrote, with the learner's progress kept across a new version.
#include <gtest/gtest.h>

#include <memory>

#include "child_process.h"
#include "chooser_session.h"
#include "fixed_names.h"
#include "handoff_lesson.h"
#include "hub_server.h"
#include "lesson_cards.h"
#include "phonetics_table.h"
#include "postgres_cluster.h"
#include "progress_store.h"
#include "test_support.h"
#include "utc_time.h"
#include "utf8.h"

namespace {

using hubtest::ProgramRun;

const study::Millis kStart = *study::ParseIso("2026-11-02T08:00:00Z");

std::string Book(const std::string& second) {
  return testsupport::ShownCourseFileBytes({{"Unit 1", "abandon", "放弃"},
                                            {"Unit 1", second, "乙"},
                                            {"Unit 1", "cease", "停止"},
                                            {"Unit 2", "dwell", "居住"}});
}

// The second line `studytool sync` prints: how many books came.
std::string BooksLine(const ProgramRun& run) {
  const auto start = run.output.find('\n') + 1;
  return run.output.substr(start, run.output.find('\n', start) - start);
}

// A learner's computer: the study programs' folder, writable, with the store in it.
class Device {
 public:
  std::string store() const { return dir_.file("study.db"); }
  suite::FilePlaces places() const { return {dir_.path().string(), user_.file("lumadesk"), true}; }

  ProgramRun tool(const std::string& command, const std::string& code = {}) const {
    std::vector<std::string> args{STUDYTOOL, command};
    if (!code.empty()) args.push_back(code);
    args.push_back(store());
    return hubtest::RunProgram(args, {}, std::chrono::seconds(60));
  }
  // Syncs, expecting success; how many books it says came.
  std::string sync() const {
    const ProgramRun run = tool("sync");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    return BooksLine(run);
  }

  // The lessons the chooser lists for `book` (1-4).
  std::vector<std::u16string> lessons(int book, chooser::ChooserSession& session) const {
    session.setPlaces(places());
    session.chooseBook(*course::FromUtf8(course::kBooks[static_cast<std::size_t>(book - 1)].title));
    const chooser::IndexBuild index = session.buildLessonIndex();
    EXPECT_TRUE(index.read.ok()) << index.read.message();
    return index.items;
  }
  // The cards of the first lesson of book 1, chosen in the chooser and handed off as the
  // study programs receive it.
  std::vector<study::Card> firstLessonCards() const {
    chooser::ChooserSession session;
    const auto items = lessons(1, session);
    if (items.empty()) return {};
    session.viewLesson(items.front());
    EXPECT_TRUE(session.confirm().ok());
    study::OpenResult opened;
    const auto progress = study::ProgressStore::Open(store(), kStart, opened);
    EXPECT_TRUE(progress) << opened.failure.detail;
    study::StoreFailure failure;
    return study::LessonCards(study::LoadHandOff(session.handOffFilePath()), progress.get(), kStart,
                              failure);
  }
  void answerAll(const std::vector<study::Card>& cards) const {
    study::OpenResult opened;
    const auto progress = study::ProgressStore::Open(store(), kStart, opened);
    study::StoreFailure failure;
    for (std::size_t i = 0; i < cards.size(); ++i) {
      const auto time = kStart + static_cast<study::Millis>(i) * 60'000;
      ASSERT_TRUE(progress->commit({cards[i].id, time, study::Grade::Good, "review", 2.0}, failure))
          << failure.detail;
    }
  }

 private:
  testsupport::TempDir dir_;
  testsupport::TempDir user_;
};

class PublishEndToEnd : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { cluster_ = std::make_unique<hubtest::PostgresCluster>(); }
  static void TearDownTestSuite() { cluster_.reset(); }

  void SetUp() override {
    hub_ =
        std::make_unique<hubtest::HubServer>(STUDYHUB, cluster_->newDatabase(), hubFolder_.path());
    hub_->start();
    run({"class", "add", "英语1班"});
  }
  std::string run(const std::vector<std::string>& args) {
    const ProgramRun done = hub_->run(args);
    EXPECT_EQ(done.exitCode, 0) << done.output;
    return done.output;
  }
  void join(const Device& device, const std::string& number) {
    const std::string code =
        hubtest::HubServer::LastLine(run({"learner", "add", "英语1班", number, "李华" + number}));
    const ProgramRun joined = device.tool("join", code);
    ASSERT_EQ(joined.exitCode, 0) << joined.output;
  }
  void publish(int book, const std::string& bytes) {
    const std::string path = hubFolder_.file("book.dat");
    testsupport::WriteBytes(path, bytes);
    run({"publish", "英语1班", std::to_string(book), path});
  }

  static inline std::unique_ptr<hubtest::PostgresCluster> cluster_;
  testsupport::TempDir hubFolder_;
  std::unique_ptr<hubtest::HubServer> hub_;
};

TEST_F(PublishEndToEnd, EveryLearnerHasThePublishedBookAfterTheirNextSync) {
  Device first, second;
  join(first, "2024001");
  join(second, "2024002");
  EXPECT_EQ(first.sync(), "books received 0");
  publish(2, Book("bleak"));
  for (const Device* device : {&first, &second}) {
    EXPECT_EQ(device->sync(), "books received 1");
    const std::string written = device->places().writePath("c2.dat");
    EXPECT_EQ(testsupport::ReadBytes(written), Book("bleak"));
    chooser::ChooserSession session;
    EXPECT_EQ(device->lessons(2, session).size(), 2u);
    EXPECT_EQ(session.viewLesson(device->lessons(2, session).front()).lines.size(), 6u);
    EXPECT_EQ(device->sync(), "books received 0");
  }
}

TEST_F(PublishEndToEnd, ANewVersionKeepsTheProgressOfEntriesThatStay) {
  Device device;
  join(device, "2024001");
  publish(1, Book("bleak"));
  EXPECT_EQ(device.sync(), "books received 1");
  const auto before = device.firstLessonCards();
  ASSERT_EQ(before.size(), 3u);
  device.answerAll(before);
  const auto answered = device.firstLessonCards();
  publish(1, Book("brave"));
  EXPECT_EQ(device.sync(), "books received 1");
  const auto after = device.firstLessonCards();
  ASSERT_EQ(after.size(), 3u);
  for (const std::size_t kept : {0u, 2u}) {
    EXPECT_EQ(after[kept].line1, answered[kept].line1);
    EXPECT_EQ(after[kept].state, answered[kept].state);
    EXPECT_FALSE(after[kept].state.isNew());
  }
  EXPECT_NE(after[1].line1, answered[1].line1);
  EXPECT_TRUE(after[1].state.isNew());
}

TEST_F(PublishEndToEnd, ARefusedFileReachesNoDevice) {
  Device device;
  join(device, "2024001");
  publish(3, Book("bleak"));
  EXPECT_EQ(device.sync(), "books received 1");
  const std::string bad = hubFolder_.file("bad.dat");
  testsupport::WriteBytes(bad, Book("brave") + "junk");
  EXPECT_EQ(hub_->run({"publish", "英语1班", "3", bad}).exitCode, 1);
  // A good book whose phonetics beside it have a mistyped line is refused too.
  testsupport::WriteBytes(hubFolder_.file("phonetics.txt"), "brave\tbreɪv\nbleak bliːk\n");
  testsupport::WriteBytes(bad, Book("brave"));
  const ProgramRun refused = hub_->run({"publish", "英语1班", "3", bad});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.output.find("phonetics.txt: line 2"), std::string::npos) << refused.output;
  EXPECT_EQ(device.sync(), "books received 0");
  EXPECT_EQ(testsupport::ReadBytes(device.places().writePath("c3.dat")), Book("bleak"));
}

TEST_F(PublishEndToEnd, TheTeachersPhoneticsOfTheBooksWordsComeWithIt) {
  Device device;
  join(device, "2024001");
  const std::string mine = device.places().writePath("phonetics.txt");
  testsupport::WriteBytes(mine, "abandon\told\nhello\thəˈloʊ\n");
  testsupport::WriteBytes(hubFolder_.file("phonetics.txt"),
                          "Abandon\təˈbændən\ndwell\tdwel\nzebra\tˈziːbrə\n");
  publish(1, Book("bleak"));
  EXPECT_EQ(device.sync(), "books received 1");
  course::PhoneticsTable seen = course::ReadFolderPhonetics(device.places());
  EXPECT_EQ(seen.find("abandon"), "əˈbændən");
  EXPECT_EQ(seen.find("dwell"), "dwel");
  EXPECT_EQ(seen.find("hello"), "həˈloʊ") << "the learner's own words stay";
  EXPECT_EQ(seen.find("zebra"), std::nullopt) << "not a word of the book";

  // A table on the device with a mistyped line is left as it is, and the lessons come all
  // the same...
  testsupport::WriteBytes(mine, "abandon no tab\n");
  testsupport::WriteBytes(hubFolder_.file("phonetics.txt"), "cease\tsiːs\n");
  publish(1, Book("brave"));
  const ProgramRun failed = device.tool("sync");
  EXPECT_NE(failed.exitCode, 0);
  EXPECT_NE(failed.output.find(mine + ": line 1"), std::string::npos) << failed.output;
  EXPECT_EQ(testsupport::ReadBytes(mine), "abandon no tab\n");
  EXPECT_EQ(testsupport::ReadBytes(device.places().writePath("c1.dat")), Book("brave"));
  // ...and once it is mended, the next sync brings the phonetics.
  testsupport::WriteBytes(mine, "");
  EXPECT_EQ(device.sync(), "books received 1");
  seen = course::ReadFolderPhonetics(device.places());
  EXPECT_EQ(seen.find("cease"), "siːs");
}

}  // namespace

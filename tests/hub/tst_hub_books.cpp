// SPDX-License-Identifier: MIT
// Books handed out to a class by `studyhub publish`: refused unless the chooser can use
// them, offered at each sync to the class's learners only when newer than the device's,
// and fetched one version at a time.
#include "hub_fixture.h"
#include "teachers.h"

namespace hubtest {
namespace {

using studysync::BookVersion;

std::string Book(const std::string& tag) {
  return testsupport::CourseFileBytes(
      {{"Unit 1", tag + "a", "甲"}, {"Unit 1", tag + "b", "乙"}, {"Unit 2", tag + "c", "丙"}});
}

class HubBooks : public HubFixture {
 protected:
  void SetUp() override {
    HubFixture::SetUp();
    addLearner("1001", "李雷");
    learner_ = joinAs("1001", DeviceId(1));
  }

  // Publishes `bytes` as `book` of Class 1; the version it got.
  std::int64_t publish(int book, const std::string& bytes) {
    const std::string path = folder_->file("book.dat");
    testsupport::WriteBytes(path, bytes);
    const std::string said = studyhub({"publish", "Class 1", std::to_string(book), path});
    EXPECT_NE(said.find("2 lessons, 3 entries"), std::string::npos) << said;
    return std::stoll(ask("SELECT max(version) FROM books"));
  }

  std::vector<BookVersion> offered(const studysync::JoinReply& who, int device,
                                   std::vector<BookVersion> had) {
    studysync::SyncRequest request;
    request.learner = who.learner;
    request.device = DeviceId(device);
    request.books = std::move(had);
    const HttpAnswer answer = client_->sync(who.token, request);
    EXPECT_EQ(answer.status, 200) << answer.body;
    std::string why;
    return studysync::DecodeSyncReply(answer.body, why).value_or(studysync::SyncReply{}).books;
  }

  HttpAnswer fetch(const std::string& token, BookVersion wanted) {
    return client_->post("/v1/book", studysync::Encode(studysync::BookRequest{wanted}), token);
  }

  studysync::JoinReply learner_;
};

TEST_F(HubBooks, ASyncOffersTheClassesBooksNewerThanTheDevicesOnly) {
  EXPECT_TRUE(offered(learner_, 1, {}).empty());
  const std::int64_t first = publish(2, Book("x"));
  EXPECT_EQ(offered(learner_, 1, {}), (std::vector<BookVersion>{{2, first}}));
  EXPECT_TRUE(offered(learner_, 1, {{2, first}}).empty());
  const std::int64_t second = publish(2, Book("y"));
  EXPECT_GT(second, first);
  EXPECT_EQ(offered(learner_, 1, {{2, first}}), (std::vector<BookVersion>{{2, second}}));
  EXPECT_EQ(ask("SELECT count(*) FROM books"), "1");
}

TEST_F(HubBooks, ABookIsFetchedOnlyByItsClassAndOnlyInItsLatestVersion) {
  const std::int64_t old = publish(1, Book("x"));
  const std::int64_t latest = publish(1, Book("y"));
  const HttpAnswer fetched = fetch(learner_.token, {1, latest});
  EXPECT_EQ(fetched.status, 200);
  EXPECT_EQ(fetched.body, Book("y"));
  studyhub({"class", "add", "Class 2"});
  studyhub({"learner", "add", "Class 2", "2001", "王芳"});
  const std::string code = HubServer::LastLine(studyhub({"learner", "code", "Class 2", "2001"}));
  std::string why;
  const auto stranger =
      studysync::DecodeJoinReply(client_->join(SecretOf(code), DeviceId(5)).body, why);
  ASSERT_TRUE(stranger) << why;
  const struct {
    const char* what;
    std::string token;
    std::string body;
    int status;
  } cases[] = {
      {"an older version", learner_.token, studysync::Encode(studysync::BookRequest{{1, old}}),
       404},
      {"a book never handed out", learner_.token,
       studysync::Encode(studysync::BookRequest{{3, latest}}), 404},
      {"another class's learner", stranger->token,
       studysync::Encode(studysync::BookRequest{{1, latest}}), 404},
      {"no token", "", studysync::Encode(studysync::BookRequest{{1, latest}}), 401},
      {"book 5", learner_.token, R"({"book":5,"version":1})", 400},
      {"not JSON", learner_.token, "book=1", 400},
  };
  for (const auto& c : cases) {
    for (const char* path : {"/v1/book", "/v1/phonetics"}) {
      const HttpAnswer answer = client_->post(path, c.body, c.token);
      EXPECT_EQ(answer.status, c.status) << c.what << " " << path << ": " << answer.body;
      // No version of the book leaks out.
      EXPECT_EQ(answer.body.find("xa"), std::string::npos) << c.what;
      EXPECT_EQ(answer.body.find("ya"), std::string::npos) << c.what;
    }
  }
  EXPECT_TRUE(offered(*stranger, 5, {}).empty());
}

TEST_F(HubBooks, WhatTheChooserCouldNotUseIsRefusedAndNothingChanges) {
  const std::int64_t kept = publish(1, Book("x"));
  const std::string good = Book("y");
  const std::string path = folder_->file("bad.dat");
  const struct {
    const char* what;
    std::string bytes;
    std::vector<std::string> args;
    const char* said;
  } cases[] = {
      {"cut off inside a record", good.substr(0, good.size() - 3), {"Class 1", "1"}, "ends inside"},
      {"bytes past the last slot", good + "tail", {"Class 1", "1"}, "after the last record"},
      {"no lesson", testsupport::CourseFileBytes({}), {"Class 1", "1"}, "no lesson"},
      {"not GBK", good.substr(0, 4) + "\xff\xff" + good.substr(6), {"Class 1", "1"}, "936"},
      {"too large", std::string(studysync::kMaxBookBytes + 1, '\0'), {"Class 1", "1"}, "larger"},
      {"book 5", good, {"Class 1", "5"}, "BOOK must be"},
      {"book 0", good, {"Class 1", "0"}, "BOOK must be"},
      {"no such class", good, {"Class 9", "1"}, "no class"},
  };
  for (const auto& c : cases) {
    testsupport::WriteBytes(path, c.bytes);
    const ProgramRun run = hub_->run({"publish", c.args[0], c.args[1], path});
    EXPECT_NE(run.exitCode, 0) << c.what;
    EXPECT_NE(run.output.find(c.said), std::string::npos) << c.what << ": " << run.output;
  }
  EXPECT_EQ(hub_->run({"publish", "Class 1", "1", folder_->file("missing.dat")}).exitCode, 2);
  EXPECT_EQ(ask("SELECT count(*) FROM books"), "1");
  EXPECT_EQ(ask("SELECT version FROM books"), std::to_string(kept));
  EXPECT_EQ(fetch(learner_.token, {1, kept}).body, Book("x"));
}

TEST_F(HubBooks, ATeacherPublishesToTheirOwnClassesOnly) {
  const std::string oneTime =
      HubServer::LastLine(studyhub({"teacher", "add", "王老师", "Class 1"}));
  studyhub({"class", "add", "Class 2"});
  studyhub({"teacher", "add", "赵老师", "Class 2"});
  const auto request = [&](std::string teacher, std::string secret, std::string group,
                           std::string bytes, std::string phonetics = "xa\tɛks eɪ\n") {
    return studysync::Encode(
        studysync::PublishRequest{teacher, secret, group, 3, bytes, phonetics});
  };
  EXPECT_EQ(client_->post("/v1/publish", request("王老师", oneTime, "Class 1", Book("x"))).status,
            409)
      << "the one-time password is changed on the class page first";
  // As the class page's first sign-in does.
  const std::string password = "王老师自己的密码2026";
  {
    hub::Database database(conninfo_);
    hub::ChangeTeacherPassword(
        database, std::stoll(ask("SELECT id FROM teachers WHERE name = '王老师'")), password);
  }
  const struct {
    const char* what;
    std::string body;
    int status;
  } refused[] = {
      {"a wrong password", request("王老师", password + "x", "Class 1", Book("x")), 401},
      {"an unknown teacher", request("李老师", password, "Class 1", Book("x")), 401},
      {"another teacher's class", request("王老师", password, "Class 2", Book("x")), 403},
      {"no such class", request("王老师", password, "Class 9", Book("x")), 403},
      {"a book the chooser cannot use", request("王老师", password, "Class 1", Book("x") + "z"),
       422},
      {"phonetics with a line without a tab",
       request("王老师", password, "Class 1", Book("x"), "xa\tɛks eɪ\nxb ɛks biː\n"), 422},
      {"book 5", R"({"teacher":"王老师","password":"p","class":"Class 1","book":5,"content":""})",
       400},
      {"content not base64",
       R"({"teacher":"王老师","password":"p","class":"Class 1","book":1,)"
       R"("content":"%%%"})",
       400},
  };
  for (const auto& c : refused) {
    const HttpAnswer answer = client_->post("/v1/publish", c.body);
    EXPECT_EQ(answer.status, c.status) << c.what << ": " << answer.body;
  }
  EXPECT_EQ(ask("SELECT count(*) FROM books"), "0");
  const HttpAnswer published =
      client_->post("/v1/publish", request("王老师", password, "Class 1", Book("x")));
  ASSERT_EQ(published.status, 200) << published.body;
  std::string why;
  const auto reply = studysync::DecodePublishReply(published.body, why);
  ASSERT_TRUE(reply) << why;
  EXPECT_EQ(reply->lessons, 2);
  EXPECT_EQ(reply->entries, 3);
  EXPECT_EQ(offered(learner_, 1, {}), (std::vector<BookVersion>{{3, reply->version}}));
  EXPECT_EQ(fetch(learner_.token, {3, reply->version}).body, Book("x"));
  EXPECT_EQ(ask("SELECT published_by FROM books"), "王老师");
  const HttpAnswer phonetics =
      client_->post("/v1/phonetics", studysync::Encode(studysync::BookRequest{{3, reply->version}}),
                    learner_.token);
  EXPECT_EQ(phonetics.status, 200);
  EXPECT_EQ(phonetics.body, "xa\tɛks eɪ\n");
}

}  // namespace
}  // namespace hubtest

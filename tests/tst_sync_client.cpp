// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "background_sync.h"
#include "hub_exchange.h"
#include "hub_link.h"
#include "test_support.h"

namespace studysync {
namespace {

const std::string kThisDevice = "0123456789abcdef0123456789abcdef";
const std::string kOtherDevice = "fedcba9876543210fedcba9876543210";
const std::string kPin = "q5Jv0123456789abcdefghijklmnopqrstuvwxyzAB+=";

SyncAnswer AnswerOf(const std::string& device, std::int64_t seq, std::size_t lineBytes = 0) {
  SyncAnswer answer;
  answer.id = {device, seq};
  answer.lesson = "Unit 1";
  answer.line1 = "word " + std::to_string(seq) + std::string(lineBytes, 'x');
  answer.line2 = "词";
  answer.time = 1'700'000'000'000 + seq;
  answer.grade = 3;
  answer.activity = "review";
  answer.seconds = 1;
  return answer;
}

// A store that keeps this device's answers in a list, marks them sent in order and
// keeps what it takes in.
class ListStore final : public study::SyncStore {
 public:
  explicit ListStore(std::int64_t ownAnswers, std::size_t lineBytes = 0) {
    for (std::int64_t seq = 1; seq <= ownAnswers; ++seq) {
      own.push_back(AnswerOf(kThisDevice, seq, lineBytes));
    }
  }
  const std::string& deviceId() const override { return kThisDevice; }
  SyncItems unsent(std::size_t limit, study::StoreFailure&) override {
    SyncItems items;
    for (std::size_t i = sent; i < own.size() && items.answers.size() < limit; ++i) {
      items.answers.push_back(own[i]);
    }
    return items;
  }
  bool markSent(const SyncItems& items, study::StoreFailure&) override {
    sent += items.answers.size();
    return true;
  }
  std::optional<study::MergeCounts> merge(const SyncItems& incoming, std::int64_t cursor,
                                          study::StoreFailure&) override {
    taken.insert(taken.end(), incoming.answers.begin(), incoming.answers.end());
    cursor_ = cursor;
    return study::MergeCounts{static_cast<std::int64_t>(incoming.answers.size()), 0, 0};
  }
  std::int64_t cursor(study::StoreFailure&) override { return cursor_; }

  std::vector<SyncAnswer> own;
  std::size_t sent = 0;
  std::vector<SyncAnswer> taken;
  std::int64_t cursor_ = 0;
};

// A server that keeps each answer once and hands out another device's answers `page` at a
// time, numbered from 1.
struct PagingServer {
  std::map<std::int64_t, SyncAnswer> kept;  // by seq, this device's
  std::vector<SyncAnswer> others;
  std::size_t page = 3;
  int requests = 0;

  HttpReply operator()(const std::string& path, const std::string& body,
                       const std::string& bearer) {
    ++requests;
    if (body.size() > kMaxRequestBytes) return {HttpReply::Outcome::Answered, 413, "", ""};
    std::string why;
    const auto request = DecodeSyncRequest(body, why);
    if (path != "/v1/sync" || bearer != "token" || !request)
      return {HttpReply::Outcome::Answered, 400, "", ""};
    SyncReply reply;
    for (const SyncAnswer& answer : request->items.answers) {
      reply.storedAnswers += kept.emplace(answer.id.seq, answer).second ? 1 : 0;
    }
    const auto from = static_cast<std::size_t>(request->since);
    const std::size_t to = std::min(others.size(), from + page);
    for (std::size_t i = from; i < to; ++i) reply.items.answers.push_back(others[i]);
    reply.cursor = static_cast<std::int64_t>(to);
    reply.more = to < others.size();
    return {HttpReply::Outcome::Answered, 200, Encode(reply), ""};
  }
};

TEST(Synchronise, SendsEverythingInTurnsAndTakesInEveryPage) {
  struct Case {
    const char* what;
    std::int64_t own;
    std::int64_t others;
    int requests;  // 0: as many as it takes
    std::size_t lineBytes = 0;
  } cases[] = {
      {"nothing either way", 0, 0, 1},
      {"fewer than one request holds", 7, 0, 1},
      {"more than one request holds", kMaxItemsPerRequest + 1, 0, 2},
      {"exactly one request's worth", kMaxItemsPerRequest, 0, 2},
      {"pages to take in", 0, 10, 4},
      {"both at once", kMaxItemsPerRequest + 2, 7, 3},
      {"texts too long for one request", 3000, 0, 0, kMaxTextBytes - 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ListStore store(c.own, c.lineBytes);
    PagingServer server;
    for (std::int64_t seq = 1; seq <= c.others; ++seq) {
      server.others.push_back(AnswerOf(kOtherDevice, seq));
    }
    SyncCounts counts;
    HubFailure failure;
    ASSERT_TRUE(Synchronise(std::ref(server), store, 42, "token", counts, failure)) << failure.why;
    EXPECT_EQ(counts, (SyncCounts{c.own, c.others, 0}));
    if (c.requests != 0) {
      EXPECT_EQ(server.requests, c.requests);
    }
    EXPECT_EQ(server.kept.size(), static_cast<std::size_t>(c.own));
    EXPECT_EQ(store.sent, store.own.size());
    EXPECT_EQ(store.taken, server.others);
    EXPECT_EQ(store.cursor_, c.others);
  }
}

TEST(Synchronise, MarksNothingSentAndSaysWhyWhenTheServerDoesNotTakeIt) {
  using Kind = HubFailure::Kind;
  using Outcome = HttpReply::Outcome;
  SyncReply stuck;
  stuck.more = true;  // and the cursor stays at 0
  struct Case {
    const char* what;
    HttpReply reply;
    Kind kind;
    const char* said;
  } cases[] = {
      {"no connection",
       {Outcome::Unreachable, 0, "", "Connection refused"},
       Kind::Unreachable,
       "Connection refused"},
      {"database down",
       {Outcome::Answered, 503, "database unreachable", ""},
       Kind::Unreachable,
       "503"},
      {"any trouble of the server", {Outcome::Answered, 500, "", ""}, Kind::Unreachable, "500"},
      {"unknown token", {Outcome::Answered, 401, "", ""}, Kind::Refused, "join again"},
      {"another learner",
       {Outcome::Answered, 403, "not yours\x1b[2J", ""},
       Kind::Refused,
       "not yours [2J"},
      {"not a reply", {Outcome::Answered, 200, "<html>", ""}, Kind::BadReply, "reply"},
      {"too long a reply", {Outcome::TooLarge, 0, "", "too large"}, Kind::BadReply, "too large"},
      {"more that never ends",
       {Outcome::Answered, 200, Encode(stuck), ""},
       Kind::BadReply,
       "cursor did not move"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ListStore store(3);
    SyncCounts counts;
    HubFailure failure;
    const Post post = [&](const std::string&, const std::string&, const std::string&) {
      return c.reply;
    };
    EXPECT_FALSE(Synchronise(post, store, 42, "token", counts, failure));
    EXPECT_EQ(failure.kind, c.kind);
    EXPECT_NE(failure.why.find(c.said), std::string::npos) << failure.why;
    EXPECT_EQ(store.sent, 0u);
    EXPECT_TRUE(store.taken.empty());
  }
}

TEST(Join, GivesTheServersReplyOrWhyNot) {
  const JoinReply joined{"tok", 42, "2024001", "李华", "英语1班"};
  std::string sentBody;
  const Post accepting = [&](const std::string& path, const std::string& body,
                             const std::string& bearer) {
    sentBody = body;
    EXPECT_EQ(path, "/v1/join");
    EXPECT_EQ(bearer, "");
    return HttpReply{HttpReply::Outcome::Answered, 200, Encode(joined), ""};
  };
  const JoinRequest request{"K7Q2abcdefghijklmnopqrst", kThisDevice, "lab-07"};
  HubFailure failure;
  EXPECT_EQ(Join(accepting, request, failure), joined);
  std::string why;
  EXPECT_EQ(DecodeJoinRequest(sentBody, why), request);

  const Post refusing = [](const std::string&, const std::string&, const std::string&) {
    return HttpReply{HttpReply::Outcome::Answered, 403, "", ""};
  };
  EXPECT_FALSE(Join(refusing, request, failure));
  EXPECT_EQ(failure.kind, HubFailure::Kind::Refused);
  EXPECT_EQ(failure.status, 403);
}

HubLink SomeLink() {
  return {"192.168.1.20:8443", kPin, 42, "secret-token", "2024001", "李华", "英语1班"};
}

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0);
  return st.st_mode & 07777;
}

TEST(HubLinkFile, ComesBackAsWrittenAndOnlyItsOwnerMayReadIt) {
  testsupport::TempDir dir;
  const std::string path = HubLinkPathFor(dir.file("study.db"));
  EXPECT_EQ(path, dir.file("study.hub"));
  const mode_t mask = ::umask(0);
  const suite::FileStatus written = WriteHubLink(path, SomeLink());
  ::umask(mask);
  ASSERT_TRUE(written.ok()) << written.message();
  EXPECT_EQ(ModeOf(path), 0600u);
  std::string why;
  EXPECT_EQ(ReadHubLink(path, why), SomeLink()) << why;

  // A file that others could read is narrowed when it is replaced.
  ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
  HubLink other = SomeLink();
  other.token = "another";
  ASSERT_TRUE(WriteHubLink(path, other).ok());
  EXPECT_EQ(ModeOf(path), 0600u);
  EXPECT_EQ(ReadHubLink(path, why), other);
}

TEST(HubLinkFile, RefusesWhatIsNotALink) {
  const std::string good =
      R"("address":"h:1","pin":")" + kPin + R"(","learner":4,"number":"1","name":"n","class":"c")";
  struct Case {
    const char* what;
    std::string text;
  } cases[] = {
      {"empty", ""},
      {"not JSON", "{"},
      {"no token", "{" + good + "}"},
      {"empty token", "{" + good + R"(,"token":""})"},
      {"learner 0", "{" + good + R"(,"token":"t","learner":0})"},
      {"bad pin",
       R"({"address":"h:1","pin":"x","learner":4,"number":"1","name":"n","class":"c","token":"t"})"},
      {"no port", R"({"address":"h","pin":")" + kPin +
                      R"(","learner":4,"number":"1","name":"n","class":"c","token":"t"})"},
      {"too large", std::string(70000, ' ') + "{" + good + R"(,"token":"t"})"},
  };
  testsupport::TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::ofstream(dir.file("study.hub"), std::ios::trunc) << c.text;
    std::string why;
    EXPECT_FALSE(ReadHubLink(dir.file("study.hub"), why));
    EXPECT_FALSE(why.empty());
  }
  std::string why;
  EXPECT_FALSE(ReadHubLink(dir.file("missing.hub"), why));
}

TEST(BackgroundSync, StartsStudytoolOnlyForALinkedStore) {
  testsupport::TempDir dir;
  const std::string store = dir.file("study.db");
  std::vector<std::vector<std::string>> launched;
  const Launch record = [&](const std::string& program, const std::vector<std::string>& arguments) {
    launched.push_back({program});
    launched.back().insert(launched.back().end(), arguments.begin(), arguments.end());
    return true;
  };
  EXPECT_FALSE(StartBackgroundSync(store, "/app/studytool", record));
  EXPECT_TRUE(launched.empty());
  ASSERT_TRUE(WriteHubLink(HubLinkPathFor(store), SomeLink()).ok());
  EXPECT_TRUE(StartBackgroundSync(store, "/app/studytool", record));
  EXPECT_EQ(launched, (std::vector<std::vector<std::string>>{{"/app/studytool", "sync", store}}));
}

}  // namespace
}  // namespace studysync

// SPDX-License-Identifier: MIT
// Joining and syncing over real TLS against the real server and PostgreSQL: what is stored
// once, what is refused with nothing written, and what survives a stopped database and a
// killed server.
#include <signal.h>

#include <atomic>
#include <set>
#include <thread>

#include "hub_fixture.h"

namespace hubtest {
namespace {

using studysync::SyncReply;
using studysync::SyncRequest;

class HubSync : public HubFixture {
 protected:
  void SetUp() override {
    HubFixture::SetUp();
    addLearner("1001", "李雷");
    addLearner("1002", "韩梅梅");
    laptop_ = joinAs("1001", DeviceId(1));
    lab_ = joinAs("1001", DeviceId(2));
    other_ = joinAs("1002", DeviceId(3));
  }

  SyncRequest request(const studysync::JoinReply& who, int device, std::int64_t since = 0) {
    SyncRequest request;
    request.learner = who.learner;
    request.device = DeviceId(device);
    request.since = since;
    return request;
  }

  SyncReply syncOk(const studysync::JoinReply& who, const SyncRequest& request) {
    const HttpAnswer answer = client_->sync(who.token, request);
    EXPECT_EQ(answer.status, 200) << answer.body;
    std::string why;
    return studysync::DecodeSyncReply(answer.body, why).value_or(SyncReply{});
  }

  std::string storedItems() {
    return ask(
        "SELECT (SELECT count(*) FROM answers) + (SELECT count(*) FROM withdrawals)"
        " + (SELECT count(*) FROM results) + (SELECT count(*) FROM settings)");
  }

  studysync::JoinReply laptop_, lab_, other_;
};

TEST_F(HubSync, AJoinCodeWorksOnceAndNotAfterItExpired) {
  const std::string secret = addLearner("1003", "张三");
  EXPECT_EQ(client_->join(secret, DeviceId(7)).status, 200);
  EXPECT_EQ(client_->join(secret, DeviceId(8)).status, 403);
  const std::string late = addLearner("1004", "李四");
  ask("UPDATE join_codes SET expires = now() - interval '1 second' WHERE used IS NULL");
  EXPECT_EQ(client_->join(late, DeviceId(9)).status, 403);
  EXPECT_EQ(ask("SELECT count(*) FROM devices"), "4");
}

TEST_F(HubSync, NothingIsServedWithoutTls) {
  const std::string secret = addLearner("1003", "张三");
  const HttpAnswer plain = client_->postPlain(
      "/v1/join", studysync::Encode(studysync::JoinRequest{secret, DeviceId(7), "pc"}));
  EXPECT_EQ(plain.status, 0) << plain.body;
  EXPECT_EQ(client_->join(secret, DeviceId(7)).status, 200);
}

TEST_F(HubSync, AMalformedJoinIsRefusedAndTheCodeStaysUnused) {
  const std::string secret = addLearner("1003", "张三");
  const std::string device = DeviceId(7);
  const std::vector<std::pair<const char*, std::string>> bodies{
      {"a NUL in the device's name",
       R"({"secret":")" + secret + R"(","device":")" + device + R"(","device_name":"a\u0000b"})"},
      {"no device", R"({"secret":")" + secret + R"(","device_name":"pc"})"},
      {"not JSON", "secret=" + secret},
  };
  for (const auto& [what, body] : bodies) {
    EXPECT_EQ(client_->post("/v1/join", body).status, 400) << what;
  }
  EXPECT_EQ(ask("SELECT count(*) FROM join_codes j JOIN learners l ON l.id = j.learner_id"
                " WHERE j.used IS NULL AND l.number = '1003'"),
            "1");
  EXPECT_EQ(client_->join(secret, device).status, 200);
}

TEST_F(HubSync, WrongSecretsFromOneAddressAreSlowedDown) {
  const std::string secret = addLearner("1003", "张三");
  for (int attempt = 0; attempt < 5; ++attempt) {
    EXPECT_EQ(client_->join("AAAAAAAAAAAAAAAAAAAAAA", DeviceId(7)).status, 403);
  }
  const HttpAnswer refused = client_->join(secret, DeviceId(7));
  EXPECT_EQ(refused.status, 429);
  EXPECT_GT(std::stoi(refused.retryAfter), 500);
  EXPECT_EQ(ask("SELECT count(*) FROM join_codes WHERE used IS NULL AND learner_id = "
                "(SELECT id FROM learners WHERE number = '1003')"),
            "1");
}

TEST_F(HubSync, AResentBatchIsKeptOnceAndTheOtherDeviceGetsItOnce) {
  SyncRequest sent = request(laptop_, 1);
  sent.items.answers = Answers(DeviceId(1), 1, 50);
  // Texts an array literal must carry as they are.
  sent.items.answers[0].line1 = R"(say "NULL", {a,b} \ back)";
  sent.items.withdrawals = {{{DeviceId(1), 2}, 1767225700000}};
  studysync::SyncResult typing;
  typing.id = {DeviceId(1), 1};
  typing.time = 1767225800000;
  typing.activity = "typing";
  typing.lesson = "Lesson 1";
  typing.right = 9;
  typing.total = 10;
  typing.seconds = 60.5;
  typing.wordsPerMinute = 23.4;
  typing.accuracy = 0.975;
  sent.items.results.push_back(typing);
  sent.items.settings = {{"day_start", "05:00", 10}, {"day_start", "06:00", 20}};
  const SyncReply first = syncOk(laptop_, sent);
  EXPECT_EQ(first.storedAnswers, 50);
  EXPECT_EQ(first.storedWithdrawals, 1);
  EXPECT_EQ(first.storedResults, 1);
  EXPECT_TRUE(first.items.answers.empty());  // a device is not sent its own items
  const SyncReply again = syncOk(laptop_, sent);
  EXPECT_EQ(again.storedAnswers + again.storedWithdrawals + again.storedResults, 0);
  EXPECT_EQ(storedItems(), "53");

  const SyncReply pulled = syncOk(lab_, request(lab_, 2));
  ASSERT_EQ(pulled.items.answers.size(), 50u);
  EXPECT_EQ(pulled.items.answers, sent.items.answers);
  EXPECT_EQ(pulled.items.withdrawals, sent.items.withdrawals);
  EXPECT_EQ(pulled.items.results, sent.items.results);
  EXPECT_EQ(pulled.items.settings,
            (std::vector<studysync::SyncSetting>{{"day_start", "06:00", 20}}));
  EXPECT_EQ(pulled.cursor, 52);
  EXPECT_FALSE(pulled.more);
  EXPECT_TRUE(syncOk(lab_, request(lab_, 2, pulled.cursor)).items.answers.empty());
}

TEST_F(HubSync, ManyItemsComeInPagesWithACursor) {
  for (int first = 1; first <= 6000; first += 5000) {
    SyncRequest sent = request(laptop_, 1);
    sent.items.answers = Answers(DeviceId(1), first, std::min(5000, 6001 - first));
    EXPECT_EQ(syncOk(laptop_, sent).storedAnswers,
              static_cast<std::int64_t>(sent.items.answers.size()));
  }
  const SyncReply page = syncOk(lab_, request(lab_, 2));
  EXPECT_EQ(page.items.answers.size(), 5000u);
  EXPECT_TRUE(page.more);
  EXPECT_EQ(page.cursor, 5000);
  const SyncReply rest = syncOk(lab_, request(lab_, 2, page.cursor));
  EXPECT_EQ(rest.items.answers.size(), 1000u);
  EXPECT_FALSE(rest.more);
  EXPECT_EQ(rest.cursor, 6000);
  EXPECT_EQ(rest.items.answers.front().id.seq, 5001);
}

TEST_F(HubSync, APageOfLongTextsStaysWithinWhatADeviceTakesIn) {
  constexpr int kBatches = 3;
  constexpr int kBatch = 900;  // 3.6 MB of text a request, under the 4 MiB bound
  for (int n = 0; n < kBatches; ++n) {
    SyncRequest sent = request(laptop_, 1);
    sent.items.answers = Answers(DeviceId(1), 1 + n * kBatch, kBatch);
    for (auto& answer : sent.items.answers) answer.line2 = std::string(4000, 'x');
    EXPECT_EQ(syncOk(laptop_, sent).storedAnswers, kBatch);
  }
  std::size_t received = 0;
  int pages = 0;
  std::int64_t cursor = 0;
  for (bool more = true; more && pages < 10; ++pages) {
    const HttpAnswer answer = client_->sync(lab_.token, request(lab_, 2, cursor));
    ASSERT_EQ(answer.status, 200);
    EXPECT_LT(answer.body.size(), studysync::kMaxReplyBytes / 4);
    std::string why;
    const auto reply = studysync::DecodeSyncReply(answer.body, why);
    ASSERT_TRUE(reply) << why;
    received += reply->items.answers.size();
    cursor = reply->cursor;
    more = reply->more;
  }
  EXPECT_EQ(received, static_cast<std::size_t>(kBatches * kBatch));
  EXPECT_GT(pages, 1);
}

TEST_F(HubSync, RequestsThatAreNotTheDevicesOwnAreRefusedWithNothingWritten) {
  SyncRequest otherLearner = request(laptop_, 1);
  otherLearner.learner = other_.learner;
  otherLearner.items.answers = Answers(DeviceId(1), 1, 3);
  SyncRequest otherDevicesItem = request(laptop_, 1);
  otherDevicesItem.items.answers = Answers(DeviceId(1), 1, 3);
  otherDevicesItem.items.answers.push_back(Answers(DeviceId(2), 1, 1)[0]);
  SyncRequest otherDevicesWithdrawal = request(laptop_, 1);
  otherDevicesWithdrawal.items.withdrawals = {{{DeviceId(2), 1}, 1}};
  SyncRequest withNul = request(laptop_, 1);
  withNul.items.answers = Answers(DeviceId(1), 1, 1);
  withNul.items.answers[0].lesson = std::string("a\0b", 3);
  struct Case {
    const char* what;
    std::string token;
    std::string body;
    int status;
  };
  const std::vector<Case> cases{
      {"another learner's id", laptop_.token, studysync::Encode(otherLearner), 403},
      {"another device's answer", laptop_.token, studysync::Encode(otherDevicesItem), 403},
      {"another device's withdrawal", laptop_.token, studysync::Encode(otherDevicesWithdrawal),
       403},
      {"another device's token", lab_.token, studysync::Encode(otherDevicesItem), 403},
      {"a NUL in a text", laptop_.token, studysync::Encode(withNul), 400},
      {"not JSON", laptop_.token, "{\"learner\": 1, ", 400},
      {"no items list", laptop_.token, R"({"learner": 1, "device": 5, "since": 0})", 400},
      {"an unknown token", "x" + laptop_.token, studysync::Encode(otherDevicesItem), 401},
      {"no token", "", studysync::Encode(otherDevicesItem), 401},
      {"a body past 4 MiB", laptop_.token, std::string(studysync::kMaxRequestBytes + 1, ' '), 413},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(client_->post("/v1/sync", c.body, c.token).status, c.status) << c.what;
  }
  EXPECT_EQ(storedItems(), "0");
  EXPECT_EQ(ask("SELECT sum(counter) FROM learners"), "0");
}

TEST_F(HubSync, AStoppedDatabaseIsATemporaryFailureAndTheServerCarriesOn) {
  const std::string secret = addLearner("1003", "张三");
  SyncRequest sent = request(laptop_, 1);
  sent.items.answers = Answers(DeviceId(1), 1, 10);
  cluster().stop();
  EXPECT_EQ(client_->sync(laptop_.token, sent).status, 503);
  EXPECT_EQ(client_->sync(laptop_.token, sent).status, 503);
  // A server that starts while the database is away serves all the same.
  hub_->kill();
  hub_->start();
  EXPECT_EQ(client_->join(secret, DeviceId(9)).status, 503);
  cluster().start();
  EXPECT_EQ(syncOk(laptop_, sent).storedAnswers, 10);
  EXPECT_EQ(client_->join(secret, DeviceId(9)).status, 200);
  EXPECT_TRUE(hub_->running());
  EXPECT_EQ(hub_->stop(), 0);
}

TEST_F(HubSync, TwoDevicesSyncingAtOnceNeverMakeTheCursorSkipAnItem) {
  constexpr int kSyncs = 15;
  constexpr int kBatch = 20;
  const auto send = [&](const studysync::JoinReply& who, int device) {
    for (int n = 0; n < kSyncs; ++n) {
      SyncRequest sent = request(who, device);
      sent.items.answers = Answers(DeviceId(device), 1 + n * kBatch, kBatch);
      EXPECT_EQ(client_->sync(who.token, sent).status, 200);
    }
  };
  std::atomic<bool> sending{true};
  std::thread laptop([&] { send(laptop_, 1); });
  std::thread lab([&] { send(lab_, 2); });
  std::thread done([&] {
    laptop.join();
    lab.join();
    sending = false;
  });
  // A third device reads along while both write; after they are done, once more.
  const studysync::JoinReply phone = joinAs("1001", DeviceId(4));
  std::vector<studysync::SyncAnswer> received;
  std::int64_t cursor = 0;
  for (bool last = false; !last;) {
    last = !sending;
    const SyncReply reply = syncOk(phone, request(phone, 4, cursor));
    received.insert(received.end(), reply.items.answers.begin(), reply.items.answers.end());
    cursor = reply.cursor;
  }
  done.join();
  EXPECT_EQ(received.size(), 2u * kSyncs * kBatch);
  std::set<std::pair<std::string, std::int64_t>> distinct;
  for (const auto& answer : received) distinct.emplace(answer.id.device, answer.id.seq);
  EXPECT_EQ(distinct.size(), received.size());
}

TEST_F(HubSync, AServerKilledMidTrafficKeepsEveryStoredItemOnce) {
  constexpr int kSyncs = 20;
  constexpr int kBatch = 50;
  std::atomic<int> done{0};
  std::thread device([&] {
    for (int n = 0; n < kSyncs; ++n) {
      SyncRequest sent = request(laptop_, 1);
      sent.items.answers = Answers(DeviceId(1), 1 + n * kBatch, kBatch);
      // As a device does: the same batch again until the server has taken it.
      for (int attempt = 0; attempt < 500; ++attempt) {
        if (client_->sync(laptop_.token, sent).status == 200) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
      ++done;
    }
  });
  for (int kill = 0; kill < 4; ++kill) {
    const int seen = done.load();
    while (done.load() == seen && done.load() < kSyncs) std::this_thread::yield();
    hub_->kill();
    hub_->start();
  }
  device.join();
  EXPECT_EQ(ask("SELECT count(*) FROM answers"), std::to_string(kSyncs * kBatch));
  EXPECT_EQ(ask("SELECT count(DISTINCT number) FROM answers"), std::to_string(kSyncs * kBatch));
  EXPECT_EQ(ask("SELECT counter FROM learners WHERE number = '1001'"),
            std::to_string(kSyncs * kBatch));
  const SyncReply pulled = syncOk(lab_, request(lab_, 2));
  EXPECT_EQ(pulled.items.answers, Answers(DeviceId(1), 1, kSyncs * kBatch));
}

TEST_F(HubSync, TheTeachersListShowsDevicesAndTheLastSync) {
  syncOk(laptop_, request(laptop_, 1));
  const std::string list = studyhub({"learner", "list", "Class 1"});
  EXPECT_NE(list.find("1001\t李雷\t2\t20"), std::string::npos) << list;
  EXPECT_NE(list.find("1002\t韩梅梅\t1\tnever"), std::string::npos) << list;
}

}  // namespace
}  // namespace hubtest

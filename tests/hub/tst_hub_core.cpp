// SPDX-License-Identifier: MIT
// What the server decides without the network or the database: slowing down guesses, reading
// a class list, whose items a request may carry, which settings count, where a page ends.
#include <gtest/gtest.h>

#include <functional>

#include "attempt_limiter.h"
#include "class_list.h"
#include "passwords.h"
#include "secrets.h"
#include "sync_rules.h"

namespace {

using namespace std::chrono_literals;

TEST(AttemptLimiter, AnAddressIsStoppedAfterItsTriesUntilTheOldestAgesOut) {
  hub::AttemptLimiter limiter(3, 600s);
  const auto start = hub::AttemptLimiter::Clock::time_point{} + 1000s;
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(limiter.waitFor("10.0.0.1", start + i * 10s), 0s) << i;
    limiter.failed("10.0.0.1", start + i * 10s);
  }
  struct Case {
    const char* address;
    std::chrono::seconds at;
    std::chrono::seconds wait;
  };
  const Case cases[] = {{"10.0.0.1", 20s, 580s},
                        {"10.0.0.1", 599s, 1s},
                        {"10.0.0.1", 600s, 0s},
                        {"10.0.0.2", 20s, 0s}};
  for (const Case& c : cases) {
    EXPECT_EQ(limiter.waitFor(c.address, start + c.at), c.wait) << c.address << " " << c.at.count();
  }
}

TEST(AttemptLimiter, ManyAddressesKeepTheMemoryBounded) {
  hub::AttemptLimiter limiter(1, 600s, 10);
  const auto now = hub::AttemptLimiter::Clock::time_point{} + 1000s;
  for (int i = 0; i < 100; ++i) limiter.failed("10.0.0." + std::to_string(i), now);
  EXPECT_GT(limiter.waitFor("10.0.0.99", now), 0s);
}

TEST(Secrets, AreRandomAndOnlyTheirHashIsKept) {
  const std::string a = hub::RandomSecret(hub::kSecretBytes);
  const std::string b = hub::RandomSecret(hub::kSecretBytes);
  EXPECT_EQ(a.size(), 22u);
  EXPECT_NE(a, b);
  EXPECT_EQ(hub::SecretHash(a), hub::SecretHash(a));
  EXPECT_NE(hub::SecretHash(a), hub::SecretHash(b));
  EXPECT_EQ(hub::SecretHash(a).size(), 64u);
  EXPECT_EQ(hub::RandomSecret(hub::kTokenBytes).size(), 43u);
}

TEST(Passwords, OnlyTheSamePasswordMatchesItsSaltedArgon2idHash) {
  const std::string password = hub::NewOneTimePassword();
  EXPECT_EQ(password.size(), 12u);
  EXPECT_NE(password, hub::NewOneTimePassword());
  const std::string hash = hub::HashPassword(password);
  EXPECT_TRUE(hash.starts_with("$argon2id$"));
  EXPECT_NE(hash, hub::HashPassword(password));  // salted
  struct Case {
    std::string hash;
    std::string password;
    bool matches;
  };
  const Case cases[] = {{hash, password, true},
                        {hash, password + " ", false},
                        {hash, "", false},
                        {"", password, false},
                        {"$argon2id$v=19$m=1,t=1,p=1$AAAA$AAAA", password, false},
                        {std::string(4096, '$'), password, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(hub::PasswordMatches(c.hash, c.password), c.matches) << c.hash.substr(0, 40);
  }
}

TEST(ClassList, IsReadInEveryEncodingAndSeparatorWithOrWithoutAHeader) {
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"UTF-8 with a header", "学号,姓名\n1001,李雷\n1002, 韩梅梅 \n"},
      {"UTF-8 with a mark, CRLF",
       "\xef\xbb\xbf"
       "1001,李雷\r\n1002,韩梅梅\r\n"},
      {"GBK, semicolons", "1001;\xc0\xee\xc0\xd7\n1002;\xba\xab\xc3\xb7\xc3\xb7\n"},
      {"tabs, quotes, an empty line", "number\tname\n1001\t\"李雷\"\n\n1002\t韩梅梅\n"},
  };
  for (const Case& c : cases) {
    std::string why;
    const auto learners = hub::ReadClassList(c.bytes, why);
    ASSERT_TRUE(learners) << c.what << ": " << why;
    ASSERT_EQ(learners->size(), 2u) << c.what;
    EXPECT_EQ((*learners)[0].number, "1001") << c.what;
    EXPECT_EQ((*learners)[0].name, "李雷") << c.what;
    EXPECT_EQ((*learners)[1].name, "韩梅梅") << c.what;
  }
}

TEST(ClassList, RefusesWhatCannotBeALearnerWithItsLine) {
  struct Case {
    std::string bytes;
    const char* why;
  };
  const Case cases[] = {
      {"1001,李雷\n1002\n", "line 2: a learner needs a number and a name"},
      {"1001,李雷\n1001,韩梅梅\n", "line 2: the number 1001 comes twice"},
      {"1001,\"李雷\n", "line 1"},
      {"1001," + std::string(200, 'x') + "\n", "line 1: a number or a name is too long"},
  };
  for (const Case& c : cases) {
    std::string why;
    EXPECT_FALSE(hub::ReadClassList(c.bytes, why)) << c.bytes;
    EXPECT_NE(why.find(c.why), std::string::npos) << why;
  }
}

TEST(SyncRules, ARequestCarriesOnlyItsOwnDevicesItemsForItsOwnLearner) {
  const std::string mine(32, 'a');
  const std::string theirs(32, 'b');
  studysync::SyncRequest good;
  good.learner = 7;
  good.device = mine;
  studysync::SyncAnswer answer;
  answer.id.device = mine;
  answer.id.seq = 1;
  good.items.answers.push_back(answer);
  studysync::SyncWithdrawal withdrawal;
  withdrawal.answer = answer.id;
  good.items.withdrawals.push_back(withdrawal);
  struct Case {
    const char* what;
    std::function<void(studysync::SyncRequest&)> change;
    hub::RequestVerdict verdict;
  };
  const Case cases[] = {
      {"its own", [](auto&) {}, hub::RequestVerdict::Accepted},
      {"another learner", [](auto& r) { r.learner = 8; }, hub::RequestVerdict::Forbidden},
      {"another device", [&](auto& r) { r.device = theirs; }, hub::RequestVerdict::Forbidden},
      {"another device's answer", [&](auto& r) { r.items.answers[0].id.device = theirs; },
       hub::RequestVerdict::Forbidden},
      {"another device's withdrawal",
       [&](auto& r) { r.items.withdrawals[0].answer.device = theirs; },
       hub::RequestVerdict::Forbidden},
      {"a NUL", [](auto& r) { r.items.answers[0].line2 += '\0'; }, hub::RequestVerdict::Malformed},
  };
  for (const Case& c : cases) {
    studysync::SyncRequest request = good;
    c.change(request);
    EXPECT_EQ(hub::CheckSyncRequest(request, 7, mine).verdict, c.verdict) << c.what;
  }
}

TEST(SyncRules, TheLatestChangeOfASettingCountsTiesToTheLargerValue) {
  const auto kept = hub::LatestSettings({{"day_start", "04:00", 5},
                                         {"day_start", "06:00", 9},
                                         {"day_start", "05:00", 9},
                                         {"x", "1", 1}});
  EXPECT_EQ(kept, (std::vector<studysync::SyncSetting>{{"day_start", "06:00", 9}, {"x", "1", 1}}));
}

TEST(SyncRules, APageEndsWhereTheFirstKindFillsItsPageOrItsBytesRunOut) {
  using Kinds = std::vector<std::vector<hub::PageItem>>;
  struct Case {
    const char* what;
    Kinds items;
    std::size_t mostBytes;
    std::optional<std::int64_t> end;
  };
  const Case cases[] = {
      {"all fits", Kinds{{{1, 10}, {2, 10}}, {{3, 10}}}, 100, std::nullopt},
      {"one kind past its page", Kinds{{{1, 10}, {2, 10}, {5, 10}}, {{3, 10}}}, 100, 2},
      {"the earlier of two full kinds", Kinds{{{1, 1}, {4, 1}, {5, 1}}, {{2, 1}, {3, 1}, {6, 1}}},
       100, 3},
      {"nothing", Kinds{{}, {}, {}}, 100, std::nullopt},
      {"bytes run out across kinds", Kinds{{{1, 40}, {3, 40}}, {{2, 40}}}, 100, 2},
      {"a first item larger than the bound still goes", Kinds{{{7, 500}, {8, 1}}}, 100, 7},
  };
  for (const Case& c : cases) EXPECT_EQ(hub::PageEnd(c.items, 2, c.mostBytes), c.end) << c.what;
}

}  // namespace

// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>

#include "join_code.h"
#include "sync_messages.h"

namespace studysync {
namespace {

const std::string kDevice = "0123456789abcdef0123456789abcdef";
const std::string kPin = "q5Jv0123456789abcdefghijklmnopqrstuvwxyzAB+=";

SyncItems SomeOfEach() {
  SyncAnswer answer;
  answer.id = {kDevice, 7};
  answer.lesson = "第1册 Unit 1";
  answer.line1 = "abandon";
  answer.line2 = "放弃；遗弃（某人）";
  answer.part = "vt.";
  answer.time = 1'700'000'000'123;
  answer.grade = 3;
  answer.activity = "learn";
  answer.seconds = 2.5;
  SyncResult typing;
  typing.id = {kDevice, 2};
  typing.time = 1'700'000'100'000;
  typing.activity = "typing";
  typing.lesson = answer.lesson;
  typing.right = 9;
  typing.total = 10;
  typing.seconds = 60.5;
  typing.wordsPerMinute = 31.5;
  typing.accuracy = 0.97;
  SyncResult dictation = typing;
  dictation.id.seq = 3;
  dictation.activity = "dictation";
  dictation.wordsPerMinute.reset();
  dictation.accuracy.reset();
  SyncItems items;
  items.answers = {answer};
  items.withdrawals = {SyncWithdrawal{{kDevice, 6}, 1'700'000'000'000}};
  items.results = {typing, dictation};
  items.settings = {SyncSetting{"day_start", "04:30", 1'700'000'000'500}};
  return items;
}

TEST(SyncMessages, EveryMessageComesBackAsItWasSent) {
  const SyncRequest request{42, kDevice, 1234, SomeOfEach(), {{1, 5}, {4, 9}}};
  SyncReply reply{3, 1, 2, SomeOfEach(), 99, true, {{2, 12}}};
  const BookRequest book{{3, 1'700'000'000'000}};
  const PublishRequest publish{
      "王老师", "pass word", "英语1班", 2, std::string("\0\xff\x81@ab", 6), "give up\tɡɪv ˈʌp\n"};
  const PublishReply published{17, 2, 48};
  const JoinRequest join{"K7Q2abcdefghijklmnopqrst", kDevice, "实验室-07"};
  const JoinReply joined{"tok", 42, "2024001", "李华", "英语1班"};
  std::string why;
  EXPECT_EQ(DecodeSyncRequest(Encode(request), why), request) << why;
  EXPECT_EQ(DecodeSyncReply(Encode(reply), why), reply) << why;
  EXPECT_EQ(DecodeJoinRequest(Encode(join), why), join) << why;
  EXPECT_EQ(DecodeJoinReply(Encode(joined), why), joined) << why;
  EXPECT_EQ(DecodeBookRequest(Encode(book), why), book) << why;
  EXPECT_EQ(DecodePublishRequest(Encode(publish), why), publish) << why;
  EXPECT_EQ(DecodePublishReply(Encode(published), why), published) << why;
}

TEST(SyncMessages, MessagesWithoutBooksStillRead) {
  const std::string device = R"("device":")" + kDevice + R"(")";
  std::string why;
  const auto request = DecodeSyncRequest(R"({"learner":1,)" + device + R"(,"since":0})", why);
  ASSERT_TRUE(request) << why;
  EXPECT_TRUE(request->books.empty());
  EXPECT_EQ(Encode(SyncRequest{1, kDevice, 0, {}, {}}).find("books"), std::string::npos);
}

TEST(SyncMessages, RefusesBooksOutOfRange) {
  const std::string start = R"({"learner":1,"device":")" + kDevice + R"(","since":0,"books":)";
  struct Case {
    const char* what;
    std::string books;
  } cases[] = {
      {"book 0", R"([{"book":0,"version":1}])"},
      {"book 5", R"([{"book":5,"version":1}])"},
      {"version 0", R"([{"book":1,"version":0}])"},
      {"no version", R"([{"book":1}])"},
      {"a book named twice", R"([{"book":2,"version":1},{"book":2,"version":3}])"},
      {"not a list", R"({"book":1,"version":1})"},
  };
  for (const Case& c : cases) {
    std::string why;
    EXPECT_FALSE(DecodeSyncRequest(start + c.books + "}", why)) << c.what;
  }
}

TEST(SyncMessages, ABooksPhoneticsMayBeLeftOutButNotBeTooLong) {
  PublishRequest publish{"王老师", "pw", "英语1班", 1, "book", ""};
  std::string body = Encode(publish);
  const auto field = body.find(R"(,"phonetics":"")");
  ASSERT_NE(field, std::string::npos) << body;
  std::string why;
  EXPECT_EQ(DecodePublishRequest(body.erase(field, 15), why), publish) << body << why;
  publish.phonetics.assign(kMaxBookPhoneticsBytes, 'x');
  EXPECT_TRUE(DecodePublishRequest(Encode(publish), why)) << why;
  publish.phonetics += 'x';
  EXPECT_FALSE(DecodePublishRequest(Encode(publish), why));
  EXPECT_NE(why.find("phonetics"), std::string::npos) << why;
}

TEST(SyncMessages, RefusesWhatIsNotOfTheMessagesShape) {
  const std::string answer =
      R"("lesson":"L","line1":"a","line2":"b","time":1,"activity":"learn","seconds":1)";
  const std::string device = R"("device":")" + kDevice + R"(")";
  struct Case {
    const char* what;
    std::string body;
  } cases[] = {
      {"not JSON", "{\"learner\":1,"},
      {"not an object", "[1,2]"},
      {"no device", R"({"learner":1,"since":0})"},
      {"learner 0", R"({"learner":0,)" + device + R"(,"since":0})"},
      {"negative cursor", R"({"learner":1,)" + device + R"(,"since":-1})"},
      {"short device", R"({"learner":1,"device":"abc","since":0})"},
      {"upper-case device",
       R"({"learner":1,"device":"0123456789ABCDEF0123456789ABCDEF","since":0})"},
      {"answers not a list", R"({"learner":1,)" + device + R"(,"since":0,"answers":{}})"},
      {"grade 5", R"({"learner":1,)" + device + R"(,"since":0,"answers":[{)" + device +
                      R"(,"seq":1,"grade":5,)" + answer + "}]}"},
      {"sequence 0", R"({"learner":1,)" + device + R"(,"since":0,"answers":[{)" + device +
                         R"(,"seq":0,"grade":3,)" + answer + "}]}"},
      {"number past 64 bits", R"({"learner":18446744073709551615,)" + device + R"(,"since":0})"},
      {"fraction for a whole number", R"({"learner":1.5,)" + device + R"(,"since":0})"},
      {"right above total", R"({"learner":1,)" + device + R"(,"since":0,"results":[{)" + device +
                                R"(,"seq":1,"time":1,"activity":"typing","lesson":"",)"
                                R"("right":5,"total":4,"seconds":1}]})"},
      {"nested too deeply", std::string(40, '[') + std::string(40, ']')},
      {"invalid UTF-8", R"({"learner":1,)" + device + R"(,"since":0,"x":")" + "\xff\"}"},
      {"too large", std::string(kMaxRequestBytes + 1, ' ')},
  };
  for (const Case& c : cases) {
    std::string why;
    EXPECT_FALSE(DecodeSyncRequest(c.body, why)) << c.what;
    EXPECT_FALSE(why.empty()) << c.what;
  }
}

TEST(JoinCodes, ReadBackWhatWasWrittenAndRefuseTheRest) {
  const JoinCode codes[] = {
      {"192.168.1.20", 8443, kPin, "K7Q2abcdefghijklmnopqr"},
      {"hub.school.edu.cn", 443, kPin, "K7Q2abcdefghijklmnopqr-_xyz"},
      {"::1", 8443, kPin, "K7Q2abcdefghijklmnopqr"},
      {"10.0.0.2", 8443, "/5Jv0123456789abcd/fghijklmnopqrstuvwxyzAB/=", "K7Q2abcdefghijklmnopqr"},
  };
  for (const JoinCode& code : codes) {
    std::string why;
    EXPECT_EQ(ParseJoinCode("  " + FormatJoinCode(code) + "\n", why), code) << why;
  }
  const char* wrong[] = {
      "",
      "192.168.1.20/abc/def",
      "192.168.1.20:8443/short=/K7Q2abcdefghijklmnopqr",
      "192.168.1.20:99999/q5Jv0123456789abcdefghijklmnopqrstuvwxyzAB+=/K7Q2abcdefghijklmnopqr",
      "192.168.1.20:8443/q5Jv0123456789abcdefghijklmnopqrstuvwxyzAB+=/short",
      "[::1:8443/q5Jv0123456789abcdefghijklmnopqrstuvwxyzAB+=/K7Q2abcdefghijklmnopqr",
      "host;rm:8443/q5Jv0123456789abcdefghijklmnopqrstuvwxyzAB+=/K7Q2abcdefghijklmnopqr",
  };
  for (const char* text : wrong) {
    std::string why;
    EXPECT_FALSE(ParseJoinCode(text, why)) << text;
    EXPECT_FALSE(why.empty()) << text;
  }
}

}  // namespace
}  // namespace studysync

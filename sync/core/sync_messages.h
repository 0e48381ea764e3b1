// SPDX-License-Identifier: MIT
// What a learner's device and the class server say to each other, as JSON over HTTPS.
//
// POST /v1/join   JoinRequest  -> JoinReply      (no token yet: the join code's secret)
// POST /v1/sync   SyncRequest  -> SyncReply      (header "Authorization: Bearer TOKEN")
// POST /v1/book   BookRequest  -> the course file's bytes  (the same header)
// POST /v1/phonetics BookRequest -> the book's phonetics table, UTF-8  (the same header)
// POST /v1/publish PublishRequest -> PublishReply  (a teacher's name and password inside)
//
// An answer, a withdrawal or a round result is known everywhere by the device that made
// it and that device's own sequence number; storing one twice keeps it once. The server
// numbers what it stores for a learner in order (its cursor); a device asks for what came
// after the cursor it last saw and gets it a page at a time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace studysync {

inline constexpr std::size_t kMaxRequestBytes = 4u << 20;
inline constexpr std::size_t kMaxReplyBytes = 64u << 20;
// What one request carries at most of each kind; the device sends more in turns.
inline constexpr std::size_t kMaxItemsPerRequest = 5000;
inline constexpr std::size_t kMaxTextBytes = 4096;  // a lesson name, a line, an activity

using Millis = std::int64_t;

// The teacher hands out whole course files, one for each of the suite's four books. A
// device says which version of each it has; a sync's reply names the newer ones, and each
// is fetched on its own, so that no reply carries more than one book.
inline constexpr int kPublishedBooks = 4;
// Far above a full book of real texts (about 360 KB), and small enough that one travels in
// base64 inside a request the server takes.
inline constexpr std::size_t kMaxBookBytes = 2u << 20;
// The phonetics of a book's words travel with it: far above a full book's (about 100 KB),
// and with the book still inside a request the server takes.
inline constexpr std::size_t kMaxBookPhoneticsBytes = 512u << 10;

struct BookVersion {
  int book = 1;              // 1 to kPublishedBooks
  std::int64_t version = 0;  // >= 1, larger for a later publication
  friend bool operator==(const BookVersion&, const BookVersion&) = default;
};

// A device: 32 lowercase hex digits, 128 random bits.
bool IsDeviceId(std::string_view text);

struct ItemId {
  std::string device;
  std::int64_t seq = 0;  // >= 1
  friend bool operator==(const ItemId&, const ItemId&) = default;
};

struct SyncAnswer {
  ItemId id;
  std::string lesson;  // the card: lesson, English line, Chinese line
  std::string line1;
  std::string line2;
  std::string part;  // the card's part of speech, not part of its identity
  Millis time = 0;
  int grade = 1;  // 1 again, 2 hard, 3 good, 4 easy
  std::string activity;
  double seconds = 0;
  friend bool operator==(const SyncAnswer&, const SyncAnswer&) = default;
};

// An answer taken back after it may have left its device.
struct SyncWithdrawal {
  ItemId answer;
  Millis time = 0;
  friend bool operator==(const SyncWithdrawal&, const SyncWithdrawal&) = default;
};

struct SyncResult {
  ItemId id;
  Millis time = 0;
  std::string activity;
  std::string lesson;
  int right = 0;
  int total = 0;
  double seconds = 0;
  std::optional<double> wordsPerMinute;
  std::optional<double> accuracy;
  friend bool operator==(const SyncResult&, const SyncResult&) = default;
};

// A setting such as the day start ("day_start", "04:00"): the latest change wins.
struct SyncSetting {
  std::string name;
  std::string value;
  Millis changed = 0;
  friend bool operator==(const SyncSetting&, const SyncSetting&) = default;
};

struct SyncItems {
  std::vector<SyncAnswer> answers;
  std::vector<SyncWithdrawal> withdrawals;
  std::vector<SyncResult> results;
  std::vector<SyncSetting> settings;
  bool empty() const {
    return answers.empty() && withdrawals.empty() && results.empty() && settings.empty();
  }
  friend bool operator==(const SyncItems&, const SyncItems&) = default;
};

struct SyncRequest {
  std::int64_t learner = 0;        // must be the token's learner, else 403
  std::string device;              // the sending device
  std::int64_t since = 0;          // the cursor of the last reply taken in, 0 at first
  SyncItems items;                 // what the device has not yet sent
  std::vector<BookVersion> books;  // the published books the device has
  friend bool operator==(const SyncRequest&, const SyncRequest&) = default;
};

struct SyncReply {
  // How many of the request's items were new to the server.
  std::int64_t storedAnswers = 0;
  std::int64_t storedWithdrawals = 0;
  std::int64_t storedResults = 0;
  // What the learner's other devices stored after `since` (a page of it), and every setting.
  SyncItems items;
  std::int64_t cursor = 0;         // the next request's `since`
  bool more = false;               // another page waits after `cursor`
  std::vector<BookVersion> books;  // books of the class newer than the device's
  friend bool operator==(const SyncReply&, const SyncReply&) = default;
};

// What of a book is asked for, and where.
enum class BookPart { CourseFile, Phonetics };
inline const char* BookPartPath(BookPart part) {
  return part == BookPart::CourseFile ? "/v1/book" : "/v1/phonetics";
}

// Asks for one version of one book; 404 when it is not (or no longer) the class's.
struct BookRequest {
  BookVersion wanted;
  friend bool operator==(const BookRequest&, const BookRequest&) = default;
};

// A teacher hands a course file out to one of their classes as book `book`.
struct PublishRequest {
  std::string teacher;
  std::string password;
  std::string className;  // the class's name or id
  int book = 1;
  std::string content;    // the course file's bytes (base64 on the wire)
  std::string phonetics;  // the phonetics table of its words, UTF-8; may be empty
  friend bool operator==(const PublishRequest&, const PublishRequest&) = default;
};

struct PublishReply {
  std::int64_t version = 0;
  std::int64_t lessons = 0;
  std::int64_t entries = 0;
  friend bool operator==(const PublishReply&, const PublishReply&) = default;
};

struct JoinRequest {
  std::string secret;  // from the join code
  std::string device;
  std::string deviceName;  // the computer's name, shown to the teacher
  friend bool operator==(const JoinRequest&, const JoinRequest&) = default;
};

struct JoinReply {
  std::string token;  // the device's own; the server keeps only its hash
  std::int64_t learner = 0;
  std::string number;  // 学号
  std::string name;
  std::string className;
  friend bool operator==(const JoinReply&, const JoinReply&) = default;
};

// Each decoder takes untrusted bytes: nothing, with `why` set in English, for anything
// that is not JSON of the message's shape, too large, or out of range (an unknown field is
// ignored).
std::string Encode(const SyncRequest& message);
std::string Encode(const SyncReply& message);
std::string Encode(const JoinRequest& message);
std::string Encode(const JoinReply& message);
std::string Encode(const BookRequest& message);
std::string Encode(const PublishRequest& message);
std::string Encode(const PublishReply& message);
std::optional<SyncRequest> DecodeSyncRequest(std::string_view body, std::string& why);
std::optional<SyncReply> DecodeSyncReply(std::string_view body, std::string& why);
std::optional<JoinRequest> DecodeJoinRequest(std::string_view body, std::string& why);
std::optional<JoinReply> DecodeJoinReply(std::string_view body, std::string& why);
std::optional<BookRequest> DecodeBookRequest(std::string_view body, std::string& why);
std::optional<PublishRequest> DecodePublishRequest(std::string_view body, std::string& why);
std::optional<PublishReply> DecodePublishReply(std::string_view body, std::string& why);

}  // namespace studysync

// SPDX-License-Identifier: MIT
#include "sync_messages.h"

#include <sodium.h>

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>

namespace studysync {
namespace {

using nlohmann::json;

// Thrown while decoding; caught at each decoder's edge and turned into `why`.
struct Malformed {
  std::string why;
};

const json& Field(const json& object, const char* name) {
  const auto found = object.find(name);
  if (found == object.end()) throw Malformed{std::string("no \"") + name + "\""};
  return *found;
}

std::string Text(const json& object, const char* name, bool mayBeEmpty = true) {
  const json& value = Field(object, name);
  if (!value.is_string()) throw Malformed{std::string("\"") + name + "\" is not text"};
  const auto& text = value.get_ref<const std::string&>();
  if (text.size() > kMaxTextBytes) throw Malformed{std::string("\"") + name + "\" is too long"};
  if (!mayBeEmpty && text.empty()) throw Malformed{std::string("\"") + name + "\" is empty"};
  return text;
}

std::int64_t Integer(const json& object, const char* name, std::int64_t least,
                     std::int64_t most = std::numeric_limits<std::int64_t>::max()) {
  const json& value = Field(object, name);
  if (!value.is_number_integer()) {
    throw Malformed{std::string("\"") + name + "\" is not a whole number"};
  }
  // A number past int64 arrives as unsigned; it is out of range either way.
  if (value.is_number_unsigned() && value.get<std::uint64_t>() > static_cast<std::uint64_t>(most)) {
    throw Malformed{std::string("\"") + name + "\" is out of range"};
  }
  const auto number = value.get<std::int64_t>();
  if (number < least || number > most) {
    throw Malformed{std::string("\"") + name + "\" is out of range"};
  }
  return number;
}

double Real(const json& object, const char* name) {
  const json& value = Field(object, name);
  if (!value.is_number()) throw Malformed{std::string("\"") + name + "\" is not a number"};
  const double number = value.get<double>();
  if (!std::isfinite(number) || number < 0) {
    throw Malformed{std::string("\"") + name + "\" is out of range"};
  }
  return number;
}

std::optional<double> OptionalReal(const json& object, const char* name) {
  const auto found = object.find(name);
  if (found == object.end() || found->is_null()) return std::nullopt;
  return Real(object, name);
}

const json& List(const json& object, const char* name) {
  const auto found = object.find(name);
  static const json kNone = json::array();
  if (found == object.end()) return kNone;
  if (!found->is_array()) throw Malformed{std::string("\"") + name + "\" is not a list"};
  if (found->size() > kMaxItemsPerRequest) {
    throw Malformed{std::string("\"") + name + "\" has too many items"};
  }
  return *found;
}

std::string Device(const json& object, const char* name) {
  std::string device = Text(object, name);
  if (!IsDeviceId(device)) throw Malformed{std::string("\"") + name + "\" is not a device"};
  return device;
}

void Check(const json& value) {
  if (!value.is_object()) throw Malformed{"an item is not an object"};
}

json ToJson(const ItemId& id) {
  return {{"device", id.device}, {"seq", id.seq}};
}
ItemId IdFrom(const json& object) {
  return {Device(object, "device"), Integer(object, "seq", 1)};
}

json ToJson(const SyncAnswer& answer) {
  json object = ToJson(answer.id);
  object["lesson"] = answer.lesson;
  object["line1"] = answer.line1;
  object["line2"] = answer.line2;
  object["part"] = answer.part;
  object["time"] = answer.time;
  object["grade"] = answer.grade;
  object["activity"] = answer.activity;
  object["seconds"] = answer.seconds;
  return object;
}
SyncAnswer AnswerFrom(const json& object) {
  Check(object);
  SyncAnswer answer;
  answer.id = IdFrom(object);
  answer.lesson = Text(object, "lesson", false);
  answer.line1 = Text(object, "line1", false);
  answer.line2 = Text(object, "line2");
  answer.part = object.contains("part") ? Text(object, "part") : std::string();
  answer.time = Integer(object, "time", 0);
  answer.grade = static_cast<int>(Integer(object, "grade", 1, 4));
  answer.activity = Text(object, "activity", false);
  answer.seconds = Real(object, "seconds");
  return answer;
}

json ToJson(const SyncWithdrawal& withdrawal) {
  json object = ToJson(withdrawal.answer);
  object["time"] = withdrawal.time;
  return object;
}
SyncWithdrawal WithdrawalFrom(const json& object) {
  Check(object);
  return {IdFrom(object), Integer(object, "time", 0)};
}

json ToJson(const SyncResult& result) {
  json object = ToJson(result.id);
  object["time"] = result.time;
  object["activity"] = result.activity;
  object["lesson"] = result.lesson;
  object["right"] = result.right;
  object["total"] = result.total;
  object["seconds"] = result.seconds;
  if (result.wordsPerMinute) object["wpm"] = *result.wordsPerMinute;
  if (result.accuracy) object["accuracy"] = *result.accuracy;
  return object;
}
SyncResult ResultFrom(const json& object) {
  Check(object);
  SyncResult result;
  result.id = IdFrom(object);
  result.time = Integer(object, "time", 0);
  result.activity = Text(object, "activity", false);
  result.lesson = Text(object, "lesson");
  constexpr std::int64_t kMostItems = 1'000'000;
  result.total = static_cast<int>(Integer(object, "total", 0, kMostItems));
  result.right = static_cast<int>(Integer(object, "right", 0, result.total));
  result.seconds = Real(object, "seconds");
  result.wordsPerMinute = OptionalReal(object, "wpm");
  result.accuracy = OptionalReal(object, "accuracy");
  return result;
}

json ToJson(const SyncSetting& setting) {
  return {{"name", setting.name}, {"value", setting.value}, {"changed", setting.changed}};
}
SyncSetting SettingFrom(const json& object) {
  Check(object);
  return {Text(object, "name", false), Text(object, "value"), Integer(object, "changed", 0)};
}

json ToJson(const BookVersion& book) {
  return {{"book", book.book}, {"version", book.version}};
}
BookVersion BookVersionFrom(const json& object) {
  Check(object);
  return {static_cast<int>(Integer(object, "book", 1, kPublishedBooks)),
          Integer(object, "version", 1)};
}

template <typename Item>
json ListJson(const std::vector<Item>& items) {
  json list = json::array();
  for (const Item& item : items) list.push_back(ToJson(item));
  return list;
}

template <typename Item>
std::vector<Item> ListFrom(const json& object, const char* name, Item (*from)(const json&)) {
  std::vector<Item> items;
  for (const json& value : List(object, name)) items.push_back(from(value));
  return items;
}

void AddItems(json& object, const SyncItems& items) {
  object["answers"] = ListJson(items.answers);
  object["withdrawals"] = ListJson(items.withdrawals);
  object["results"] = ListJson(items.results);
  object["settings"] = ListJson(items.settings);
}
SyncItems ItemsFrom(const json& object) {
  SyncItems items;
  items.answers = ListFrom(object, "answers", AnswerFrom);
  items.withdrawals = ListFrom(object, "withdrawals", WithdrawalFrom);
  items.results = ListFrom(object, "results", ResultFrom);
  items.settings = ListFrom(object, "settings", SettingFrom);
  return items;
}

// Optional, for devices and servers from before books were handed out: at most one
// version of each book.
void AddBooks(json& object, const std::vector<BookVersion>& books) {
  if (!books.empty()) object["books"] = ListJson(books);
}
std::vector<BookVersion> BooksFrom(const json& object) {
  auto books = ListFrom(object, "books", BookVersionFrom);
  std::vector<bool> seen(kPublishedBooks + 1, false);
  for (const BookVersion& book : books) {
    if (seen[static_cast<std::size_t>(book.book)]) throw Malformed{"a book is named twice"};
    seen[static_cast<std::size_t>(book.book)] = true;
  }
  return books;
}

constexpr int kBase64 = sodium_base64_VARIANT_ORIGINAL;

std::string ToBase64(const std::string& bytes) {
  std::string text(sodium_base64_ENCODED_LEN(bytes.size(), kBase64), '\0');
  sodium_bin2base64(text.data(), text.size(), reinterpret_cast<const unsigned char*>(bytes.data()),
                    bytes.size(), kBase64);
  text.pop_back();  // the terminating NUL
  return text;
}

std::string Base64Field(const json& object, const char* name, std::size_t most) {
  const json& value = Field(object, name);
  if (!value.is_string()) throw Malformed{std::string("\"") + name + "\" is not text"};
  const auto& text = value.get_ref<const std::string&>();
  if (text.size() / 4 * 3 > most + 2) throw Malformed{std::string("\"") + name + "\" is too long"};
  std::string bytes(text.size() / 4 * 3 + 3, '\0');
  std::size_t length = 0;
  if (sodium_base642bin(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size(), text.data(),
                        text.size(), nullptr, &length, nullptr, kBase64) != 0 ||
      length > most) {
    throw Malformed{std::string("\"") + name + "\" is not base64 of at most " +
                    std::to_string(most) + " bytes"};
  }
  bytes.resize(length);
  return bytes;
}

template <typename Message>
std::optional<Message> Decode(std::string_view body, std::size_t limit, std::string& why,
                              Message (*from)(const json&)) {
  if (body.size() > limit) {
    why = "the message is too large";
    return std::nullopt;
  }
  try {
    // Deep nesting is refused before it can exhaust the stack.
    int depth = 0;
    const auto parsed = json::parse(
        body.begin(), body.end(),
        [&depth](int, json::parse_event_t event, json&) {
          if (event == json::parse_event_t::object_start ||
              event == json::parse_event_t::array_start) {
            if (++depth > 8) throw Malformed{"the message is nested too deeply"};
          } else if (event == json::parse_event_t::object_end ||
                     event == json::parse_event_t::array_end) {
            --depth;
          }
          return true;
        },
        false);
    if (parsed.is_discarded()) throw Malformed{"the message is not JSON"};
    if (!parsed.is_object()) throw Malformed{"the message is not a JSON object"};
    return from(parsed);
  } catch (const Malformed& malformed) {
    why = malformed.why;
  } catch (const json::exception& error) {
    why = error.what();
  }
  return std::nullopt;
}

}  // namespace

bool IsDeviceId(std::string_view text) {
  if (text.size() != 32) return false;
  for (const char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

std::string Encode(const SyncRequest& message) {
  json object = {
      {"learner", message.learner}, {"device", message.device}, {"since", message.since}};
  AddItems(object, message.items);
  AddBooks(object, message.books);
  return object.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string Encode(const SyncReply& message) {
  json object = {{"stored_answers", message.storedAnswers},
                 {"stored_withdrawals", message.storedWithdrawals},
                 {"stored_results", message.storedResults},
                 {"cursor", message.cursor},
                 {"more", message.more}};
  AddItems(object, message.items);
  AddBooks(object, message.books);
  return object.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string Encode(const JoinRequest& message) {
  return json{
      {"secret", message.secret}, {"device", message.device}, {"device_name", message.deviceName}}
      .dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string Encode(const JoinReply& message) {
  return json{{"token", message.token},
              {"learner", message.learner},
              {"number", message.number},
              {"name", message.name},
              {"class", message.className}}
      .dump(-1, ' ', false, json::error_handler_t::replace);
}

std::optional<SyncRequest> DecodeSyncRequest(std::string_view body, std::string& why) {
  return Decode<SyncRequest>(body, kMaxRequestBytes, why, [](const json& object) {
    SyncRequest message;
    message.learner = Integer(object, "learner", 1);
    message.device = Device(object, "device");
    message.since = Integer(object, "since", 0);
    message.items = ItemsFrom(object);
    message.books = BooksFrom(object);
    return message;
  });
}

std::optional<SyncReply> DecodeSyncReply(std::string_view body, std::string& why) {
  return Decode<SyncReply>(body, kMaxReplyBytes, why, [](const json& object) {
    SyncReply message;
    message.storedAnswers = Integer(object, "stored_answers", 0);
    message.storedWithdrawals = Integer(object, "stored_withdrawals", 0);
    message.storedResults = Integer(object, "stored_results", 0);
    message.cursor = Integer(object, "cursor", 0);
    const json& more = Field(object, "more");
    if (!more.is_boolean()) throw Malformed{"\"more\" is not true or false"};
    message.more = more.get<bool>();
    message.items = ItemsFrom(object);
    message.books = BooksFrom(object);
    return message;
  });
}

std::string Encode(const BookRequest& message) {
  return ToJson(message.wanted).dump();
}

std::optional<BookRequest> DecodeBookRequest(std::string_view body, std::string& why) {
  return Decode<BookRequest>(body, kMaxRequestBytes, why, [](const json& object) {
    return BookRequest{BookVersionFrom(object)};
  });
}

std::string Encode(const PublishRequest& message) {
  return json{{"teacher", message.teacher},           {"password", message.password},
              {"class", message.className},           {"book", message.book},
              {"content", ToBase64(message.content)}, {"phonetics", ToBase64(message.phonetics)}}
      .dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string Encode(const PublishReply& message) {
  return json{
      {"version", message.version}, {"lessons", message.lessons}, {"entries", message.entries}}
      .dump();
}

std::optional<PublishRequest> DecodePublishRequest(std::string_view body, std::string& why) {
  return Decode<PublishRequest>(body, kMaxRequestBytes, why, [](const json& object) {
    return PublishRequest{Text(object, "teacher", false),
                          Text(object, "password", false),
                          Text(object, "class", false),
                          static_cast<int>(Integer(object, "book", 1, kPublishedBooks)),
                          Base64Field(object, "content", kMaxBookBytes),
                          object.contains("phonetics")
                              ? Base64Field(object, "phonetics", kMaxBookPhoneticsBytes)
                              : std::string()};
  });
}

std::optional<PublishReply> DecodePublishReply(std::string_view body, std::string& why) {
  return Decode<PublishReply>(body, kMaxReplyBytes, why, [](const json& object) {
    return PublishReply{Integer(object, "version", 1), Integer(object, "lessons", 0),
                        Integer(object, "entries", 0)};
  });
}

std::optional<JoinRequest> DecodeJoinRequest(std::string_view body, std::string& why) {
  return Decode<JoinRequest>(body, kMaxRequestBytes, why, [](const json& object) {
    return JoinRequest{Text(object, "secret", false), Device(object, "device"),
                       Text(object, "device_name")};
  });
}

std::optional<JoinReply> DecodeJoinReply(std::string_view body, std::string& why) {
  return Decode<JoinReply>(body, kMaxReplyBytes, why, [](const json& object) {
    return JoinReply{Text(object, "token", false), Integer(object, "learner", 1),
                     Text(object, "number"), Text(object, "name"), Text(object, "class")};
  });
}

}  // namespace studysync

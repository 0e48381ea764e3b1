// SPDX-License-Identifier: MIT
#include "sync_store.h"

#include "pg_array.h"
#include "secrets.h"
#include "sync_rules.h"

namespace hub {
namespace {

using studysync::ItemId;
using studysync::SyncItems;

constexpr std::size_t kPage = studysync::kMaxItemsPerRequest;
// The texts of one reply at most: JSON escaping makes at most six bytes of one, and every
// reply stays below what a device takes in (kMaxReplyBytes).
constexpr std::size_t kMostPageBytes = studysync::kMaxReplyBytes / 8;
// What an item takes in a reply besides its texts: names, numbers, punctuation.
constexpr std::size_t kItemBytes = 256;

template <typename Items, typename Field>
std::vector<std::string_view> Texts(const Items& items, Field field) {
  std::vector<std::string_view> texts;
  for (const auto& item : items) texts.push_back(field(item));
  return texts;
}

template <typename Items, typename Field>
std::vector<std::int64_t> Integers(const Items& items, Field field) {
  std::vector<std::int64_t> numbers;
  for (const auto& item : items) numbers.push_back(field(item));
  return numbers;
}

template <typename Items, typename Field>
std::vector<std::optional<double>> Reals(const Items& items, Field field) {
  std::vector<std::optional<double>> numbers;
  for (const auto& item : items) numbers.push_back(field(item));
  return numbers;
}

// Each statement takes the whole batch as arrays: the new items (not yet stored, each seq
// once) are numbered after the learner's counter in seq order. $1 learner, $2 device,
// $3 counter, $4 the seqs.
constexpr const char* kStoreAnswers =
    "INSERT INTO answers (learner_id, device, seq, number, lesson, line1, line2, part, time,"
    " grade, activity, seconds)"
    " SELECT $1, $2, t.seq, $3::bigint + row_number() OVER (ORDER BY t.seq), t.lesson, t.line1,"
    " t.line2, t.part, t.time, t.grade, t.activity, t.seconds FROM ("
    "  SELECT DISTINCT ON (u.seq) u.* FROM unnest($4::bigint[], $5::text[], $6::text[],"
    "  $7::text[], $8::text[], $9::bigint[], $10::smallint[], $11::text[], $12::float8[])"
    "  AS u(seq, lesson, line1, line2, part, time, grade, activity, seconds)"
    "  WHERE NOT EXISTS (SELECT 1 FROM answers a"
    "   WHERE a.learner_id = $1 AND a.device = $2 AND a.seq = u.seq)"
    "  ORDER BY u.seq) t";

constexpr const char* kStoreWithdrawals =
    "INSERT INTO withdrawals (learner_id, device, seq, number, time)"
    " SELECT $1, $2, t.seq, $3::bigint + row_number() OVER (ORDER BY t.seq), t.time FROM ("
    "  SELECT DISTINCT ON (u.seq) u.* FROM unnest($4::bigint[], $5::bigint[]) AS u(seq, time)"
    "  WHERE NOT EXISTS (SELECT 1 FROM withdrawals w"
    "   WHERE w.learner_id = $1 AND w.device = $2 AND w.seq = u.seq)"
    "  ORDER BY u.seq) t";

constexpr const char* kStoreResults =
    "INSERT INTO results (learner_id, device, seq, number, time, activity, lesson, right_count,"
    " total, seconds, words_per_minute, accuracy)"
    " SELECT $1, $2, t.seq, $3::bigint + row_number() OVER (ORDER BY t.seq), t.time, t.activity,"
    " t.lesson, t.right_count, t.total, t.seconds, t.wpm, t.accuracy FROM ("
    "  SELECT DISTINCT ON (u.seq) u.* FROM unnest($4::bigint[], $5::bigint[], $6::text[],"
    "  $7::text[], $8::integer[], $9::integer[], $10::float8[], $11::float8[], $12::float8[])"
    "  AS u(seq, time, activity, lesson, right_count, total, seconds, wpm, accuracy)"
    "  WHERE NOT EXISTS (SELECT 1 FROM results r"
    "   WHERE r.learner_id = $1 AND r.device = $2 AND r.seq = u.seq)"
    "  ORDER BY u.seq) t";

// Latest change wins; on a tie the larger value, as the devices decide it too.
constexpr const char* kStoreSettings =
    "INSERT INTO settings AS s (learner_id, name, value, changed)"
    " SELECT $1, u.name, u.value, u.changed"
    " FROM unnest($2::text[], $3::text[], $4::bigint[]) AS u(name, value, changed)"
    " ON CONFLICT (learner_id, name) DO UPDATE SET value = EXCLUDED.value,"
    " changed = EXCLUDED.changed WHERE (s.changed, s.value) < (EXCLUDED.changed, EXCLUDED.value)";

// $1 learner, $2 the asking device, $3 since, $4 how many at most.
constexpr const char* kPageOfAnswers =
    "SELECT number, device, seq, lesson, line1, line2, part, time, grade, activity, seconds"
    " FROM answers WHERE learner_id = $1 AND number > $3 AND device <> $2"
    " ORDER BY number LIMIT $4";
constexpr const char* kPageOfWithdrawals =
    "SELECT number, device, seq, time FROM withdrawals"
    " WHERE learner_id = $1 AND number > $3 AND device <> $2 ORDER BY number LIMIT $4";
constexpr const char* kPageOfResults =
    "SELECT number, device, seq, time, activity, lesson, right_count, total, seconds,"
    " words_per_minute, accuracy FROM results"
    " WHERE learner_id = $1 AND number > $3 AND device <> $2 ORDER BY number LIMIT $4";

class Storing {
 public:
  Storing(Database& database, const DeviceOfToken& device, std::int64_t counter)
      : database_(database), device_(device), counter_(counter) {}

  // Runs a batch statement; the number of rows it stored, counted past the counter.
  std::int64_t store(const char* sql, std::vector<Parameter> arrays) {
    std::vector<Parameter> parameters{std::to_string(device_.learner), device_.device,
                                      std::to_string(counter_)};
    for (auto& array : arrays) parameters.push_back(std::move(array));
    const std::int64_t stored = database_.run(sql, parameters).affected();
    counter_ += stored;
    return stored;
  }
  std::int64_t counter() const { return counter_; }

 private:
  Database& database_;
  const DeviceOfToken& device_;
  std::int64_t counter_;
};

void StoreItems(Storing& storing, const SyncItems& items, studysync::SyncReply& reply) {
  const auto& answers = items.answers;
  if (!answers.empty()) {
    reply.storedAnswers = storing.store(
        kStoreAnswers,
        {IntegerArray(Integers(answers, [](const auto& a) { return a.id.seq; })),
         TextArray(Texts(answers, [](const auto& a) -> std::string_view { return a.lesson; })),
         TextArray(Texts(answers, [](const auto& a) -> std::string_view { return a.line1; })),
         TextArray(Texts(answers, [](const auto& a) -> std::string_view { return a.line2; })),
         TextArray(Texts(answers, [](const auto& a) -> std::string_view { return a.part; })),
         IntegerArray(Integers(answers, [](const auto& a) { return a.time; })),
         IntegerArray(Integers(answers, [](const auto& a) { return a.grade; })),
         TextArray(Texts(answers, [](const auto& a) -> std::string_view { return a.activity; })),
         RealArray(Reals(answers, [](const auto& a) { return a.seconds; }))});
  }
  const auto& withdrawals = items.withdrawals;
  if (!withdrawals.empty()) {
    reply.storedWithdrawals = storing.store(
        kStoreWithdrawals,
        {IntegerArray(Integers(withdrawals, [](const auto& w) { return w.answer.seq; })),
         IntegerArray(Integers(withdrawals, [](const auto& w) { return w.time; }))});
  }
  const auto& results = items.results;
  if (!results.empty()) {
    reply.storedResults = storing.store(
        kStoreResults,
        {IntegerArray(Integers(results, [](const auto& r) { return r.id.seq; })),
         IntegerArray(Integers(results, [](const auto& r) { return r.time; })),
         TextArray(Texts(results, [](const auto& r) -> std::string_view { return r.activity; })),
         TextArray(Texts(results, [](const auto& r) -> std::string_view { return r.lesson; })),
         IntegerArray(Integers(results, [](const auto& r) { return r.right; })),
         IntegerArray(Integers(results, [](const auto& r) { return r.total; })),
         RealArray(Reals(results, [](const auto& r) { return r.seconds; })),
         RealArray(Reals(results, [](const auto& r) { return r.wordsPerMinute; })),
         RealArray(Reals(results, [](const auto& r) { return r.accuracy; }))});
  }
}

void StoreSettings(Database& database, std::int64_t learner,
                   const std::vector<studysync::SyncSetting>& sent) {
  const auto settings = LatestSettings(sent);
  if (settings.empty()) return;
  database.run(
      kStoreSettings,
      {std::to_string(learner),
       TextArray(Texts(settings, [](const auto& s) -> std::string_view { return s.name; })),
       TextArray(Texts(settings, [](const auto& s) -> std::string_view { return s.value; })),
       IntegerArray(Integers(settings, [](const auto& s) { return s.changed; }))});
}

// Each row's number (column 0) and the bytes of its texts (the given columns).
std::vector<PageItem> PageItems(const Rows& rows, std::initializer_list<int> textColumns) {
  std::vector<PageItem> items;
  for (int row = 0; row < rows.size(); ++row) {
    std::size_t bytes = kItemBytes;
    for (const int column : textColumns) {
      bytes += static_cast<std::size_t>(PQgetlength(rows.result(), row, column));
    }
    items.push_back({rows.integer(row, 0), bytes});
  }
  return items;
}

ItemId IdAt(const Rows& rows, int row) {
  return {rows.text(row, 1), rows.integer(row, 2)};
}

std::optional<double> MaybeReal(const Rows& rows, int row, int column) {
  if (rows.isNull(row, column)) return std::nullopt;
  return rows.real(row, column);
}

// The other devices' items after `since`, a page of each kind cut at one number.
void ReadPage(Database& database, const DeviceOfToken& device, std::int64_t since,
              std::int64_t counter, studysync::SyncReply& reply) {
  const std::vector<Parameter> parameters{std::to_string(device.learner), device.device,
                                          std::to_string(since), std::to_string(kPage + 1)};
  const Rows answers = database.run(kPageOfAnswers, parameters);
  const Rows withdrawals = database.run(kPageOfWithdrawals, parameters);
  const Rows results = database.run(kPageOfResults, parameters);
  const auto end = PageEnd({PageItems(answers, {1, 3, 4, 5, 6, 9}), PageItems(withdrawals, {1}),
                            PageItems(results, {1, 4, 5})},
                           kPage, kMostPageBytes);
  const auto inPage = [&](const Rows& rows, int row) {
    return !end || rows.integer(row, 0) <= *end;
  };
  for (int row = 0; row < answers.size() && inPage(answers, row); ++row) {
    reply.items.answers.push_back(
        {IdAt(answers, row), answers.text(row, 3), answers.text(row, 4), answers.text(row, 5),
         answers.text(row, 6), answers.integer(row, 7), static_cast<int>(answers.integer(row, 8)),
         answers.text(row, 9), answers.real(row, 10)});
  }
  for (int row = 0; row < withdrawals.size() && inPage(withdrawals, row); ++row) {
    reply.items.withdrawals.push_back({IdAt(withdrawals, row), withdrawals.integer(row, 3)});
  }
  for (int row = 0; row < results.size() && inPage(results, row); ++row) {
    reply.items.results.push_back(
        {IdAt(results, row), results.integer(row, 3), results.text(row, 4), results.text(row, 5),
         static_cast<int>(results.integer(row, 6)), static_cast<int>(results.integer(row, 7)),
         results.real(row, 8), MaybeReal(results, row, 9), MaybeReal(results, row, 10)});
  }
  reply.more = end.has_value();
  reply.cursor = end.value_or(counter);
}

}  // namespace

std::optional<DeviceOfToken> FindDevice(Database& database, const std::string& token) {
  const Rows rows =
      database.run("SELECT learner_id, id FROM devices WHERE token_hash = $1", {SecretHash(token)});
  if (rows.size() == 0) return std::nullopt;
  return DeviceOfToken{rows.integer(0, 0), rows.text(0, 1)};
}

std::optional<studysync::JoinReply> Join(Database& database,
                                         const studysync::JoinRequest& request) {
  std::optional<studysync::JoinReply> reply;
  database.transaction([&] {
    const Rows code = database.run(
        "SELECT j.learner_id, l.number, l.name, c.name FROM join_codes j"
        " JOIN learners l ON l.id = j.learner_id JOIN classes c ON c.id = l.class_id"
        " WHERE j.hash = $1 AND j.used IS NULL AND j.expires > now() FOR UPDATE OF j",
        {SecretHash(request.secret)});
    if (code.size() == 0) return;
    const std::string token = RandomSecret(kTokenBytes);
    // The same device joining again (a new code for a store already joined) gets a new
    // token; its items stay its own.
    database.run(
        "INSERT INTO devices (learner_id, id, token_hash, name) VALUES ($1, $2, $3, $4)"
        " ON CONFLICT (learner_id, id) DO UPDATE SET token_hash = EXCLUDED.token_hash,"
        " name = EXCLUDED.name, joined = now()",
        {code.text(0, 0), request.device, SecretHash(token), request.deviceName});
    database.run("UPDATE join_codes SET used = now() WHERE hash = $1",
                 {SecretHash(request.secret)});
    reply = studysync::JoinReply{token, code.integer(0, 0), code.text(0, 1), code.text(0, 2),
                                 code.text(0, 3)};
  });
  return reply;
}

studysync::SyncReply Sync(Database& database, const DeviceOfToken& device,
                          const studysync::SyncRequest& request) {
  studysync::SyncReply reply;
  database.transaction([&] {
    const std::string learner = std::to_string(device.learner);
    const Rows locked =
        database.run("SELECT counter FROM learners WHERE id = $1 FOR UPDATE", {learner});
    Storing storing(database, device, locked.integer(0, 0));
    StoreItems(storing, request.items, reply);
    StoreSettings(database, device.learner, request.items.settings);
    database.run("UPDATE learners SET counter = $2 WHERE id = $1",
                 {learner, std::to_string(storing.counter())});
    database.run("UPDATE devices SET last_sync = now() WHERE learner_id = $1 AND id = $2",
                 {learner, device.device});
    ReadPage(database, device, request.since, storing.counter(), reply);
    const Rows settings =
        database.run("SELECT name, value, changed FROM settings WHERE learner_id = $1", {learner});
    for (int row = 0; row < settings.size(); ++row) {
      reply.items.settings.push_back(
          {settings.text(row, 0), settings.text(row, 1), settings.integer(row, 2)});
    }
  });
  return reply;
}

}  // namespace hub

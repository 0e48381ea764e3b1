// SPDX-License-Identifier: MIT
// The progress store's side of synchronising: this device's items not yet sent, and the
// other devices' items merged in, each touched card's state made again from its answers.
#include <algorithm>
#include <cstdint>
#include <set>
#include <unordered_map>

#include "progress_store.h"
#include "store_schema.h"
#include "store_sql.h"

namespace study {
namespace {

using studysync::ItemId;
using studysync::SyncItems;

std::int64_t Limit(std::size_t limit) {
  return static_cast<std::int64_t>(std::min<std::size_t>(limit, INT64_MAX));
}

// Reads every row of `query` with `use`; false, with `failure` set, when SQLite fails.
template <typename Use>
bool ReadRows(const Database& db, Statement& query, StoreFailure& failure, const Use& use) {
  int rc;
  while ((rc = query.step()) == SQLITE_ROW) use(query);
  if (rc == SQLITE_DONE) return true;
  failure = FailureOf(db, rc);
  return false;
}

// The day start, when it changed since it was last sent.
int UnsentDayStart(const Database& db, SyncItems& items) {
  std::optional<std::string> value;
  std::int64_t changed = -1;
  std::int64_t sent = -1;
  int rc = ReadSetting(db, kDayStartSetting, value);
  if (rc == SQLITE_OK) rc = ReadNumber(db, kDayStartChangedSetting, changed);
  if (rc == SQLITE_OK) rc = ReadNumber(db, kDayStartSentSetting, sent);
  if (rc == SQLITE_OK && value && changed >= 0 && changed != sent) {
    items.settings.push_back({kDayStartSetting, *value, changed});
  }
  return rc;
}

// The highest of this device's numbers among `items`, or `floor`.
template <typename Item, typename IdOf>
std::int64_t HighestOwn(const std::vector<Item>& items, const std::string& device,
                        std::int64_t floor, const IdOf& idOf) {
  for (const Item& item : items) {
    const ItemId& id = idOf(item);
    if (id.device == device) floor = std::max(floor, id.seq);
  }
  return floor;
}

int RaiseMark(const Database& db, const char* name, std::int64_t seq) {
  std::int64_t mark = 0;
  const int rc = ReadNumber(db, name, mark);
  return rc != SQLITE_OK || seq <= mark ? rc : WriteNumber(db, name, seq);
}

// Merging, one transaction's work: what came in that the store did not have, the cards
// whose answers changed, and the day start when a later one came.
class Merger {
 public:
  explicit Merger(const Database& db)
      : db_(db),
        known_(db,
               "SELECT EXISTS(SELECT 1 FROM answers WHERE device = ?1 AND seq = ?2)"
               " OR EXISTS(SELECT 1 FROM withdrawals WHERE device = ?1 AND seq = ?2)"),
        addCard_(db,
                 "INSERT INTO cards(lesson, line1, line2, added, part) VALUES(?,?,?,?,?)"
                 " ON CONFLICT(lesson, line1, line2) DO NOTHING"),
        findCard_(db, "SELECT id FROM cards WHERE lesson = ? AND line1 = ? AND line2 = ?"),
        addAnswer_(db,
                   "INSERT INTO answers(card, time, grade, activity, seconds, device, seq)"
                   " VALUES(?,?,?,?,?,?,?)"),
        withdraw_(db,
                  "INSERT INTO withdrawals(device, seq, time, sent) VALUES(?,?,?,1)"
                  " ON CONFLICT DO NOTHING"),
        dropAnswer_(db, "DELETE FROM answers WHERE device = ? AND seq = ? RETURNING card"),
        addResult_(db,
                   "INSERT INTO results(time, activity, lesson, right, total, seconds, wpm,"
                   " accuracy, device, seq) VALUES(?,?,?,?,?,?,?,?,?,?) ON CONFLICT DO NOTHING") {}

  bool settings(const std::vector<studysync::SyncSetting>& settings) {
    for (const auto& setting : settings) {
      const auto minutes =
          setting.name == kDayStartSetting ? ParseClockTime(setting.value) : std::nullopt;
      if (!minutes) continue;  // a setting this program does not know
      std::int64_t changed = -1;
      if (ReadNumber(db_, kDayStartChangedSetting, changed) != SQLITE_OK) return false;
      if (setting.changed <= changed) continue;
      // Taken from the server: nothing to send back.
      if (WriteDayStart(db_, *minutes, setting.changed) != SQLITE_OK ||
          WriteNumber(db_, kDayStartSentSetting, setting.changed) != SQLITE_OK) {
        return false;
      }
      dayStart = *minutes;
    }
    return true;
  }

  bool withdrawals(const std::vector<studysync::SyncWithdrawal>& withdrawals) {
    for (const auto& w : withdrawals) {
      withdraw_.bind(1, w.answer.device).bind(2, w.answer.seq).bind(3, w.time);
      if (!done(withdraw_)) return false;
      if (sqlite3_changes(db_.get()) == 0) continue;
      ++counts.withdrawals;
      dropAnswer_.bind(1, w.answer.device).bind(2, w.answer.seq);
      int rc;
      while ((rc = dropAnswer_.step()) == SQLITE_ROW) touched.insert(dropAnswer_.integer(0));
      dropAnswer_.reset();
      if (rc != SQLITE_DONE) return false;
    }
    return true;
  }

  bool answers(const std::vector<studysync::SyncAnswer>& answers) {
    for (const auto& a : answers) {
      known_.bind(1, a.id.device).bind(2, a.id.seq);
      const int rc = known_.step();
      const bool known = rc == SQLITE_ROW && known_.integer(0) != 0;
      known_.reset();
      if (rc != SQLITE_ROW) return false;
      if (known) continue;
      const auto card = cardOf(a);
      if (!card) return false;
      addAnswer_.bind(1, *card).bind(2, a.time).bind(3, std::int64_t{a.grade});
      addAnswer_.bind(4, a.activity).bind(5, a.seconds).bind(6, a.id.device).bind(7, a.id.seq);
      if (!done(addAnswer_)) return false;
      ++counts.answers;
      touched.insert(*card);
    }
    return true;
  }

  bool results(const std::vector<studysync::SyncResult>& results) {
    for (const auto& r : results) {
      addResult_.bind(1, r.time).bind(2, r.activity).bind(3, r.lesson);
      addResult_.bind(4, std::int64_t{r.right}).bind(5, std::int64_t{r.total});
      addResult_.bind(6, r.seconds);
      if (r.wordsPerMinute) addResult_.bind(7, *r.wordsPerMinute);
      if (r.accuracy) addResult_.bind(8, *r.accuracy);
      addResult_.bind(9, r.id.device).bind(10, r.id.seq);
      if (!done(addResult_)) return false;
      counts.results += sqlite3_changes(db_.get());
    }
    return true;
  }

  MergeCounts counts;
  std::set<std::int64_t> touched;
  std::optional<int> dayStart;

 private:
  static bool done(Statement& statement) {
    const bool ok = statement.step() == SQLITE_DONE;
    statement.reset();
    return ok;
  }

  // The answer's card, added when the store does not know it yet.
  std::optional<std::int64_t> cardOf(const studysync::SyncAnswer& a) {
    std::string key = a.lesson + '\0' + a.line1 + '\0' + a.line2;
    if (const auto found = cards_.find(key); found != cards_.end()) return found->second;
    addCard_.bind(1, a.lesson).bind(2, a.line1).bind(3, a.line2).bind(4, a.time).bind(5, a.part);
    if (!done(addCard_)) return std::nullopt;
    findCard_.bind(1, a.lesson).bind(2, a.line1).bind(3, a.line2);
    const bool found = findCard_.step() == SQLITE_ROW;
    const std::int64_t id = found ? findCard_.integer(0) : 0;
    findCard_.reset();
    if (!found) return std::nullopt;
    cards_.emplace(std::move(key), id);
    return id;
  }

  const Database& db_;
  Statement known_, addCard_, findCard_, addAnswer_, withdraw_, dropAnswer_, addResult_;
  std::unordered_map<std::string, std::int64_t> cards_;
};

}  // namespace

SyncItems ProgressStore::unsent(std::size_t limit, StoreFailure& failure) {
  SyncItems items;
  // A store from before identities, read as it is, has nothing of its own to send.
  if (deviceId_.empty()) return items;
  std::int64_t sentAnswers = 0;
  std::int64_t sentResults = 0;
  int rc = ReadNumber(*db_, kSentAnswersSetting, sentAnswers);
  if (rc == SQLITE_OK) rc = ReadNumber(*db_, kSentResultsSetting, sentResults);
  if (rc == SQLITE_OK) rc = UnsentDayStart(*db_, items);
  if (rc != SQLITE_OK) {
    failure = FailureOf(*db_, rc);
    return {};
  }
  Statement answers(*db_,
                    "SELECT a.seq, c.lesson, c.line1, c.line2, c.part, a.time, a.grade,"
                    " a.activity, a.seconds FROM answers a JOIN cards c ON c.id = a.card"
                    " WHERE a.device = ? AND a.seq > ? ORDER BY a.seq LIMIT ?");
  answers.bind(1, deviceId_).bind(2, sentAnswers).bind(3, Limit(limit));
  const bool read = ReadRows(*db_, answers, failure, [&](const Statement& row) {
    items.answers.push_back({{deviceId_, row.integer(0)},
                             row.text(1),
                             row.text(2),
                             row.text(3),
                             row.text(4),
                             row.integer(5),
                             static_cast<int>(row.integer(6)),
                             row.text(7),
                             row.real(8)});
  });
  Statement withdrawals(
      *db_, "SELECT device, seq, time FROM withdrawals WHERE sent = 0 ORDER BY time LIMIT ?");
  withdrawals.bind(1, Limit(limit));
  Statement results(*db_,
                    "SELECT seq, time, activity, lesson, right, total, seconds, wpm, accuracy"
                    " FROM results WHERE device = ? AND seq > ? ORDER BY seq LIMIT ?");
  results.bind(1, deviceId_).bind(2, sentResults).bind(3, Limit(limit));
  if (!read ||
      !ReadRows(*db_, withdrawals, failure,
                [&](const Statement& row) {
                  items.withdrawals.push_back({{row.text(0), row.integer(1)}, row.integer(2)});
                }) ||
      !ReadRows(*db_, results, failure, [&](const Statement& row) {
        const RoundResult round = RoundResultRow(row, 1);
        items.results.push_back({{deviceId_, row.integer(0)},
                                 round.time,
                                 round.activity,
                                 round.lesson,
                                 round.right,
                                 round.total,
                                 round.seconds,
                                 round.wordsPerMinute,
                                 round.accuracy});
      })) {
    return {};
  }
  return items;
}

bool ProgressStore::markSent(const SyncItems& items, StoreFailure& failure) {
  if (refusedReadOnly(failure)) return false;
  return Transaction(*db_, failure, [&] {
    const auto answerId = [](const studysync::SyncAnswer& a) -> const ItemId& { return a.id; };
    const auto resultId = [](const studysync::SyncResult& r) -> const ItemId& { return r.id; };
    if (RaiseMark(*db_, kSentAnswersSetting, HighestOwn(items.answers, deviceId_, 0, answerId)) !=
            SQLITE_OK ||
        RaiseMark(*db_, kSentResultsSetting, HighestOwn(items.results, deviceId_, 0, resultId)) !=
            SQLITE_OK) {
      return false;
    }
    Statement sent(*db_, "UPDATE withdrawals SET sent = 1 WHERE device = ? AND seq = ?");
    for (const auto& w : items.withdrawals) {
      sent.bind(1, w.answer.device).bind(2, w.answer.seq);
      if (sent.step() != SQLITE_DONE) return false;
      sent.reset();
    }
    for (const auto& setting : items.settings) {
      if (setting.name == kDayStartSetting &&
          WriteNumber(*db_, kDayStartSentSetting, setting.changed) != SQLITE_OK) {
        return false;
      }
    }
    return true;
  });
}

std::optional<MergeCounts> ProgressStore::merge(const SyncItems& incoming, std::int64_t cursor,
                                                StoreFailure& failure) {
  if (refusedReadOnly(failure)) return std::nullopt;
  Merger merger(*db_);
  const bool merged = Transaction(*db_, failure, [&] {
    if (!merger.settings(incoming.settings) || !merger.withdrawals(incoming.withdrawals) ||
        !merger.answers(incoming.answers) || !merger.results(incoming.results) ||
        WriteNumber(*db_, kCursorSetting, cursor) != SQLITE_OK) {
      return false;
    }
    // A later day start counts from these answers on, as it would have had it come first.
    const Fsrs fsrs = merger.dayStart ? Fsrs(DayRule::Local(*merger.dayStart)) : fsrs_;
    StateRebuilder states(*db_, fsrs);
    for (const std::int64_t card : merger.touched) {
      if (states.rebuild(card) != SQLITE_OK) return false;
    }
    return true;
  });
  if (!merged) return std::nullopt;
  if (merger.dayStart) fsrs_ = Fsrs(DayRule::Local(*merger.dayStart));
  return merger.counts;
}

std::int64_t ProgressStore::cursor(StoreFailure& failure) {
  std::int64_t cursor = 0;
  const int rc = ReadNumber(*db_, kCursorSetting, cursor);
  if (rc != SQLITE_OK) failure = FailureOf(*db_, rc);
  return cursor;
}

}  // namespace study

// SPDX-License-Identifier: MIT
#include "progress_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>

namespace study {
namespace {

constexpr int kBusyMillis = 5000;  // another program of the suite finishing its answer

constexpr const char* kSchemaVersion1 =
    "CREATE TABLE cards(id INTEGER PRIMARY KEY, lesson TEXT NOT NULL, line1 TEXT NOT NULL,"
    " line2 TEXT NOT NULL, added INTEGER NOT NULL, UNIQUE(lesson, line1, line2));"
    "CREATE TABLE answers(id INTEGER PRIMARY KEY, card INTEGER NOT NULL REFERENCES cards(id),"
    " time INTEGER NOT NULL, grade INTEGER NOT NULL CHECK(grade BETWEEN 1 AND 4),"
    " activity TEXT NOT NULL, seconds REAL NOT NULL);"
    "CREATE INDEX answers_by_card ON answers(card, id);"
    "CREATE INDEX answers_by_time ON answers(time);";

constexpr const char* kSchemaVersion2 =
    "CREATE TABLE card_state(card INTEGER PRIMARY KEY REFERENCES cards(id),"
    " reps INTEGER NOT NULL, lapses INTEGER NOT NULL, stability REAL NOT NULL,"
    " difficulty REAL NOT NULL, last_answer INTEGER NOT NULL, due INTEGER NOT NULL,"
    " interval_days INTEGER NOT NULL, last_grade INTEGER NOT NULL);"
    "CREATE INDEX card_state_by_due ON card_state(due);";

constexpr const char* kSchemaVersion3 =
    "CREATE TABLE results(id INTEGER PRIMARY KEY, time INTEGER NOT NULL, activity TEXT NOT NULL,"
    " lesson TEXT NOT NULL, right INTEGER NOT NULL, total INTEGER NOT NULL,"
    " seconds REAL NOT NULL, wpm REAL, accuracy REAL);"
    "CREATE INDEX results_by_activity ON results(activity, lesson, time);";

constexpr const char* kSchemaVersion4 =
    "ALTER TABLE cards ADD COLUMN part TEXT NOT NULL DEFAULT ''";

constexpr const char* kSchemaVersion5 =
    "CREATE TABLE settings(name TEXT PRIMARY KEY, value TEXT NOT NULL)";

constexpr const char* kDayStartSetting = "day_start";
// Read-only, a store from version 4 on is read as it is (without settings before 5).
constexpr int kOldestReadable = 4;

constexpr const char* kResultColumns =
    "time, activity, lesson, right, total, seconds, wpm, accuracy";

constexpr const char* kStateColumns =
    "s.reps, s.lapses, s.stability, s.difficulty, s.last_answer, s.due, s.interval_days,"
    " s.last_grade";

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

std::int64_t SizeOf(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? st.st_size : 0;
}

// A new store is made readable by its owner alone, whatever the folder's mode; SQLite gives
// its -wal and -shm the store's mode. An existing file is left as it is.
void MakeOwnersOnly(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd >= 0) ::close(fd);
}

StoreFailure FailureOf(const Database& db, int code) {
  return {code, db ? db.error() : sqlite3_errstr(code)};
}

// The state columns from `first` on (NULL when the card was never answered).
CardState StateAt(const Statement& row, int first) {
  CardState state;
  if (row.isNull(first)) return state;
  state.reps = static_cast<int>(row.integer(first));
  state.lapses = static_cast<int>(row.integer(first + 1));
  state.memory = {row.real(first + 2), row.real(first + 3)};
  state.lastAnswer = row.integer(first + 4);
  state.due = row.integer(first + 5);
  state.intervalDays = static_cast<int>(row.integer(first + 6));
  state.lastGrade = static_cast<int>(row.integer(first + 7));
  return state;
}

bool IsDamage(int code) {
  return code == SQLITE_NOTADB || code == SQLITE_CORRUPT;
}

bool IsNoWrite(int code) {
  const int primary = code & 0xFF;
  return primary == SQLITE_READONLY || primary == SQLITE_CANTOPEN || primary == SQLITE_PERM ||
         primary == SQLITE_AUTH;
}

int OpenFile(const std::string& target, int flags, Database& db) {
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(target.c_str(), &raw, flags, nullptr);
  db = Database(raw);
  if (rc == SQLITE_OK) sqlite3_busy_timeout(raw, kBusyMillis);
  sqlite3_extended_result_codes(raw, 1);
  return rc;
}

// What the file holds: its version, or a failure (damage, or it cannot be read).
struct Inspection {
  int version = 0;
  bool empty = false;    // a new file, or one with no tables
  bool foreign = false;  // tables, but none of ours: another program's database
  StoreFailure failure;
};

Inspection Inspect(const Database& db) {
  Inspection found;
  Statement version(db, "PRAGMA user_version");
  int rc = version.ok() ? version.step() : sqlite3_errcode(db.get());
  if (rc != SQLITE_ROW) {
    found.failure = FailureOf(db, rc);
    return found;
  }
  found.version = static_cast<int>(version.integer(0));
  Statement check(db, "PRAGMA quick_check");
  rc = check.ok() ? check.step() : sqlite3_errcode(db.get());
  if (rc != SQLITE_ROW) {
    found.failure = FailureOf(db, rc);
    return found;
  }
  if (check.text(0) != "ok") {
    found.failure = {SQLITE_CORRUPT, check.text(0)};
    return found;
  }
  Statement tables(db, "SELECT count(*) FROM sqlite_master");
  rc = tables.step();
  if (rc != SQLITE_ROW) {
    found.failure = FailureOf(db, rc);
    return found;
  }
  found.empty = tables.integer(0) == 0;
  if (found.empty && found.version != 0) found.failure = {SQLITE_CORRUPT, "no tables"};
  if (!found.empty && found.version == 0) {
    found.foreign = true;
    found.failure = {SQLITE_NOTADB, "a database of another program"};
  }
  return found;
}

std::string DamagedName(const std::string& path, Millis now) {
  const std::time_t seconds = static_cast<std::time_t>(now / 1000);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &utc);
  std::string name = path + ".damaged-" + stamp;
  for (int n = 2; Exists(name); ++n) name = path + ".damaged-" + stamp + "-" + std::to_string(n);
  return name;
}

// Moves the store and its journal files aside; false (errno kept) when it cannot.
bool KeepAside(const std::string& path, const std::string& keptAs) {
  if (std::rename(path.c_str(), keptAs.c_str()) != 0) return false;
  for (const char* suffix : {"-wal", "-shm"}) {
    if (Exists(path + suffix)) std::rename((path + suffix).c_str(), (keptAs + suffix).c_str());
  }
  return true;
}

}  // namespace

CardState ReplayCard(const Fsrs& fsrs, const std::vector<std::pair<Millis, Grade>>& answers) {
  CardState state;
  for (const auto& [time, grade] : answers) state = fsrs.answer(state, grade, time);
  return state;
}

ProgressStore::ProgressStore(Database db, std::string path, bool readOnly, DayRule days)
    : db_(std::move(db)), path_(std::move(path)), readOnly_(readOnly), fsrs_(days) {}

bool ProgressStore::transaction(StoreFailure& failure, const auto& work) {
  int rc = db_.exec("BEGIN IMMEDIATE");
  if (rc != SQLITE_OK) {
    failure = FailureOf(db_, rc);
    return false;
  }
  if (!work()) {
    if (failure.code == SQLITE_OK) failure = FailureOf(db_, sqlite3_errcode(db_.get()));
    db_.exec("ROLLBACK");
    return false;
  }
  rc = db_.exec("COMMIT");
  if (rc != SQLITE_OK) {
    failure = FailureOf(db_, rc);
    db_.exec("ROLLBACK");
    return false;
  }
  return true;
}

namespace {

// Version 1 kept only the answers: every learned card's state, made from its answers in
// the order they were given.
int StatesFromAnswers(const Database& db) {
  const Fsrs fsrs;
  std::map<std::int64_t, std::vector<std::pair<Millis, Grade>>> answers;
  Statement rows(db, "SELECT card, time, grade FROM answers ORDER BY card, id");
  int rc;
  while ((rc = rows.step()) == SQLITE_ROW) {
    answers[rows.integer(0)].emplace_back(rows.integer(1), static_cast<Grade>(rows.integer(2)));
  }
  if (rc != SQLITE_DONE) return rc;
  Statement insert(db, "INSERT INTO card_state VALUES(?,?,?,?,?,?,?,?,?)");
  for (const auto& [card, given] : answers) {
    const CardState s = ReplayCard(fsrs, given);
    insert.bind(1, card).bind(2, std::int64_t{s.reps}).bind(3, std::int64_t{s.lapses});
    insert.bind(4, s.memory.stability).bind(5, s.memory.difficulty).bind(6, s.lastAnswer);
    insert.bind(7, s.due).bind(8, std::int64_t{s.intervalDays});
    insert.bind(9, std::int64_t{s.lastGrade});
    if (insert.step() != SQLITE_DONE) return sqlite3_errcode(db.get());
    insert.reset();
  }
  return SQLITE_OK;
}

int ToVersion1(const Database& db) {
  return db.exec(kSchemaVersion1);
}
int ToVersion2(const Database& db) {
  const int rc = db.exec(kSchemaVersion2);
  return rc == SQLITE_OK ? StatesFromAnswers(db) : rc;
}
int ToVersion3(const Database& db) {
  return db.exec(kSchemaVersion3);
}
int ToVersion4(const Database& db) {
  return db.exec(kSchemaVersion4);
}
int ToVersion5(const Database& db) {
  return db.exec(kSchemaVersion5);
}

// Step n brings a store of version n to version n + 1; a new store takes every step.
constexpr int (*kUpgrades[])(const Database&) = {ToVersion1, ToVersion2, ToVersion3, ToVersion4,
                                                 ToVersion5};
static_assert(std::size(kUpgrades) == kStoreVersion);

// The day start the store keeps, if it keeps one.
int ReadDayStart(const Database& db, int& minutes) {
  Statement setting(db, "SELECT value FROM settings WHERE name = ?");
  setting.bind(1, kDayStartSetting);
  const int rc = setting.step();
  if (rc == SQLITE_ROW) minutes = ParseClockTime(setting.text(0)).value_or(minutes);
  return rc == SQLITE_ROW || rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// Brings a store from `version` to the newest, in one transaction.
int Prepare(const Database& db, int version) {
  if (version == kStoreVersion) return SQLITE_OK;
  int rc = db.exec("BEGIN IMMEDIATE");
  for (int step = version; rc == SQLITE_OK && step < kStoreVersion; ++step) {
    rc = kUpgrades[step](db);
  }
  if (rc == SQLITE_OK) {
    rc = db.exec(("PRAGMA user_version = " + std::to_string(kStoreVersion)).c_str());
  }
  if (rc == SQLITE_OK) rc = db.exec("COMMIT");
  if (rc != SQLITE_OK) db.exec("ROLLBACK");
  return rc;
}

}  // namespace

std::unique_ptr<ProgressStore> ProgressStore::Open(const std::string& path, Millis now,
                                                   OpenResult& result, StoreAccess access) {
  result = {};
  Database db;
  bool readOnly = access == StoreAccess::Read;
  int rc = SQLITE_CANTOPEN;
  if (!readOnly) {
    MakeOwnersOnly(path);
    rc = OpenFile(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, db);
  }
  if (rc != SQLITE_OK) {
    readOnly = true;
    rc = OpenFile(path, SQLITE_OPEN_READONLY, db);
  }
  if (rc != SQLITE_OK) {
    result.failure = FailureOf(db, rc);
    return nullptr;
  }
  readOnly = readOnly || sqlite3_db_readonly(db.get(), "main") == 1;
  Inspection found = Inspect(db);
  if (readOnly && IsNoWrite(found.failure.code)) {
    // A WAL store in a folder we may not write cannot even be read the ordinary way.
    rc = OpenFile("file:" + path + "?immutable=1", SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, db);
    found = rc == SQLITE_OK ? Inspect(db) : Inspection{0, false, false, FailureOf(db, rc)};
    result.mayBeOutOfDate = SizeOf(path + "-wal") > 0;
  }
  if (found.empty && result.mayBeOutOfDate) {
    result.failure = {SQLITE_CANTOPEN, "all of it is still in its -wal, which cannot be read here"};
    return nullptr;
  }
  if (readOnly && (found.empty || found.foreign || found.failure.code == SQLITE_NOTADB)) {
    result.outcome = OpenResult::Outcome::NotOurs;
    result.failure = found.empty ? StoreFailure{SQLITE_NOTADB, "an empty file"} : found.failure;
    return nullptr;
  }
  if (IsDamage(found.failure.code)) {
    db = Database();
    result.failure = found.failure;
    result.keptAs = DamagedName(path, now);
    if (readOnly || !KeepAside(path, result.keptAs)) {
      result.keptAs.clear();
      return nullptr;  // Failed: damaged and it cannot be moved aside
    }
    const OpenResult damaged = result;
    auto fresh = Open(path, now, result);
    if (fresh) {
      result.outcome = OpenResult::Outcome::DamagedKeptAside;
      result.keptAs = damaged.keptAs;
      result.failure = damaged.failure;
    }
    return fresh;
  }
  if (found.failure.code != SQLITE_OK) {
    result.failure = found.failure;
    return nullptr;
  }
  if (found.version > kStoreVersion) {
    result.outcome = OpenResult::Outcome::TooNew;
    result.foundVersion = found.version;
    return nullptr;
  }
  if (!readOnly) {
    rc = db.exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL");
    if (rc == SQLITE_OK) rc = Prepare(db, found.version);
    if (IsNoWrite(rc)) {
      readOnly = true;  // the file or its folder turned out not to take writes
    } else if (rc != SQLITE_OK) {
      result.failure = FailureOf(db, rc);
      return nullptr;
    }
  }
  if (readOnly && found.version < kOldestReadable) {
    result.failure = {SQLITE_READONLY, "an older store that cannot be brought up to date"};
    return nullptr;
  }
  int dayStart = kDefaultDayStartMinutes;
  // A version 4 store read as it is has no settings yet.
  rc = readOnly && found.version < 5 ? SQLITE_OK : ReadDayStart(db, dayStart);
  if (rc != SQLITE_OK) {
    result.failure = FailureOf(db, rc);
    return nullptr;
  }
  result.outcome = readOnly ? OpenResult::Outcome::ReadOnly : OpenResult::Outcome::Opened;
  return std::unique_ptr<ProgressStore>(
      new ProgressStore(std::move(db), path, readOnly, DayRule::Local(dayStart)));
}

bool ProgressStore::setDayStart(int minutes, StoreFailure& failure) {
  if (readOnly_) {
    failure = {SQLITE_READONLY, "the store is read-only"};
    return false;
  }
  const bool kept = transaction(failure, [&] {
    Statement save(db_, "INSERT OR REPLACE INTO settings(name, value) VALUES(?, ?)");
    save.bind(1, kDayStartSetting).bind(2, FormatClockTime(minutes));
    return save.step() == SQLITE_DONE;
  });
  if (kept) fsrs_ = Fsrs(DayRule::Local(minutes));
  return kept;
}

std::vector<Card> ProgressStore::lessonCards(const std::string& lesson,
                                             const std::vector<EntryText>& entries,
                                             StoreFailure& failure) {
  if (!readOnly_) {
    transaction(failure, [&] {
      Statement insert(db_,
                       "INSERT INTO cards(lesson, line1, line2, added, part)"
                       " VALUES(?1,?2,?3,strftime('%s','now')*1000,?4)"
                       " ON CONFLICT(lesson, line1, line2) DO UPDATE SET part = ?4"
                       " WHERE part <> ?4");
      for (const EntryText& entry : entries) {
        insert.bind(1, lesson).bind(2, entry.line1).bind(3, entry.line2);
        insert.bind(4, entry.partOfSpeech);
        if (insert.step() != SQLITE_DONE) return false;
        insert.reset();
      }
      return true;
    });
  }
  std::vector<Card> cards;
  Statement find(db_, std::string("SELECT c.id, ") + kStateColumns +
                          " FROM cards c LEFT JOIN card_state s ON s.card = c.id"
                          " WHERE c.lesson = ? AND c.line1 = ? AND c.line2 = ?");
  for (const EntryText& entry : entries) {
    Card card{0, lesson, entry.line1, entry.line2, {}, entry.partOfSpeech};
    find.bind(1, lesson).bind(2, entry.line1).bind(3, entry.line2);
    const int rc = find.step();
    if (rc == SQLITE_ROW) {
      card.id = find.integer(0);
      card.state = StateAt(find, 1);
    } else if (rc != SQLITE_DONE) {
      failure = FailureOf(db_, rc);
    }
    find.reset();
    cards.push_back(std::move(card));
  }
  return cards;
}

std::optional<Card> ProgressStore::nextDue(Millis now, const std::vector<std::int64_t>& skip,
                                           StoreFailure& failure) {
  Statement next(db_, std::string("SELECT c.id, c.lesson, c.line1, c.line2, c.part, ") +
                          kStateColumns +
                          " FROM card_state s JOIN cards c ON c.id = s.card"
                          " WHERE s.due < ? ORDER BY s.due, s.card LIMIT ?");
  next.bind(1, dayRule().startOf(dayRule().dayOf(now) + 1));
  // The cards to leave out are few: one more row than them always finds another card.
  next.bind(2, static_cast<std::int64_t>(skip.size()) + 1);
  int rc;
  while ((rc = next.step()) == SQLITE_ROW) {
    const std::int64_t id = next.integer(0);
    if (std::find(skip.begin(), skip.end(), id) != skip.end()) continue;
    return Card{id, next.text(1), next.text(2), next.text(3), StateAt(next, 5), next.text(4)};
  }
  if (rc != SQLITE_DONE) failure = FailureOf(db_, rc);
  return std::nullopt;
}

DueSummary ProgressStore::dueSummary(Millis now, StoreFailure& failure) {
  DueSummary summary;
  const std::int64_t today = dayRule().dayOf(now);
  Statement counts(db_,
                   "SELECT sum(due < ?1), sum(due >= ?1 AND due < ?2), min(due) FROM card_state");
  counts.bind(1, dayRule().startOf(today + 1)).bind(2, dayRule().startOf(today + 2));
  const int rc = counts.step();
  if (rc != SQLITE_ROW) {
    failure = FailureOf(db_, rc);
    return summary;
  }
  summary.dueToday = static_cast<int>(counts.integer(0));
  summary.dueTomorrow = static_cast<int>(counts.integer(1));
  if (!counts.isNull(2)) summary.nextDue = counts.integer(2);
  return summary;
}

std::optional<CardState> ProgressStore::stateOf(std::int64_t card, StoreFailure& failure) {
  Statement find(db_, std::string("SELECT ") + kStateColumns + " FROM card_state s WHERE card = ?");
  find.bind(1, card);
  const int rc = find.step();
  if (rc == SQLITE_ROW) return StateAt(find, 0);
  if (rc == SQLITE_DONE) return CardState{};
  failure = FailureOf(db_, rc);
  return std::nullopt;
}

bool ProgressStore::saveState(std::int64_t card, const CardState& s, StoreFailure& failure) {
  if (s.isNew()) {
    Statement drop(db_, "DELETE FROM card_state WHERE card = ?");
    drop.bind(1, card);
    return drop.step() == SQLITE_DONE;
  }
  Statement save(db_, "INSERT OR REPLACE INTO card_state VALUES(?,?,?,?,?,?,?,?,?)");
  save.bind(1, card).bind(2, std::int64_t{s.reps}).bind(3, std::int64_t{s.lapses});
  save.bind(4, s.memory.stability).bind(5, s.memory.difficulty).bind(6, s.lastAnswer);
  save.bind(7, s.due).bind(8, std::int64_t{s.intervalDays}).bind(9, std::int64_t{s.lastGrade});
  const int rc = save.step();
  if (rc != SQLITE_DONE) failure = FailureOf(db_, rc);
  return rc == SQLITE_DONE;
}

std::optional<Committed> ProgressStore::commit(const Answer& answer, StoreFailure& failure) {
  if (readOnly_) {
    failure = {SQLITE_READONLY, "the store is read-only"};
    return std::nullopt;
  }
  Committed done;
  const bool ok = transaction(failure, [&] {
    const auto before = stateOf(answer.card, failure);
    if (!before) return false;
    const Millis time = NotBefore(*before, answer.time);
    done.state = fsrs_.answer(*before, answer.grade, time);
    Statement insert(db_,
                     "INSERT INTO answers(card, time, grade, activity, seconds) VALUES(?,?,?,?,?)");
    insert.bind(1, answer.card).bind(2, time);
    insert.bind(3, std::int64_t{static_cast<int>(answer.grade)});
    insert.bind(4, answer.activity).bind(5, answer.seconds);
    if (insert.step() != SQLITE_DONE) return false;
    done.answerId = sqlite3_last_insert_rowid(db_.get());
    return saveState(answer.card, done.state, failure);
  });
  if (!ok) return std::nullopt;
  return done;
}

bool ProgressStore::undo(std::int64_t answerId, StoreFailure& failure) {
  if (readOnly_) {
    failure = {SQLITE_READONLY, "the store is read-only"};
    return false;
  }
  return transaction(failure, [&] {
    Statement card(db_,
                   "SELECT a.card, (SELECT max(id) FROM answers b WHERE b.card = a.card)"
                   " FROM answers a WHERE a.id = ?");
    card.bind(1, answerId);
    if (card.step() != SQLITE_ROW || card.integer(1) != answerId) {
      failure = {SQLITE_CONSTRAINT, "the answer is gone or no longer its card's last"};
      return false;
    }
    const std::int64_t cardId = card.integer(0);
    Statement remove(db_, "DELETE FROM answers WHERE id = ?");
    remove.bind(1, answerId);
    if (remove.step() != SQLITE_DONE) return false;
    std::vector<std::pair<Millis, Grade>> left;
    Statement rows(db_, "SELECT time, grade FROM answers WHERE card = ? ORDER BY id");
    rows.bind(1, cardId);
    while (rows.step() == SQLITE_ROW) {
      left.emplace_back(rows.integer(0), static_cast<Grade>(rows.integer(1)));
    }
    return saveState(cardId, ReplayCard(fsrs_, left), failure);
  });
}

bool ProgressStore::saveResult(const RoundResult& r, StoreFailure& failure) {
  if (readOnly_) {
    failure = {SQLITE_READONLY, "the store is read-only"};
    return false;
  }
  return transaction(failure, [&] {
    Statement insert(
        db_, std::string("INSERT INTO results(") + kResultColumns + ") VALUES(?,?,?,?,?,?,?,?)");
    insert.bind(1, r.time).bind(2, r.activity).bind(3, r.lesson);
    insert.bind(4, std::int64_t{r.right}).bind(5, std::int64_t{r.total}).bind(6, r.seconds);
    if (r.wordsPerMinute) insert.bind(7, *r.wordsPerMinute);
    if (r.accuracy) insert.bind(8, *r.accuracy);
    return insert.step() == SQLITE_DONE;
  });
}

namespace {

std::vector<RoundResult> ReadResults(Statement& rows, const Database& db, StoreFailure& failure) {
  std::vector<RoundResult> results;
  int rc;
  while ((rc = rows.step()) == SQLITE_ROW) {
    RoundResult r{rows.integer(0),
                  rows.text(1),
                  rows.text(2),
                  static_cast<int>(rows.integer(3)),
                  static_cast<int>(rows.integer(4)),
                  rows.real(5),
                  {},
                  {}};
    if (!rows.isNull(6)) r.wordsPerMinute = rows.real(6);
    if (!rows.isNull(7)) r.accuracy = rows.real(7);
    results.push_back(std::move(r));
  }
  if (rc != SQLITE_DONE) failure = FailureOf(db, rc);
  return results;
}

}  // namespace

std::vector<RoundResult> ProgressStore::results(StoreFailure& failure) {
  Statement rows(db_, std::string("SELECT ") + kResultColumns + " FROM results ORDER BY time, id");
  return ReadResults(rows, db_, failure);
}

std::vector<RoundResult> ProgressStore::recentResults(const std::string& activity,
                                                      const std::string& lesson, int count,
                                                      StoreFailure& failure) {
  Statement rows(db_, std::string("SELECT * FROM (SELECT ") + kResultColumns +
                          ", id FROM results WHERE activity = ?1 AND (?2 = '' OR lesson = ?2)"
                          " ORDER BY time DESC, id DESC LIMIT ?3) ORDER BY time, id");
  rows.bind(1, activity).bind(2, lesson).bind(3, std::int64_t{count});
  return ReadResults(rows, db_, failure);
}

std::vector<LogLine> ProgressStore::log(StoreFailure& failure) {
  std::vector<LogLine> lines;
  Statement rows(db_, "SELECT card, time, grade FROM answers ORDER BY id");
  int rc;
  while ((rc = rows.step()) == SQLITE_ROW) {
    lines.push_back(
        {std::to_string(rows.integer(0)), rows.integer(1), static_cast<Grade>(rows.integer(2))});
  }
  if (rc != SQLITE_DONE) failure = FailureOf(db_, rc);
  return lines;
}

Statistics ProgressStore::statistics(Millis now, StoreFailure& failure) {
  const auto record = [&](Statement& query, const auto& use) {
    int rc;
    while ((rc = query.step()) == SQLITE_ROW) use(query);
    if (rc != SQLITE_DONE) failure = FailureOf(db_, rc);
  };
  std::vector<AnswerRow> answers;
  Statement recent(db_,
                   "SELECT a.time, a.grade, (SELECT b.time FROM answers b WHERE b.card = a.card"
                   " AND b.id < a.id ORDER BY b.id DESC LIMIT 1) FROM answers a WHERE a.time >= ?");
  recent.bind(1, StatisticsSince(now, dayRule()));
  record(recent, [&](Statement& row) {
    answers.push_back({row.integer(0), static_cast<int>(row.integer(1)),
                       row.isNull(2) ? std::nullopt : std::optional<Millis>(row.integer(2))});
  });
  std::vector<Millis> dues;
  Statement due(db_, "SELECT due FROM card_state WHERE due < ?");
  due.bind(1, StatisticsDueUntil(now, dayRule()));
  record(due, [&](Statement& row) { dues.push_back(row.integer(0)); });
  Statistics stats = CountStatistics(answers, dues, now, dayRule());

  Statement states(db_,
                   "SELECT sum(s.card IS NULL), sum(s.last_grade = 1),"
                   " sum(s.last_grade > 1 AND s.interval_days < 21),"
                   " sum(s.last_grade > 1 AND s.interval_days >= 21)"
                   " FROM cards c LEFT JOIN card_state s ON s.card = c.id");
  record(states, [&](Statement& row) {
    stats.unlearned = static_cast<int>(row.integer(0));
    stats.relearning = static_cast<int>(row.integer(1));
    stats.young = static_cast<int>(row.integer(2));
    stats.mature = static_cast<int>(row.integer(3));
  });
  return stats;
}

}  // namespace study

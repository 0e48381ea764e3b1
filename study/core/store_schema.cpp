// SPDX-License-Identifier: MIT
#include "store_schema.h"

#include <sys/random.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "answer_log.h"
#include "learner_day.h"
#include "store_sql.h"

namespace study {
namespace {

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

// Answers and rounds known by device and sequence number on every machine (an answer kept
// before has none until IdentifyOwnRows gives it this device's); the answers taken back.
constexpr const char* kSchemaVersion6 =
    "ALTER TABLE answers ADD COLUMN device TEXT NOT NULL DEFAULT '';"
    "ALTER TABLE answers ADD COLUMN seq INTEGER;"
    "CREATE UNIQUE INDEX answers_by_identity ON answers(device, seq);"
    "ALTER TABLE results ADD COLUMN device TEXT NOT NULL DEFAULT '';"
    "ALTER TABLE results ADD COLUMN seq INTEGER;"
    "CREATE UNIQUE INDEX results_by_identity ON results(device, seq);"
    "CREATE TABLE withdrawals(device TEXT NOT NULL, seq INTEGER NOT NULL, time INTEGER NOT NULL,"
    " sent INTEGER NOT NULL DEFAULT 0, PRIMARY KEY(device, seq)) WITHOUT ROWID;"
    // A day start kept before travels once, as changed before any change made since.
    "INSERT INTO settings(name, value) SELECT 'day_start_changed', '0' FROM settings"
    " WHERE name = 'day_start'";

// Version 1 kept only the answers: every learned card's state, made from its answers in
// the order they were given (by UTC days, as they were counted then).
int StatesFromAnswers(const Database& db) {
  const Fsrs fsrs;
  std::map<std::int64_t, std::vector<std::pair<Millis, Grade>>> answers;
  Statement rows(db, "SELECT card, time, grade FROM answers ORDER BY card, id");
  int rc;
  while ((rc = rows.step()) == SQLITE_ROW) {
    answers[rows.integer(0)].emplace_back(rows.integer(1), static_cast<Grade>(rows.integer(2)));
  }
  if (rc != SQLITE_DONE) return rc;
  for (const auto& [card, given] : answers) {
    rc = SaveState(db, card, ReplayCard(fsrs, given));
    if (rc != SQLITE_OK) return rc;
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
int ToVersion6(const Database& db) {
  int rc = db.exec(kSchemaVersion6);
  if (rc == SQLITE_OK) rc = WriteSetting(db, kDeviceSetting, NewDeviceId());
  return rc == SQLITE_OK ? IdentifyOwnRows(db) : rc;
}

// Step n brings a store of version n to version n + 1; a new store takes every step.
constexpr int (*kUpgrades[])(const Database&) = {ToVersion1, ToVersion2, ToVersion3,
                                                 ToVersion4, ToVersion5, ToVersion6};
static_assert(std::size(kUpgrades) == kStoreVersion);

}  // namespace

int UpgradeStore(const Database& db, int version) {
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

int ReadSetting(const Database& db, const char* name, std::optional<std::string>& value) {
  Statement setting(db, "SELECT value FROM settings WHERE name = ?");
  setting.bind(1, name);
  const int rc = setting.step();
  value = rc == SQLITE_ROW ? std::optional(setting.text(0)) : std::nullopt;
  return rc == SQLITE_ROW || rc == SQLITE_DONE ? SQLITE_OK : rc;
}

int WriteSetting(const Database& db, const char* name, std::string_view value) {
  Statement save(db, "INSERT OR REPLACE INTO settings(name, value) VALUES(?, ?)");
  save.bind(1, name).bind(2, value);
  return save.step() == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db.get());
}

int ReadNumber(const Database& db, const char* name, std::int64_t& number) {
  std::optional<std::string> value;
  const int rc = ReadSetting(db, name, value);
  if (value) number = std::strtoll(value->c_str(), nullptr, 10);
  return rc;
}

int WriteNumber(const Database& db, const char* name, std::int64_t number) {
  return WriteSetting(db, name, std::to_string(number));
}

int ReadDayStart(const Database& db, int& minutes) {
  std::optional<std::string> value;
  const int rc = ReadSetting(db, kDayStartSetting, value);
  if (value) minutes = ParseClockTime(*value).value_or(minutes);
  return rc;
}

int WriteDayStart(const Database& db, int minutes, Millis changed) {
  const int rc = WriteSetting(db, kDayStartSetting, FormatClockTime(minutes));
  return rc == SQLITE_OK ? WriteNumber(db, kDayStartChangedSetting, changed) : rc;
}

std::string NewDeviceId() {
  unsigned char bytes[16];
  std::size_t got = 0;
  while (got < sizeof bytes) {
    const ssize_t n = getrandom(bytes + got, sizeof bytes - got, 0);
    if (n > 0) got += static_cast<std::size_t>(n);
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string id;
  for (const unsigned char byte : bytes) {
    id += kHex[byte >> 4];
    id += kHex[byte & 0xF];
  }
  return id;
}

int NextSeq(const Database& db, std::int64_t& seq) {
  Statement take(db,
                 "UPDATE settings SET value = CAST(value AS INTEGER) + 1 WHERE name = ?"
                 " RETURNING CAST(value AS INTEGER) - 1");
  take.bind(1, kNextSeqSetting);
  const int rc = take.step();
  if (rc == SQLITE_ROW) seq = take.integer(0);
  return rc == SQLITE_ROW ? SQLITE_OK : rc == SQLITE_DONE ? SQLITE_CORRUPT : rc;
}

int IdentifyOwnRows(const Database& db) {
  std::optional<std::string> device;
  int rc = ReadSetting(db, kDeviceSetting, device);
  if (rc != SQLITE_OK) return rc;
  if (!device) return SQLITE_CORRUPT;
  // The counter may be behind the rows (lost with a damaged page): it moves past them.
  for (
      const char* sql :
      {"INSERT OR REPLACE INTO settings(name, value) SELECT 'next_seq', max(1,"
       " coalesce((SELECT CAST(value AS INTEGER) FROM settings WHERE name = 'next_seq'), 1),"
       " coalesce((SELECT max(seq) + 1 FROM answers WHERE device = ?1), 1),"
       " coalesce((SELECT max(seq) + 1 FROM results WHERE device = ?1), 1),"
       " coalesce((SELECT max(seq) + 1 FROM withdrawals WHERE device = ?1), 1))",
       // Rows without identity take the next numbers in the order they were kept.
       "UPDATE answers SET device = ?1, seq = id - 1 + (SELECT CAST(value AS INTEGER)"
       " FROM settings WHERE name = 'next_seq') WHERE seq IS NULL",
       "INSERT OR REPLACE INTO settings(name, value) SELECT 'next_seq',"
       " max(CAST(value AS INTEGER), coalesce((SELECT max(seq) + 1 FROM answers WHERE device = ?1),"
       " 1)) FROM settings WHERE name = 'next_seq'",
       "UPDATE results SET device = ?1, seq = id - 1 + (SELECT CAST(value AS INTEGER)"
       " FROM settings WHERE name = 'next_seq') WHERE seq IS NULL",
       "INSERT OR REPLACE INTO settings(name, value) SELECT 'next_seq',"
       " max(CAST(value AS INTEGER), coalesce((SELECT max(seq) + 1 FROM results WHERE device = ?1),"
       " 1)) FROM settings WHERE name = 'next_seq'"}) {
    Statement step(db, sql);
    step.bind(1, *device);
    if ((rc = step.step()) != SQLITE_DONE) return rc;
  }
  return SQLITE_OK;
}

}  // namespace study

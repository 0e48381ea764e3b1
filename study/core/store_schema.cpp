// SPDX-License-Identifier: MIT
#include "store_schema.h"

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

// Step n brings a store of version n to version n + 1; a new store takes every step.
constexpr int (*kUpgrades[])(const Database&) = {ToVersion1, ToVersion2, ToVersion3, ToVersion4,
                                                 ToVersion5};
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

int ReadDayStart(const Database& db, int& minutes) {
  Statement setting(db, "SELECT value FROM settings WHERE name = ?");
  setting.bind(1, kDayStartSetting);
  const int rc = setting.step();
  if (rc == SQLITE_ROW) minutes = ParseClockTime(setting.text(0)).value_or(minutes);
  return rc == SQLITE_ROW || rc == SQLITE_DONE ? SQLITE_OK : rc;
}

int WriteDayStart(const Database& db, int minutes) {
  Statement save(db, "INSERT OR REPLACE INTO settings(name, value) VALUES(?, ?)");
  save.bind(1, kDayStartSetting).bind(2, FormatClockTime(minutes));
  return save.step() == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db.get());
}

}  // namespace study

// SPDX-License-Identifier: MIT
#include "store_sql.h"

#include <cstring>

namespace study {
namespace {

StoreFailure::Kind KindOf(int code) {
  using Kind = StoreFailure::Kind;
  switch (code & 0xFF) {
    case SQLITE_OK:
      return Kind::None;
    case SQLITE_FULL:
      return Kind::DiskFull;
    case SQLITE_READONLY:
      return Kind::ReadOnly;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return Kind::Busy;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return Kind::Damaged;
    case SQLITE_IOERR:
      return Kind::InputOutput;
    case SQLITE_CANTOPEN:
      return Kind::CannotOpen;
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return Kind::NoPermission;
    default:
      return Kind::Other;
  }
}

}  // namespace

StoreFailure FailureOf(int code, std::string detail) {
  return {KindOf(code), std::move(detail)};
}

StoreFailure FailureOf(const Database& db, int code) {
  // No connection: the store could not be opened, or was closed when found damaged.
  if (!db) return {StoreFailure::Kind::CannotOpen, sqlite3_errstr(code)};
  // The connection's words are its last statement's: a ROLLBACK after the failure has its own.
  StoreFailure failure = FailureOf(
      code, sqlite3_extended_errcode(db.get()) == code ? db.error() : sqlite3_errstr(code));
  const int primary = code & 0xFF;
  if (primary == SQLITE_IOERR || primary == SQLITE_FULL || primary == SQLITE_CANTOPEN) {
    failure.systemError = sqlite3_system_errno(db.get());
    if (failure.systemError != 0) {
      failure.detail += std::string(" (") + std::strerror(failure.systemError) + ")";
    }
  }
  return failure;
}

bool Transaction(const Database& db, StoreFailure& failure, const std::function<bool()>& work) {
  int rc = db.exec("BEGIN IMMEDIATE");
  if (rc != SQLITE_OK) {
    failure = FailureOf(db, rc);
    return false;
  }
  if (!work()) {
    if (!failure.failed()) failure = FailureOf(db, sqlite3_errcode(db.get()));
    db.exec("ROLLBACK");
    return false;
  }
  rc = db.exec("COMMIT");
  if (rc != SQLITE_OK) {
    failure = FailureOf(db, rc);
    db.exec("ROLLBACK");
    return false;
  }
  return true;
}

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

namespace {

constexpr const char* kDropState = "DELETE FROM card_state WHERE card = ?";
constexpr const char* kSaveState = "INSERT OR REPLACE INTO card_state VALUES(?,?,?,?,?,?,?,?,?)";

int SaveStateWith(const Database& db, Statement& save, Statement& drop, std::int64_t card,
                  const CardState& s) {
  Statement& used = s.isNew() ? drop : save;
  used.bind(1, card);
  if (!s.isNew()) {
    save.bind(2, std::int64_t{s.reps}).bind(3, std::int64_t{s.lapses});
    save.bind(4, s.memory.stability).bind(5, s.memory.difficulty).bind(6, s.lastAnswer);
    save.bind(7, s.due).bind(8, std::int64_t{s.intervalDays}).bind(9, std::int64_t{s.lastGrade});
  }
  const int rc = used.step() == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db.get());
  used.reset();
  return rc;
}

}  // namespace

int SaveState(const Database& db, std::int64_t card, const CardState& s) {
  Statement save(db, kSaveState);
  Statement drop(db, kDropState);
  return SaveStateWith(db, save, drop, card, s);
}

StateRebuilder::StateRebuilder(const Database& db, const Fsrs& fsrs)
    : db_(db),
      fsrs_(fsrs),
      answers_(db, "SELECT time, grade FROM answers WHERE card = ? ORDER BY time, device, seq"),
      save_(db, kSaveState),
      drop_(db, kDropState) {}

int StateRebuilder::rebuild(std::int64_t card) {
  answers_.bind(1, card);
  CardState state;
  int rc;
  while ((rc = answers_.step()) == SQLITE_ROW) {
    state = fsrs_.answer(state, static_cast<Grade>(answers_.integer(1)), answers_.integer(0));
  }
  answers_.reset();
  return rc == SQLITE_DONE ? SaveStateWith(db_, save_, drop_, card, state) : rc;
}

int RebuildState(const Database& db, const Fsrs& fsrs, std::int64_t card) {
  return StateRebuilder(db, fsrs).rebuild(card);
}

}  // namespace study

// SPDX-License-Identifier: MIT
// What the parts of the progress store share inside it: SQLite's codes as failure kinds,
// one transaction, and a card's state as its row.
#pragma once

#include <functional>
#include <string>

#include "card_store.h"
#include "fsrs.h"
#include "sqlite_handle.h"

namespace study {

inline constexpr const char* kStateColumns =
    "s.reps, s.lapses, s.stability, s.difficulty, s.last_answer, s.due, s.interval_days,"
    " s.last_grade";

StoreFailure FailureOf(int code, std::string detail);
// The failure of the last call on `db` that gave `code`, in SQLite's words.
StoreFailure FailureOf(const Database& db, int code);

// Runs `work` in one transaction, rolled back when `work` or the commit fails; `failure`
// says why (what `work` set, or SQLite's last error).
bool Transaction(const Database& db, StoreFailure& failure, const std::function<bool()>& work);

// The state columns from `first` on (NULL when the card was never answered).
CardState StateAt(const Statement& row, int first);
// Keeps the card's state (a card never answered has none); SQLite's result code.
int SaveState(const Database& db, std::int64_t card, const CardState& state);
// Keeps the state of replaying the card's answers in time order (from one moment, in the
// order of their devices and numbers), as every machine holding them does.
int RebuildState(const Database& db, const Fsrs& fsrs, std::int64_t card);

// RebuildState for many cards, its statements prepared once.
class StateRebuilder {
 public:
  StateRebuilder(const Database& db, const Fsrs& fsrs);
  int rebuild(std::int64_t card);

 private:
  const Database& db_;
  const Fsrs& fsrs_;
  Statement answers_, save_, drop_;
};

}  // namespace study

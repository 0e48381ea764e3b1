// SPDX-License-Identifier: MIT
// Thin owners of SQLite's connection and statement handles.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace study {

class Database {
 public:
  Database() = default;
  explicit Database(sqlite3* db) : db_(db) {}
  Database(Database&& other) noexcept : db_(other.db_) { other.db_ = nullptr; }
  Database& operator=(Database&& other) noexcept;
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  ~Database();

  sqlite3* get() const { return db_; }
  explicit operator bool() const { return db_ != nullptr; }
  // Runs statements without results; the SQLite result code.
  int exec(const char* sql) const;
  std::string error() const { return db_ ? sqlite3_errmsg(db_) : "no database"; }

 private:
  sqlite3* db_ = nullptr;
};

class Statement {
 public:
  Statement(const Database& db, std::string_view sql);
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement() { sqlite3_finalize(stmt_); }

  bool ok() const { return stmt_ != nullptr; }
  Statement& bind(int index, std::int64_t value);
  Statement& bind(int index, double value);
  Statement& bind(int index, std::string_view text);
  // SQLITE_ROW, SQLITE_DONE or an error code: for a statement that failed to prepare, why
  // it failed (damage in the schema is damage, not a misuse).
  int step() { return stmt_ ? sqlite3_step(stmt_) : prepared_; }
  void reset() {
    if (!stmt_) return;  // a statement that failed to prepare has nothing to reset
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }
  std::int64_t integer(int column) const { return sqlite3_column_int64(stmt_, column); }
  double real(int column) const { return sqlite3_column_double(stmt_, column); }
  std::string text(int column) const;
  bool isNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
  int prepared_ = SQLITE_OK;
};

}  // namespace study

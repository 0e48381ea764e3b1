// SPDX-License-Identifier: MIT
#include "sqlite_handle.h"

namespace study {

Database& Database::operator=(Database&& other) noexcept {
  if (this != &other) {
    sqlite3_close_v2(db_);
    db_ = other.db_;
    other.db_ = nullptr;
  }
  return *this;
}

Database::~Database() {
  sqlite3_close_v2(db_);
}

int Database::exec(const char* sql) const {
  return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
}

Statement::Statement(const Database& db, std::string_view sql) {
  prepared_ =
      sqlite3_prepare_v2(db.get(), sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr);
  if (prepared_ != SQLITE_OK) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
  }
}

Statement& Statement::bind(int index, std::int64_t value) {
  sqlite3_bind_int64(stmt_, index, value);
  return *this;
}

Statement& Statement::bind(int index, double value) {
  sqlite3_bind_double(stmt_, index, value);
  return *this;
}

Statement& Statement::bind(int index, std::string_view text) {
  sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  return *this;
}

std::string Statement::text(int column) const {
  const auto* bytes = sqlite3_column_text(stmt_, column);
  return bytes ? std::string(reinterpret_cast<const char*>(bytes),
                             static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
               : std::string();
}

}  // namespace study

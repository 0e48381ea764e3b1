// SPDX-License-Identifier: MIT
#include "database.h"

#include <cstdlib>

namespace hub {

std::int64_t Rows::integer(int row, int column) const {
  return std::strtoll(PQgetvalue(result_.get(), row, column), nullptr, 10);
}

double Rows::real(int row, int column) const {
  return std::strtod(PQgetvalue(result_.get(), row, column), nullptr);
}

std::int64_t Rows::affected() const {
  return std::strtoll(PQcmdTuples(result_.get()), nullptr, 10);
}

Database::Database(const std::string& conninfo) : connection_(nullptr, &PQfinish) {
  // A bound on connecting unless the connection string sets its own; the string's own
  // settings come after and win.
  const char* const keys[] = {"connect_timeout", "dbname", nullptr};
  const char* const values[] = {"5", conninfo.c_str(), nullptr};
  connection_.reset(PQconnectdbParams(keys, values, 1));
  if (!connected()) {
    throw DatabaseError(PQerrorMessage(connection_.get()), true);
  }
  // Notices (such as "already exists, skipping") are no business of our output.
  PQsetNoticeProcessor(
      connection_.get(), [](void*, const char*) {}, nullptr);
}

Rows Database::run(const char* sql, const std::vector<Parameter>& parameters) {
  std::vector<const char*> values;
  for (const auto& parameter : parameters)
    values.push_back(parameter ? parameter->c_str() : nullptr);
  Rows rows(PQexecParams(connection_.get(), sql, static_cast<int>(values.size()), nullptr,
                         values.data(), nullptr, nullptr, 0));
  const ExecStatusType status = PQresultStatus(rows.result());
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
    throw DatabaseError(PQerrorMessage(connection_.get()), !connected());
  }
  return rows;
}

void Database::transaction(const std::function<void()>& work) {
  run("BEGIN");
  try {
    work();
    run("COMMIT");
  } catch (...) {
    if (connected()) {
      Rows(PQexecParams(connection_.get(), "ROLLBACK", 0, nullptr, nullptr, nullptr, nullptr, 0));
    }
    throw;
  }
}

}  // namespace hub

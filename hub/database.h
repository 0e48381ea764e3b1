// SPDX-License-Identifier: MIT
// One connection to PostgreSQL through libpq. Every statement goes through PQexecParams:
// values travel as parameters, never inside the SQL text.
#pragma once

#include <libpq-fe.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace hub {

// A failed statement; `unreachable` when the connection itself is gone (the server
// stopped, the network down), which the caller reports as "try again later".
class DatabaseError : public std::runtime_error {
 public:
  DatabaseError(const std::string& what, bool unreachable)
      : std::runtime_error(what), unreachable_(unreachable) {}
  bool unreachable() const { return unreachable_; }

 private:
  bool unreachable_;
};

class Rows {
 public:
  explicit Rows(PGresult* result) : result_(result, &PQclear) {}
  int size() const { return PQntuples(result_.get()); }
  bool isNull(int row, int column) const { return PQgetisnull(result_.get(), row, column); }
  std::string text(int row, int column) const { return PQgetvalue(result_.get(), row, column); }
  std::int64_t integer(int row, int column) const;
  double real(int row, int column) const;
  // How many rows an INSERT or UPDATE touched.
  std::int64_t affected() const;
  PGresult* result() const { return result_.get(); }

 private:
  std::unique_ptr<PGresult, decltype(&PQclear)> result_;
};

using Parameter = std::optional<std::string>;  // nothing is NULL

class Database {
 public:
  // Throws DatabaseError (unreachable) when no connection can be made.
  explicit Database(const std::string& conninfo);

  Rows run(const char* sql, const std::vector<Parameter>& parameters = {});
  // Runs `work` inside BEGIN ... COMMIT; anything thrown rolls back and goes on.
  void transaction(const std::function<void()>& work);
  bool connected() const { return PQstatus(connection_.get()) == CONNECTION_OK; }

 private:
  std::unique_ptr<PGconn, decltype(&PQfinish)> connection_;
};

}  // namespace hub

// SPDX-License-Identifier: MIT
#include "roster.h"

#include <algorithm>

#include "secrets.h"

namespace hub {

std::optional<ClassRow> FindClass(Database& database, const std::string& nameOrId) {
  Rows rows = database.run("SELECT id, name FROM classes WHERE name = $1", {nameOrId});
  const bool isNumber =
      !nameOrId.empty() && nameOrId.size() < 19 &&
      std::all_of(nameOrId.begin(), nameOrId.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (rows.size() == 0 && isNumber) {
    rows = database.run("SELECT id, name FROM classes WHERE id = $1", {nameOrId});
  }
  if (rows.size() == 0) return std::nullopt;
  return ClassRow{rows.integer(0, 0), rows.text(0, 1)};
}

std::int64_t AddClass(Database& database, const std::string& name) {
  const Rows rows = database.run(
      "INSERT INTO classes (name) VALUES ($1) ON CONFLICT (name) DO NOTHING RETURNING id", {name});
  if (rows.size() == 0) throw std::runtime_error("a class named " + name + " exists already");
  return rows.integer(0, 0);
}

std::int64_t PutLearner(Database& database, std::int64_t classId, const std::string& number,
                        const std::string& name, bool rename) {
  const Rows added = database.run(
      "INSERT INTO learners (class_id, number, name) VALUES ($1, $2, $3)"
      " ON CONFLICT (class_id, number) DO NOTHING RETURNING id",
      {std::to_string(classId), number, name});
  if (added.size() == 1) return added.integer(0, 0);
  if (!rename) throw std::runtime_error("the class has a learner numbered " + number + " already");
  const Rows renamed =
      database.run("UPDATE learners SET name = $3 WHERE class_id = $1 AND number = $2 RETURNING id",
                   {std::to_string(classId), number, name});
  return renamed.integer(0, 0);
}

std::optional<std::int64_t> FindLearner(Database& database, std::int64_t classId,
                                        const std::string& number) {
  const Rows rows = database.run("SELECT id FROM learners WHERE class_id = $1 AND number = $2",
                                 {std::to_string(classId), number});
  if (rows.size() == 0) return std::nullopt;
  return rows.integer(0, 0);
}

std::vector<LearnerRow> ListLearners(Database& database, std::int64_t classId) {
  const Rows rows = database.run(
      "SELECT l.id, l.number, l.name, count(d.id),"
      " coalesce(to_char(max(d.last_sync) AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS\"Z\"'), "
      "'')"
      " FROM learners l LEFT JOIN devices d ON d.learner_id = l.id"
      " WHERE l.class_id = $1 GROUP BY l.id ORDER BY l.number",
      {std::to_string(classId)});
  std::vector<LearnerRow> learners;
  for (int row = 0; row < rows.size(); ++row) {
    learners.push_back({rows.integer(row, 0), rows.text(row, 1), rows.text(row, 2),
                        rows.integer(row, 3), rows.text(row, 4)});
  }
  return learners;
}

std::string NewJoinSecret(Database& database, std::int64_t learnerId, int days) {
  const std::string secret = RandomSecret(kSecretBytes);
  database.run(
      "INSERT INTO join_codes (hash, learner_id, expires)"
      " VALUES ($1, $2, now() + make_interval(days => $3))",
      {SecretHash(secret), std::to_string(learnerId), std::to_string(days)});
  return secret;
}

void RecordServerPlace(Database& database, const ServerPlace& place) {
  database.run(
      "INSERT INTO server (id, address, pin) VALUES (1, $1, $2) ON CONFLICT (id)"
      " DO UPDATE SET address = EXCLUDED.address, pin = EXCLUDED.pin, changed = now()",
      {place.address, place.pin});
}

std::optional<ServerPlace> RecordedServerPlace(Database& database) {
  const Rows rows = database.run("SELECT address, pin FROM server WHERE id = 1");
  if (rows.size() == 0) return std::nullopt;
  return ServerPlace{rows.text(0, 0), rows.text(0, 1)};
}

}  // namespace hub

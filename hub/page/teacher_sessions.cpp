// SPDX-License-Identifier: MIT
#include "teacher_sessions.h"

#include "secrets.h"

namespace hub::page {

TeacherSession StartSession(Database& database, std::int64_t teacher) {
  database.run("DELETE FROM teacher_sessions WHERE expires < now()");
  TeacherSession session{RandomSecret(kTokenBytes), teacher, RandomSecret(kTokenBytes)};
  database.run(
      "INSERT INTO teacher_sessions (hash, teacher_id, csrf, expires)"
      " VALUES ($1, $2, $3, now() + interval '12 hours')",
      {SecretHash(session.id), std::to_string(teacher), session.csrf});
  return session;
}

std::optional<TeacherSession> FindSession(Database& database, const std::string& id) {
  if (id.empty()) return std::nullopt;
  const Rows rows = database.run(
      "SELECT teacher_id, csrf FROM teacher_sessions WHERE hash = $1 AND expires > now()",
      {SecretHash(id)});
  if (rows.size() == 0) return std::nullopt;
  return TeacherSession{id, rows.integer(0, 0), rows.text(0, 1)};
}

void EndSession(Database& database, const std::string& id) {
  database.run("DELETE FROM teacher_sessions WHERE hash = $1", {SecretHash(id)});
}

void EndOtherSessions(Database& database, std::int64_t teacher, const std::string& keep) {
  database.run("DELETE FROM teacher_sessions WHERE teacher_id = $1 AND hash <> $2",
               {std::to_string(teacher), SecretHash(keep)});
}

}  // namespace hub::page

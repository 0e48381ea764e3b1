// SPDX-License-Identifier: MIT
// Signed-in teachers: a random session id in their cookie, only its hash in the database,
// with the CSRF token every form of that session carries. Sessions end after 12 hours.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "database.h"

namespace hub::page {

struct TeacherSession {
  std::string id;  // what the cookie carries; empty when read back from the database
  std::int64_t teacher = 0;
  std::string csrf;
};

TeacherSession StartSession(Database& database, std::int64_t teacher);
std::optional<TeacherSession> FindSession(Database& database, const std::string& id);
void EndSession(Database& database, const std::string& id);
// Every session of the teacher but `keep` (after a new password).
void EndOtherSessions(Database& database, std::int64_t teacher, const std::string& keep);

}  // namespace hub::page

// SPDX-License-Identifier: MIT
// Teachers of the class page: their names, password hashes and the classes each may see.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "database.h"

namespace hub {

struct TeacherAccount {
  std::int64_t id = 0;
  std::string name;
  bool mustChangePassword = false;
  std::vector<std::int64_t> classIds;  // ascending
};

// A new teacher with those classes (names or ids); their one-time password, which they
// must change at their first sign-in. Throws std::runtime_error when the name is taken or a
// class is unknown (nothing is added then: run it inside a transaction).
std::string AddTeacher(Database& database, const std::string& name,
                       const std::vector<std::string>& classes);
// A new one-time password for a teacher who forgot theirs: the old one no longer opens
// anything, the teacher's sessions end, and the new one must be changed at the next
// sign-in. Throws std::runtime_error for an unknown teacher.
std::string ResetTeacherPassword(Database& database, const std::string& name);
// Gives the teacher exactly these classes. Throws std::runtime_error for an unknown
// teacher or class.
void SetTeacherClasses(Database& database, const std::string& name,
                       const std::vector<std::string>& classes);

// The teacher when `password` is theirs; nothing for an unknown name or a wrong password.
// The hash is checked even for an unknown name, so the time taken does not tell names apart.
std::optional<TeacherAccount> CheckTeacher(Database& database, const std::string& name,
                                           const std::string& password);
std::optional<TeacherAccount> FindTeacher(Database& database, std::int64_t id);
// Keeps a new password and clears the must-change flag.
void ChangeTeacherPassword(Database& database, std::int64_t id, const std::string& password);

}  // namespace hub

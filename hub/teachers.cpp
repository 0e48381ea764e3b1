// SPDX-License-Identifier: MIT
#include "teachers.h"

#include "passwords.h"
#include "roster.h"

namespace hub {
namespace {

std::int64_t TeacherId(Database& database, const std::string& name) {
  const Rows rows = database.run("SELECT id FROM teachers WHERE name = $1", {name});
  if (rows.size() == 0) throw std::runtime_error("no teacher " + name);
  return rows.integer(0, 0);
}

void GiveClasses(Database& database, std::int64_t teacher,
                 const std::vector<std::string>& classes) {
  database.run("DELETE FROM teacher_classes WHERE teacher_id = $1", {std::to_string(teacher)});
  for (const std::string& nameOrId : classes) {
    const auto found = FindClass(database, nameOrId);
    if (!found) throw std::runtime_error("no class " + nameOrId);
    database.run(
        "INSERT INTO teacher_classes (teacher_id, class_id) VALUES ($1, $2)"
        " ON CONFLICT DO NOTHING",
        {std::to_string(teacher), std::to_string(found->id)});
  }
}

std::optional<TeacherAccount> Account(Database& database, const Rows& rows) {
  if (rows.size() == 0) return std::nullopt;
  TeacherAccount account{rows.integer(0, 0), rows.text(0, 1), rows.text(0, 2) == "t", {}};
  const Rows classes =
      database.run("SELECT class_id FROM teacher_classes WHERE teacher_id = $1 ORDER BY class_id",
                   {std::to_string(account.id)});
  for (int row = 0; row < classes.size(); ++row)
    account.classIds.push_back(classes.integer(row, 0));
  return account;
}

}  // namespace

std::string AddTeacher(Database& database, const std::string& name,
                       const std::vector<std::string>& classes) {
  const std::string password = NewOneTimePassword();
  const Rows added = database.run(
      "INSERT INTO teachers (name, password_hash) VALUES ($1, $2)"
      " ON CONFLICT (name) DO NOTHING RETURNING id",
      {name, HashPassword(password)});
  if (added.size() == 0) throw std::runtime_error("a teacher named " + name + " exists already");
  GiveClasses(database, added.integer(0, 0), classes);
  return password;
}

std::string ResetTeacherPassword(Database& database, const std::string& name) {
  const std::int64_t id = TeacherId(database, name);
  const std::string password = NewOneTimePassword();
  database.run("UPDATE teachers SET password_hash = $2, must_change = true WHERE id = $1",
               {std::to_string(id), HashPassword(password)});
  database.run("DELETE FROM teacher_sessions WHERE teacher_id = $1", {std::to_string(id)});
  return password;
}

void SetTeacherClasses(Database& database, const std::string& name,
                       const std::vector<std::string>& classes) {
  GiveClasses(database, TeacherId(database, name), classes);
}

std::optional<TeacherAccount> CheckTeacher(Database& database, const std::string& name,
                                           const std::string& password) {
  // A hash of nothing anybody knows, checked for unknown names so they take as long.
  static const std::string kNobody = HashPassword(NewOneTimePassword());
  const Rows rows = database.run(
      "SELECT id, name, must_change, password_hash FROM teachers WHERE name = $1", {name});
  const std::string hash = rows.size() == 0 ? kNobody : rows.text(0, 3);
  if (!PasswordMatches(hash, password) || rows.size() == 0) return std::nullopt;
  return Account(database, rows);
}

std::optional<TeacherAccount> FindTeacher(Database& database, std::int64_t id) {
  return Account(database, database.run("SELECT id, name, must_change FROM teachers WHERE id = $1",
                                        {std::to_string(id)}));
}

void ChangeTeacherPassword(Database& database, std::int64_t id, const std::string& password) {
  database.run("UPDATE teachers SET password_hash = $2, must_change = false WHERE id = $1",
               {std::to_string(id), HashPassword(password)});
}

}  // namespace hub

// SPDX-License-Identifier: MIT
// Teachers against a real database: added with a one-time password that signs them in and
// must be changed, their classes given and replaced, nothing half done on a mistake.
#include "hub_fixture.h"
#include "teachers.h"

namespace hubtest {
namespace {

using HubTeachers = HubFixture;

TEST_F(HubTeachers, TheOneTimePasswordSignsInOnceUntilChangedAndOnlyTheHashIsKept) {
  studyhub({"class", "add", "Class 2"});
  const std::string password =
      HubServer::LastLine(studyhub({"teacher", "add", "王老师", "Class 1", "Class 2"}));
  ASSERT_GE(password.size(), 12u);
  EXPECT_EQ(ask("SELECT count(*) FROM teachers WHERE password_hash LIKE '$argon2id$%'"), "1");
  const std::string holdsPassword =
      "SELECT count(*) FROM teachers WHERE strpos(password_hash, '" + password + "') > 0";
  EXPECT_EQ(ask(holdsPassword.c_str()), "0");
  hub::Database database(conninfo_);
  const auto signedIn = hub::CheckTeacher(database, "王老师", password);
  ASSERT_TRUE(signedIn);
  EXPECT_TRUE(signedIn->mustChangePassword);
  EXPECT_EQ(signedIn->classIds.size(), 2u);
  struct Case {
    const char* name;
    std::string password;
  };
  for (const Case& c : {Case{"王老师", password + "x"}, Case{"王老师", ""},
                        Case{"李老师", password}, Case{"王老师 ", password}}) {
    EXPECT_FALSE(hub::CheckTeacher(database, c.name, c.password)) << c.name << c.password;
  }
  hub::ChangeTeacherPassword(database, signedIn->id, "新的密码 2026");
  EXPECT_FALSE(hub::CheckTeacher(database, "王老师", password));
  const auto changed = hub::CheckTeacher(database, "王老师", "新的密码 2026");
  ASSERT_TRUE(changed);
  EXPECT_FALSE(changed->mustChangePassword);
}

TEST_F(HubTeachers, TeacherClassesReplacesTheClassesAndAMistakeChangesNothing) {
  const std::string second = HubServer::LastLine(studyhub({"class", "add", "Class 2"}));
  const std::string first = ask("SELECT id FROM classes WHERE name = 'Class 1'");
  studyhub({"teacher", "add", "王老师", "Class 1"});
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string classes;  // the teacher's afterwards
  };
  const std::vector<Case> cases{
      {{"teacher", "classes", "王老师", second}, 0, second},
      {{"teacher", "classes", "王老师", "Class 1", "no such class"}, 1, second},
      {{"teacher", "classes", "王老师", "Class 1", "Class 2"}, 0, first + "," + second},
      {{"teacher", "classes", "nobody", "Class 1"}, 1, first + "," + second},
      {{"teacher", "classes", "王老师"}, 2, first + "," + second},
      {{"teacher", "add", "王老师", "Class 1"}, 1, first + "," + second},
      {{"teacher", "add", "李老师", "no such class"}, 1, first + "," + second},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(hub_->run(c.args).exitCode, c.exitCode) << c.args[1] << " " << c.args.back();
    EXPECT_EQ(ask("SELECT string_agg(class_id::text, ',' ORDER BY class_id) FROM teacher_classes"),
              c.classes)
        << c.args.back();
  }
  EXPECT_EQ(ask("SELECT count(*) FROM teachers"), "1");
}

}  // namespace
}  // namespace hubtest

// SPDX-License-Identifier: MIT
// Teachers against a real database: added with a one-time password that signs them in and
// must be changed, given a new one when they forget theirs, their classes given and
// replaced, nothing half done on a mistake.
#include <functional>

#include "hub_fixture.h"
#include "schema.h"
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

  // Forgotten: a new one-time password, and the teacher is signed out everywhere.
  database.run(
      "INSERT INTO teacher_sessions (hash, teacher_id, csrf, expires)"
      " VALUES ('h', $1, 'c', now() + interval '1 hour')",
      {std::to_string(changed->id)});
  const std::string again = HubServer::LastLine(studyhub({"teacher", "password", "王老师"}));
  EXPECT_FALSE(hub::CheckTeacher(database, "王老师", "新的密码 2026"));
  const auto reset = hub::CheckTeacher(database, "王老师", again);
  ASSERT_TRUE(reset);
  EXPECT_TRUE(reset->mustChangePassword);
  EXPECT_EQ(ask("SELECT count(*) FROM teacher_sessions"), "0");
  EXPECT_EQ(hub_->run({"teacher", "password", "李老师"}).exitCode, 1);
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

TEST_F(HubTeachers, ThePageSaysWhenTheDatabaseIsAwayAndComesBackWithIt) {
  struct Step {
    std::function<void()> before;
    int status;
    const char* shows;
  };
  const Step steps[] = {{[] {}, 200, "教师登录"},
                        {[] { cluster().stop(); }, 503, "数据库暂时无法连接"},
                        {[] { cluster().start(); }, 200, "教师登录"}};
  for (const Step& step : steps) {
    step.before();
    const HttpAnswer page = client_->get("/");
    EXPECT_EQ(page.status, step.status) << page.body;
    EXPECT_NE(page.body.find(step.shows), std::string::npos) << page.body;
  }
}

// Each learner's latest counted answer to each card, as the class page reads it: made from
// the answers an older database holds, then kept up to date as answers and withdrawals come.
TEST_F(HubTeachers, CardStatesFollowAnswersAndWithdrawalsFromAnUpgradeOn) {
  const std::string older = cluster().newDatabase();
  hub::Database database(older);
  hub::UpgradeSchema(database, 2);
  database.run("INSERT INTO classes (name) VALUES ('c')");
  database.run("INSERT INTO learners (class_id, number, name) VALUES (1, '1', 'a')");
  const auto answer = [&](int seq, const char* line1, int time, int grade) {
    database.run("INSERT INTO answers VALUES (1, 'd', $1, $1, 'L', $2, '词', 'n.', $3, $4, 'r', 5)",
                 {std::to_string(seq), line1, std::to_string(time), std::to_string(grade)});
  };
  const auto withdraw = [&](int seq) {
    database.run("INSERT INTO withdrawals VALUES (1, 'd', $1, $1, 0)", {std::to_string(seq)});
  };
  const auto states = [&] {
    return database
        .run(
            "SELECT coalesce(string_agg(line1 || ':' || latest_time || '/' || latest_grade, ' '"
            " ORDER BY line1), '') FROM card_states")
        .text(0, 0);
  };
  answer(1, "a", 100, 3);
  answer(2, "a", 200, 1);
  answer(3, "b", 100, 4);
  withdraw(3);
  hub::UpgradeSchema(database);
  EXPECT_EQ(states(), "a:200/1");
  struct Step {
    std::function<void()> change;
    const char* states;
  };
  const Step steps[] = {
      {[&] { answer(4, "a", 150, 4); }, "a:200/1"},  // an older answer arriving late
      {[&] { answer(5, "b", 300, 2); }, "a:200/1 b:300/2"},
      {[&] { withdraw(2); }, "a:150/4 b:300/2"},  // back to the one before
      {[&] { withdraw(5); }, "a:150/4"},          // nothing left of b
      {[&] { answer(6, "a", 400, 3); }, "a:400/3"},
  };
  for (const Step& step : steps) {
    step.change();
    EXPECT_EQ(states(), step.states);
  }
}

}  // namespace
}  // namespace hubtest

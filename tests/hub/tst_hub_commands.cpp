// SPDX-License-Identifier: MIT
// The teacher's commands against a real database: the schema's steps, classes, learners,
// class lists and join codes.
#include <sys/stat.h>

#include <fstream>

#include "hub_fixture.h"
#include "join_code.h"
#include "schema.h"

namespace hubtest {
namespace {

using HubCommands = HubFixture;

TEST_F(HubCommands, InitAgainChangesNothingAndAnOlderSchemaIsUpgraded) {
  const std::string latest = std::to_string(hub::LatestSchemaVersion());
  EXPECT_NE(studyhub({"init"}).find("up to date (version " + latest + ")"), std::string::npos);
  const std::string older = cluster().newDatabase();
  {
    hub::Database database(older);
    EXPECT_EQ(hub::UpgradeSchema(database, 1), 1u);
    EXPECT_EQ(std::string(database.run("SELECT to_regclass('answers') IS NULL").text(0, 0)), "t");
  }
  const ProgramRun upgraded = RunProgram({STUDYHUB, "init", "--db", older});
  EXPECT_EQ(upgraded.exitCode, 0) << upgraded.output;
  EXPECT_NE(upgraded.output.find("from version 1 to " + latest), std::string::npos)
      << upgraded.output;
  hub::Database database(older);
  EXPECT_EQ(hub::SchemaVersion(database), hub::LatestSchemaVersion());
}

TEST_F(HubCommands, ASchemaOfANewerStudyhubIsRefusedAndLeftAsItIs) {
  ask("INSERT INTO schema_version (version) VALUES (99) RETURNING version");
  const ProgramRun init = hub_->run({"init"});
  EXPECT_EQ(init.exitCode, 1);
  EXPECT_NE(init.output.find("newer"), std::string::npos) << init.output;
  EXPECT_EQ(ask("SELECT max(version) FROM schema_version"), "99");
  EXPECT_EQ(hub_->run({"learner", "list", "Class 1"}).exitCode, 1);
}

TEST_F(HubCommands, AClassIsFoundByItsNameOrItsIdAndANameIsTakenOnce) {
  const std::string id = HubServer::LastLine(studyhub({"class", "add", "高一(3)班"}));
  EXPECT_EQ(id, ask("SELECT id FROM classes WHERE name = '高一(3)班'"));
  EXPECT_EQ(hub_->run({"class", "add", "高一(3)班"}).exitCode, 1);
  int number = 0;
  for (const std::string& which : {std::string("高一(3)班"), id}) {
    const ProgramRun added = hub_->run({"learner", "add", which, std::to_string(++number), "李雷"});
    EXPECT_EQ(added.exitCode, 0) << which << added.output;
  }
  EXPECT_EQ(hub_->run({"learner", "list", "no such class"}).exitCode, 1);
}

TEST_F(HubCommands, AJoinCodeNamesTheServersAddressAndPinUnlessAnotherAddressIsGiven) {
  const std::string pin = ask("SELECT pin FROM server");
  struct Case {
    std::vector<std::string> extra;
    std::string address;
  };
  const std::vector<Case> cases{
      {{}, hub_->address()}, {{"--address", "school.example.cn:9443"}, "school.example.cn:9443"}};
  int number = 1;
  for (const Case& c : cases) {
    std::vector<std::string> args{"learner", "add", "Class 1", std::to_string(number++), "韩梅梅"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    std::string why;
    const auto code = studysync::ParseJoinCode(HubServer::LastLine(studyhub(args)), why);
    ASSERT_TRUE(code) << why;
    EXPECT_EQ(code->host + ":" + std::to_string(code->port), c.address);
    EXPECT_EQ(code->pin, pin);
    EXPECT_GE(code->secret.size(), 22u);
  }
  EXPECT_EQ(hub_->run({"learner", "add", "Class 1", "9", "x", "--address", "no port"}).exitCode, 2);
  EXPECT_EQ(ask("SELECT count(*) FROM join_codes"), "2");  // only hashes are kept
  EXPECT_EQ(ask("SELECT count(*) FROM join_codes WHERE length(hash) = 64"), "2");
}

TEST_F(HubCommands, AClassListInGbkOrUtf8IsImportedWithACodeForEachLearner) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  // 学号,姓名 / 李雷 / 韩梅梅 in GBK, and in UTF-8 with a byte order mark and tabs.
  const std::vector<Case> cases{
      {"gbk.csv",
       "\xd1\xa7\xba\xc5,\xd0\xd5\xc3\xfb\r\n1001,\xc0\xee\xc0\xd7\r\n1002,"
       "\xba\xab\xc3\xb7\xc3\xb7\r\n"},
      {"utf8.csv", "\xef\xbb\xbf学号\t姓名\n1001\t李雷\n1002\t韩梅梅\n"}};
  for (const Case& c : cases) {
    std::ofstream(folder_->file(c.name), std::ios::binary) << c.bytes;
    const std::string printed = studyhub({"learner", "import", "Class 1", folder_->file(c.name)});
    EXPECT_NE(printed.find("1001\t李雷\t" + hub_->address() + "/"), std::string::npos) << printed;
    EXPECT_NE(printed.find("1002\t韩梅梅\t"), std::string::npos) << printed;
  }
  EXPECT_EQ(ask("SELECT count(*) FROM learners"), "2");
  EXPECT_EQ(ask("SELECT count(*) FROM join_codes"), "4");
  const std::string list = studyhub({"learner", "list", "Class 1"});
  EXPECT_NE(list.find("1001\t李雷\t0\tnever"), std::string::npos) << list;
}

TEST_F(HubCommands, ABadClassListIsRefusedWithItsLineAndNothingIsAdded) {
  std::ofstream(folder_->file("bad.csv")) << "1001,李雷\n1002\n";
  const ProgramRun run = hub_->run({"learner", "import", "Class 1", folder_->file("bad.csv")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("line 2"), std::string::npos) << run.output;
  EXPECT_EQ(ask("SELECT count(*) FROM learners"), "0");
}

TEST_F(HubCommands, MakeCertWritesAKeyOnlyItsOwnerReads) {
  struct stat key {};
  ASSERT_EQ(stat(folder_->file("key.pem").c_str(), &key), 0);
  EXPECT_EQ(key.st_mode & 0777, 0600u);
  // Made again over a key someone opened up: narrowed again.
  chmod(folder_->file("key.pem").c_str(), 0644);
  studyhub({"make-cert", "127.0.0.1", folder_->path().string()});
  ASSERT_EQ(stat(folder_->file("key.pem").c_str(), &key), 0);
  EXPECT_EQ(key.st_mode & 0777, 0600u);
}

TEST_F(HubCommands, EveryCommandNeedsADatabase) {
  const ProgramRun run = RunProgram({STUDYHUB, "learner", "list", "Class 1"}, {"STUDYHUB_DB="});
  EXPECT_EQ(run.exitCode, 2);
  const ProgramRun fromEnvironment =
      RunProgram({STUDYHUB, "learner", "list", "Class 1"}, {"STUDYHUB_DB=" + conninfo_});
  EXPECT_EQ(fromEnvironment.exitCode, 0) << fromEnvironment.output;
}

}  // namespace
}  // namespace hubtest

// SPDX-License-Identifier: MIT
#include "hub_fixture.h"

#include <signal.h>

namespace hubtest {

void HubFixture::SetUpTestSuite() {
  // A server killed under a request must fail that request, not end the test.
  signal(SIGPIPE, SIG_IGN);
  cluster_ = std::make_unique<PostgresCluster>();
}

void HubFixture::TearDownTestSuite() {
  cluster_.reset();
}

void HubFixture::SetUp() {
  conninfo_ = cluster_->newDatabase();
  folder_ = std::make_unique<testsupport::TempDir>();
  hub_ = std::make_unique<HubServer>(STUDYHUB, conninfo_, folder_->path());
  hub_->start();
  client_ = std::make_unique<HubClient>(hub_->port(), hub_->certificate().string());
  studyhub({"class", "add", "Class 1"});
}

std::string HubFixture::studyhub(const std::vector<std::string>& args) {
  const ProgramRun run = hub_->run(args);
  EXPECT_EQ(run.exitCode, 0) << run.output;
  return run.output;
}

std::string HubFixture::SecretOf(const std::string& code) {
  return code.substr(code.rfind('/') + 1);
}

std::string HubFixture::addLearner(const std::string& number, const std::string& name) {
  return SecretOf(HubServer::LastLine(studyhub({"learner", "add", "Class 1", number, name})));
}

studysync::JoinReply HubFixture::joinAs(const std::string& number, const std::string& device) {
  const std::string code = HubServer::LastLine(studyhub({"learner", "code", "Class 1", number}));
  const HttpAnswer answer = client_->join(SecretOf(code), device);
  EXPECT_EQ(answer.status, 200) << answer.body;
  std::string why;
  return studysync::DecodeJoinReply(answer.body, why).value_or(studysync::JoinReply{});
}

std::string HubFixture::ask(const char* sql) {
  hub::Database database(conninfo_);
  const hub::Rows rows = database.run(sql);
  return rows.size() == 0 ? std::string() : rows.text(0, 0);
}

}  // namespace hubtest

// SPDX-License-Identifier: MIT
// A fresh database and a running studyhub for each test, over one cluster for the suite;
// a class with one learner and the join code the server printed for them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "database.h"
#include "hub_client.h"
#include "hub_server.h"
#include "postgres_cluster.h"
#include "test_support.h"

namespace hubtest {

class HubFixture : public testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;

  static PostgresCluster& cluster() { return *cluster_; }
  // studyhub ARGS on this test's database; fails the test when it does not exit 0.
  std::string studyhub(const std::vector<std::string>& args);
  // A new learner of the class and the secret of their join code.
  std::string addLearner(const std::string& number, const std::string& name);
  static std::string SecretOf(const std::string& code);
  // Joins as `device` with a new code for learner `number`; the reply.
  studysync::JoinReply joinAs(const std::string& number, const std::string& device);
  // One value of a query on this test's database.
  std::string ask(const char* sql);

  std::string conninfo_;
  std::unique_ptr<testsupport::TempDir> folder_;
  std::unique_ptr<HubServer> hub_;
  std::unique_ptr<HubClient> client_;

 private:
  static inline std::unique_ptr<PostgresCluster> cluster_;
};

}  // namespace hubtest

// SPDX-License-Identifier: MIT
// The throwaway cluster the hub tests stand on: it answers, survives a stop and a start, and
// leaves nothing behind.
#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <filesystem>
#include <memory>
#include <string>

#include "postgres_cluster.h"

namespace {

// The one value `SELECT 1` gives through `conninfo`, or the connection's error.
std::string AskOne(const std::string& conninfo) {
  const std::unique_ptr<PGconn, decltype(&PQfinish)> connection(PQconnectdb(conninfo.c_str()),
                                                                &PQfinish);
  if (PQstatus(connection.get()) != CONNECTION_OK) return PQerrorMessage(connection.get());
  const std::unique_ptr<PGresult, decltype(&PQclear)> result(
      PQexecParams(connection.get(), "SELECT 1", 0, nullptr, nullptr, nullptr, nullptr, 0),
      &PQclear);
  return PQresultStatus(result.get()) == PGRES_TUPLES_OK ? PQgetvalue(result.get(), 0, 0)
                                                         : PQerrorMessage(connection.get());
}

TEST(PostgresCluster, AnswersStopsStartsAgainAndLeavesNothingBehind) {
  std::filesystem::path folder;
  {
    hubtest::PostgresCluster cluster;
    folder = cluster.folder();
    const std::string database = cluster.newDatabase();
    EXPECT_EQ(AskOne(database), "1");
    cluster.stop();
    EXPECT_NE(AskOne(database), "1");
    cluster.start();
    EXPECT_EQ(AskOne(database), "1");
    EXPECT_NE(cluster.newDatabase(), database);
  }
  EXPECT_FALSE(std::filesystem::exists(folder));
}

}  // namespace

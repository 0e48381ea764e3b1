// SPDX-License-Identifier: MIT
// A throwaway PostgreSQL 15 cluster for a test: made with initdb in a temporary folder,
// reached through a unix socket in that folder (-A trust), started on a free port and
// stopped (immediately) and removed when it goes, whatever the test's outcome. As root,
// initdb and the server run as the "postgres" user, who is given the folder.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace hubtest {

class PostgresCluster {
 public:
  // Throws std::runtime_error with initdb's or pg_ctl's output. Tests need no durability
  // (fsync off, quicker); a benchmark asks for a cluster that writes as a real one does.
  explicit PostgresCluster(bool durable = false);
  ~PostgresCluster();
  PostgresCluster(const PostgresCluster&) = delete;
  PostgresCluster& operator=(const PostgresCluster&) = delete;

  // A libpq connection string for database `database` of the cluster.
  std::string conninfo(const std::string& database = "postgres") const;
  // A new empty database; its connection string.
  std::string newDatabase();

  void stop();   // pg_ctl -m immediate stop
  void start();  // after stop(), on the same port
  int port() const { return port_; }
  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::string pgCtl(const std::string& action) const;
  void startReaper();

  // A child that waits for this process to end, however it ends, and then stops the
  // cluster and removes its folder: a crashed test leaves no server behind.
  pid_t reaper_ = -1;
  int reaperPipe_ = -1;

  std::filesystem::path folder_;
  int port_ = 0;
  int databases_ = 0;
  bool durable_ = false;
  bool running_ = false;
};

}  // namespace hubtest

// SPDX-License-Identifier: MIT
#include "postgres_cluster.h"

#include <fcntl.h>
#include <libpq-fe.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <stdexcept>
#include <system_error>

#include "child_process.h"

namespace hubtest {
namespace {

const std::string kBin = "/usr/lib/postgresql/15/bin/";
const char* const kSuperuser = "hub";

// The command line that runs a PostgreSQL program: as "postgres" when we are root, since
// the server refuses to run as root.
std::vector<std::string> AsClusterOwner(std::vector<std::string> argv) {
  if (geteuid() != 0) return argv;
  argv.insert(argv.begin(), {"/usr/sbin/runuser", "-u", "postgres", "--"});
  return argv;
}

void Require(const ProgramRun& run, const std::string& what) {
  if (run.exitCode != 0) throw std::runtime_error(what + " failed:\n" + run.output);
}

}  // namespace

PostgresCluster::PostgresCluster(bool durable) : durable_(durable) {
  std::string pattern = (std::filesystem::temp_directory_path() / "hub-pg-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("no temporary folder");
  folder_ = pattern;
  if (geteuid() == 0) {
    const passwd* owner = getpwnam("postgres");
    if (!owner || chown(folder_.c_str(), owner->pw_uid, owner->pw_gid) != 0) {
      std::filesystem::remove_all(folder_);
      throw std::runtime_error("the postgres user cannot be given " + folder_.string());
    }
  }
  try {
    port_ = FreePort();
    Require(RunProgram(AsClusterOwner({kBin + "initdb", "-D", (folder_ / "data").string(), "-A",
                                       "trust", "-U", kSuperuser, "-E", "UTF8", "--no-sync"})),
            "initdb");
    start();
    startReaper();
  } catch (...) {
    std::filesystem::remove_all(folder_);
    throw;
  }
}

PostgresCluster::~PostgresCluster() {
  if (running_) {
    try {
      stop();
    } catch (const std::exception&) {
      // Removing the folder below still takes the cluster's files away.
    }
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
  if (reaper_ > 0) {
    close(reaperPipe_);
    waitpid(reaper_, nullptr, 0);
  }
}

void PostgresCluster::startReaper() {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  std::vector<std::string> stop{kBin + "pg_ctl", "-D",  (folder_ / "data").string(), "-m",
                                "immediate",     "stop"};
  stop = AsClusterOwner(stop);
  std::string script = "read -r _; ";
  for (const auto& word : stop) script += "'" + word + "' ";
  script += "> /dev/null 2>&1; rm -rf '" + folder_.string() + "'";
  reaper_ = fork();
  if (reaper_ < 0) throw std::runtime_error("fork failed");
  if (reaper_ == 0) {
    dup2(ends[0], STDIN_FILENO);
    execl("/bin/sh", "sh", "-c", script.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(ends[0]);
  reaperPipe_ = ends[1];
}

std::string PostgresCluster::pgCtl(const std::string& action) const {
  std::vector<std::string> argv{kBin + "pg_ctl",
                                "-D",
                                (folder_ / "data").string(),
                                "-w",
                                "-t",
                                "60",
                                "-l",
                                (folder_ / "server.log").string()};
  if (action == "start") {
    // Only the unix socket in our folder: no TCP port to collide over, no outside access.
    argv.insert(argv.end(),
                {"-o", "-p " + std::to_string(port_) + " -k " + folder_.string() +
                           " -c listen_addresses=" + (durable_ ? "" : " -c fsync=off")});
  } else {
    argv.insert(argv.end(), {"-m", "immediate"});
  }
  argv.push_back(action);
  const ProgramRun run = RunProgram(AsClusterOwner(argv), {}, std::chrono::seconds(90));
  Require(run, "pg_ctl " + action);
  return run.output;
}

void PostgresCluster::start() {
  pgCtl("start");
  running_ = true;
}

void PostgresCluster::stop() {
  running_ = false;
  pgCtl("stop");
}

std::string PostgresCluster::conninfo(const std::string& database) const {
  return "host=" + folder_.string() + " port=" + std::to_string(port_) + " user=" + kSuperuser +
         " dbname=" + database + " connect_timeout=10";
}

std::string PostgresCluster::newDatabase() {
  const std::string name = "hub" + std::to_string(++databases_);
  const std::unique_ptr<PGconn, decltype(&PQfinish)> connection(PQconnectdb(conninfo().c_str()),
                                                                &PQfinish);
  if (PQstatus(connection.get()) != CONNECTION_OK) {
    throw std::runtime_error(PQerrorMessage(connection.get()));
  }
  // A name we made ourselves from a counter: nothing from outside goes into the statement.
  const std::unique_ptr<PGresult, decltype(&PQclear)> result(
      PQexec(connection.get(), ("CREATE DATABASE " + name).c_str()), &PQclear);
  if (PQresultStatus(result.get()) != PGRES_COMMAND_OK) {
    throw std::runtime_error(PQerrorMessage(connection.get()));
  }
  return conninfo(name);
}

}  // namespace hubtest

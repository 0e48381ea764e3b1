// SPDX-License-Identifier: MIT
// Programs the hub tests start: run to their end with a bound, or kept running and stopped
// (politely or with SIGKILL) by the test.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace hubtest {

struct ProgramRun {
  int exitCode = -1;   // -1 when it was killed or did not end in time
  std::string output;  // standard output and standard error, interleaved
  bool timedOut = false;
};

// Runs `argv` (argv[0] a path) with `environment` added to this process's, and waits at most
// `limit` for it to end; a program still running then is killed.
ProgramRun RunProgram(const std::vector<std::string>& argv,
                      const std::vector<std::string>& environment = {},
                      std::chrono::milliseconds limit = std::chrono::seconds(60));

// A program running beside the test, its output going to `logFile`.
class ChildProcess {
 public:
  ChildProcess(const std::vector<std::string>& argv, const std::string& logFile,
               const std::vector<std::string>& environment = {});
  ~ChildProcess();  // kills what still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t pid() const { return pid_; }
  bool running();
  // Sends `signal` and waits (bounded) for the end; the exit code, or -1.
  int stop(int signal, std::chrono::milliseconds limit = std::chrono::seconds(20));

 private:
  pid_t pid_ = -1;
  bool ended_ = false;
};

// A TCP port on 127.0.0.1 nothing listens on at the moment of asking.
int FreePort();

}  // namespace hubtest

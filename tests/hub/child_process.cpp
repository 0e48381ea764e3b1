// SPDX-License-Identifier: MIT
#include "child_process.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace hubtest {
namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void ExecChild(const std::vector<std::string>& argv,
                            const std::vector<std::string>& environment) {
  // A test that crashes takes what it started with it, instead of leaving a server behind.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  for (const auto& setting : environment) putenv(const_cast<char*>(setting.c_str()));
  std::vector<char*> args;
  for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  execv(args[0], args.data());
  _exit(127);
}

// Waits for `pid` until `deadline`; its exit code, -1 for a signal, -2 when it still runs.
int WaitUntil(pid_t pid, Clock::time_point deadline) {
  auto pause = std::chrono::milliseconds(1);
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (done < 0) return -1;
    if (Clock::now() >= deadline) return -2;
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(50));
  }
}

}  // namespace

ProgramRun RunProgram(const std::vector<std::string>& argv,
                      const std::vector<std::string>& environment,
                      std::chrono::milliseconds limit) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    dup2(pipeEnds[1], STDOUT_FILENO);
    dup2(pipeEnds[1], STDERR_FILENO);
    ExecChild(argv, environment);
  }
  close(pipeEnds[1]);
  ProgramRun run;
  const auto deadline = Clock::now() + limit;
  char buffer[4096];
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) {
      run.timedOut = true;
      kill(pid, SIGKILL);
      break;
    }
    pollfd readable{pipeEnds[0], POLLIN, 0};
    if (poll(&readable, 1, static_cast<int>(left.count())) <= 0) continue;
    const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer);
    if (got <= 0) break;
    run.output.append(buffer, static_cast<std::size_t>(got));
  }
  close(pipeEnds[0]);
  const int code = WaitUntil(pid, Clock::now() + std::chrono::seconds(10));
  run.exitCode = run.timedOut ? -1 : code;
  return run;
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::string& logFile,
                           const std::vector<std::string>& environment) {
  const int log = open(logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (log < 0) throw std::runtime_error("cannot write " + logFile);
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    dup2(log, STDOUT_FILENO);
    dup2(log, STDERR_FILENO);
    ExecChild(argv, environment);
  }
  close(log);
}

ChildProcess::~ChildProcess() {
  if (!ended_) stop(SIGKILL);
}

bool ChildProcess::running() {
  if (ended_) return false;
  if (WaitUntil(pid_, Clock::now()) == -2) return true;
  ended_ = true;
  return false;
}

int ChildProcess::stop(int signal, std::chrono::milliseconds limit) {
  if (ended_) return -1;
  kill(pid_, signal);
  int code = WaitUntil(pid_, Clock::now() + limit);
  if (code == -2) {
    kill(pid_, SIGKILL);
    code = WaitUntil(pid_, Clock::now() + std::chrono::seconds(10));
  }
  ended_ = true;
  return code;
}

int FreePort() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    throw std::runtime_error("no free port");
  }
  close(fd);
  return ntohs(address.sin_port);
}

}  // namespace hubtest

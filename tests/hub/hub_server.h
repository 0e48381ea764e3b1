// SPDX-License-Identifier: MIT
// The real `studyhub` for a test: its schema made in a database, a certificate of its own,
// and `serve` running on a free port of 127.0.0.1, to be killed and started again.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "child_process.h"

namespace hubtest {

class HubServer {
 public:
  // Runs `studyhub init` on `conninfo` and `studyhub make-cert 127.0.0.1` into `folder`;
  // throws std::runtime_error with the output when either fails.
  HubServer(std::string studyhub, std::string conninfo, std::filesystem::path folder);
  ~HubServer();
  HubServer(const HubServer&) = delete;
  HubServer& operator=(const HubServer&) = delete;

  // `studyhub ARGS --db CONNINFO`, run to its end.
  ProgramRun run(std::vector<std::string> args) const;
  // The join code a command printed: its last line.
  static std::string LastLine(const std::string& output);

  // Starts `serve` (on the same port each time) and waits until it accepts connections;
  // throws when it ends or does not answer within 30 s, with its log.
  void start();
  void kill();  // SIGKILL, as a crash or a power cut would
  int stop();   // SIGTERM; the exit code
  bool running() const;

  int port() const { return port_; }
  std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
  std::filesystem::path certificate() const { return folder_ / "cert.pem"; }
  std::string log() const;

 private:
  std::string studyhub_;
  std::string conninfo_;
  std::filesystem::path folder_;
  int port_ = 0;
  std::unique_ptr<ChildProcess> serving_;
};

}  // namespace hubtest

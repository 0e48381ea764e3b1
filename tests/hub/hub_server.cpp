// SPDX-License-Identifier: MIT
#include "hub_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

namespace hubtest {
namespace {

bool Accepts(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const bool connected = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return connected;
}

}  // namespace

HubServer::HubServer(std::string studyhub, std::string conninfo, std::filesystem::path folder)
    : studyhub_(std::move(studyhub)), conninfo_(std::move(conninfo)), folder_(std::move(folder)) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"init"}, {"make-cert", "127.0.0.1", folder_.string()}}) {
    const ProgramRun done = run(args);
    if (done.exitCode != 0) throw std::runtime_error("studyhub " + args[0] + ":\n" + done.output);
  }
  port_ = FreePort();
}

HubServer::~HubServer() = default;

ProgramRun HubServer::run(std::vector<std::string> args) const {
  args.insert(args.begin(), studyhub_);
  args.insert(args.end(), {"--db", conninfo_});
  return RunProgram(args);
}

std::string HubServer::LastLine(const std::string& output) {
  std::string text = output;
  while (!text.empty() && text.back() == '\n') text.pop_back();
  const auto lineStart = text.rfind('\n');
  return lineStart == std::string::npos ? text : text.substr(lineStart + 1);
}

void HubServer::start() {
  serving_ = std::make_unique<ChildProcess>(
      std::vector<std::string>{studyhub_, "serve", "--db", conninfo_, "--listen", address(),
                               "--cert", certificate().string(), "--key",
                               (folder_ / "key.pem").string()},
      (folder_ / "serve.log").string());
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  auto pause = std::chrono::milliseconds(2);
  while (!Accepts(port_)) {
    if (!serving_->running()) throw std::runtime_error("studyhub serve ended:\n" + log());
    if (std::chrono::steady_clock::now() > deadline) {
      throw std::runtime_error("studyhub serve does not answer:\n" + log());
    }
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(100));
  }
}

void HubServer::kill() {
  if (serving_) serving_->stop(SIGKILL);
}

int HubServer::stop() {
  return serving_ ? serving_->stop(SIGTERM) : -1;
}

bool HubServer::running() const {
  return serving_ && serving_->running();
}

std::string HubServer::log() const {
  std::ifstream in(folder_ / "serve.log");
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace hubtest

// SPDX-License-Identifier: MIT
// The class server under a class's load, against the real studyhub and a PostgreSQL cluster
// that writes as a real one does (fsync on), both on this machine:
//   hub_bench [LEARNERS] [DEVICES_AT_ONCE]      (1000 and 8)
// Every learner joins with the code `learner import` printed, then syncs 200 new answers 50
// at a time; then each syncs once with nothing new; then one new device pulls 100,000
// answers of another. Prints the time of one sync (median, p99) and answers a second.
#include <httplib.h>
#include <signal.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "hub_client.h"
#include "hub_server.h"
#include "postgres_cluster.h"
#include "sync_messages.h"
#include "test_support.h"

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

struct Device {
  studysync::JoinReply joined;
  std::string id;
  std::int64_t cursor = 0;
};

// One device's connection, kept open between its requests as a device's sync loop does.
class Connection {
 public:
  Connection(int port, const std::string& certificate) : client_("127.0.0.1", port) {
    client_.set_ca_cert_path(certificate.c_str());
    client_.enable_server_certificate_verification(true);
    client_.set_keep_alive(true);
    client_.set_tcp_nodelay(true);  // as curl, which devices use, does
    client_.set_read_timeout(std::chrono::seconds(60));
  }
  std::string post(const char* path, const std::string& body, const std::string& token = {}) {
    httplib::Headers headers;
    if (!token.empty()) headers.emplace("Authorization", "Bearer " + token);
    const auto result = client_.Post(path, headers, body, "application/json");
    if (!result || result->status != 200) {
      throw std::runtime_error(std::string(path) + " failed: " +
                               (result ? result->body : httplib::to_string(result.error())));
    }
    return result->body;
  }

 private:
  httplib::SSLClient client_;
};

// Runs `work(connection, index)` for every index below `count` on `parallel` threads.
template <typename Work>
void OnThreads(int parallel, int count, int port, const std::string& certificate, Work work) {
  std::atomic<int> next{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < parallel; ++t) {
    threads.emplace_back([&] {
      Connection connection(port, certificate);
      for (int i = next++; i < count; i = next++) work(connection, i);
    });
  }
  for (auto& thread : threads) thread.join();
}

studysync::SyncReply Sync(Connection& connection, Device& device,
                          std::vector<studysync::SyncAnswer> answers) {
  studysync::SyncRequest request;
  request.learner = device.joined.learner;
  request.device = device.id;
  request.since = device.cursor;
  request.items.answers = std::move(answers);
  std::string why;
  const auto reply = studysync::DecodeSyncReply(
      connection.post("/v1/sync", studysync::Encode(request), device.joined.token), why);
  if (!reply) throw std::runtime_error("a reply that cannot be read: " + why);
  device.cursor = reply->cursor;
  return *reply;
}

struct Times {
  std::mutex mutex;
  std::vector<double> millis;
  void add(Clock::time_point start) {
    const double spent = Millis(Clock::now() - start).count();
    const std::lock_guard lock(mutex);
    millis.push_back(spent);
  }
  double at(double share) {
    std::sort(millis.begin(), millis.end());
    return millis[std::min(millis.size() - 1, static_cast<std::size_t>(share * millis.size()))];
  }
};

std::vector<std::string> Codes(const std::string& printed) {
  std::vector<std::string> codes;
  std::istringstream lines(printed);
  for (std::string line; std::getline(lines, line);) {
    if (std::count(line.begin(), line.end(), '\t') == 2)
      codes.push_back(line.substr(line.rfind('/') + 1));
  }
  return codes;
}

}  // namespace

int main(int argc, char** argv) {
  const int learners = argc > 1 ? std::stoi(argv[1]) : 1000;
  const int parallel = argc > 2 ? std::stoi(argv[2]) : 8;
  constexpr int kAnswers = 200;
  constexpr int kBatch = 50;
  signal(SIGPIPE, SIG_IGN);
  try {
    hubtest::PostgresCluster cluster(true);
    testsupport::TempDir folder;
    hubtest::HubServer hub(STUDYHUB, cluster.newDatabase(), folder.path());
    hub.start();
    const std::string certificate = hub.certificate().string();
    hub.run({"class", "add", "Bench"});
    {
      std::ofstream list(folder.file("class.csv"));
      list << "学号,姓名\n";
      for (int i = 0; i < learners; ++i) list << 100000 + i << ",学生" << i << '\n';
    }
    const auto codes =
        Codes(hub.run({"learner", "import", "Bench", folder.file("class.csv")}).output);
    if (static_cast<int>(codes.size()) != learners) throw std::runtime_error("the import failed");

    std::vector<Device> devices(static_cast<std::size_t>(learners));
    OnThreads(parallel, learners, hub.port(), certificate, [&](Connection& c, int i) {
      Device& device = devices[static_cast<std::size_t>(i)];
      device.id = hubtest::DeviceId(i + 1);
      std::string why;
      device.joined = *studysync::DecodeJoinReply(
          c.post("/v1/join", studysync::Encode(studysync::JoinRequest{codes[i], device.id, "pc"})),
          why);
    });

    Times syncs;
    const auto loadStart = Clock::now();
    OnThreads(parallel, learners, hub.port(), certificate, [&](Connection& c, int i) {
      Device& device = devices[static_cast<std::size_t>(i)];
      for (int first = 1; first <= kAnswers; first += kBatch) {
        const auto start = Clock::now();
        if (Sync(c, device, hubtest::Answers(device.id, first, kBatch)).storedAnswers != kBatch) {
          throw std::runtime_error("answers were not stored");
        }
        syncs.add(start);
      }
    });
    const double loadSeconds = std::chrono::duration<double>(Clock::now() - loadStart).count();

    Times idle;
    OnThreads(parallel, learners, hub.port(), certificate, [&](Connection& c, int i) {
      const auto start = Clock::now();
      Sync(c, devices[static_cast<std::size_t>(i)], {});
      idle.add(start);
    });

    // One learner's 100,000 answers, then a new device of theirs takes them all.
    Connection one(hub.port(), certificate);
    Device& laptop = devices[0];
    for (int first = kAnswers + 1; first < kAnswers + 100000; first += 5000) {
      Sync(one, laptop, hubtest::Answers(laptop.id, first, 5000));
    }
    const std::string secret =
        hubtest::HubServer::LastLine(hub.run({"learner", "code", "Bench", "100000"}).output);
    Device fresh;
    fresh.id = hubtest::DeviceId(learners + 1);
    std::string why;
    fresh.joined = *studysync::DecodeJoinReply(
        one.post("/v1/join", studysync::Encode(studysync::JoinRequest{
                                 secret.substr(secret.rfind('/') + 1), fresh.id, "new pc"})),
        why);
    const auto pullStart = Clock::now();
    std::size_t pulled = 0;
    for (bool more = true; more;) {
      const auto reply = Sync(one, fresh, {});
      pulled += reply.items.answers.size();
      more = reply.more;
    }
    const double pullSeconds = std::chrono::duration<double>(Clock::now() - pullStart).count();

    std::printf("%d learners, %d devices at once, %d answers each in syncs of %d\n", learners,
                parallel, kAnswers, kBatch);
    std::printf("sync of %d new answers: median %.1f ms, p99 %.1f ms, longest %.1f ms\n", kBatch,
                syncs.at(0.5), syncs.at(0.99), syncs.at(1.0));
    std::printf("answers taken: %.0f a second (%d in %.2f s)\n", learners * kAnswers / loadSeconds,
                learners * kAnswers, loadSeconds);
    std::printf("sync with nothing new: median %.1f ms, p99 %.1f ms\n", idle.at(0.5),
                idle.at(0.99));
    std::printf("a new device pulling %zu answers: %.2f s\n", pulled, pullSeconds);
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "hub_bench: " << error.what() << '\n';
    return 1;
  }
}

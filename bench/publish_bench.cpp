// SPDX-License-Identifier: MIT
// A book of 2,984 entries handed out to a class of 60: `studyhub publish` on a real
// PostgreSQL cluster (fsync on), then every learner's device runs `studytool sync`, all at
// once as a class starting a lesson would. Prints the times and checks that every device
// wrote the book exactly.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "child_process.h"
#include "course_file.h"
#include "course_fixture.h"
#include "file_io.h"
#include "hub_server.h"
#include "postgres_cluster.h"
#include "test_support.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

hubtest::ProgramRun Must(hubtest::ProgramRun run, const char* what) {
  if (run.exitCode != 0) {
    std::fprintf(stderr, "%s failed:\n%s\n", what, run.output.c_str());
    std::exit(1);
  }
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  const int learners = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
  // The benchmark's full course file, its last slot left empty as a book of the chooser's
  // 2,984 lesson entries has it.
  course::RecordTable table = bench::Fixture().table;
  table[course::kRecordSlots - 1] = {};
  testsupport::TempDir folder;
  const std::string bookPath = folder.file("book.dat");
  if (!course::WriteCourseFile(bookPath, table).ok()) return 1;
  const std::string book = testsupport::ReadBytes(bookPath);

  hubtest::PostgresCluster cluster(true);
  testsupport::TempDir hubFolder;
  hubtest::HubServer hub(STUDYHUB, cluster.newDatabase(), hubFolder.path());
  hub.start();
  Must(hub.run({"class", "add", "英语1班"}), "class add");
  std::vector<std::unique_ptr<testsupport::TempDir>> devices;
  for (int i = 0; i < learners; ++i) {
    const std::string code = hubtest::HubServer::LastLine(
        Must(hub.run({"learner", "add", "英语1班", std::to_string(2024000 + i), "学生"}),
             "learner add")
            .output);
    devices.push_back(std::make_unique<testsupport::TempDir>());
    Must(hubtest::RunProgram({STUDYTOOL, "join", code, devices.back()->file("study.db")}),
         "studytool join");
  }

  const auto publishing = Clock::now();
  Must(hub.run({"publish", "英语1班", "1", bookPath}), "publish");
  const double publishMillis = MillisSince(publishing);

  const auto syncing = Clock::now();
  std::vector<std::future<double>> syncs;
  for (const auto& device : devices) {
    syncs.push_back(std::async(std::launch::async, [&device] {
      const auto start = Clock::now();
      const auto run = Must(hubtest::RunProgram({STUDYTOOL, "sync", device->file("study.db")}, {},
                                                std::chrono::seconds(300)),
                            "studytool sync");
      if (run.output.find("books received 1") == std::string::npos) {
        std::fprintf(stderr, "a device received no book:\n%s\n", run.output.c_str());
        std::exit(1);
      }
      return MillisSince(start);
    }));
  }
  std::vector<double> times;
  for (auto& sync : syncs) times.push_back(sync.get());
  const double allMillis = MillisSince(syncing);
  int exact = 0;
  for (const auto& device : devices)
    exact += testsupport::ReadBytes(device->file("c1.dat")) == book;
  std::sort(times.begin(), times.end());
  std::printf("book: %zu bytes; publish: %.0f ms\n", book.size(), publishMillis);
  std::printf(
      "%d devices syncing at once: all done in %.0f ms; one sync median %.0f ms, "
      "slowest %.0f ms\n",
      learners, allMillis, times[times.size() / 2], times.back());
  std::printf("devices holding the book exactly: %d of %d\n", exact, learners);
  return exact == learners ? 0 : 1;
}

// SPDX-License-Identifier: MIT
// The teachers' class page under a full class, against the real studyhub and a PostgreSQL
// cluster that writes as a real one does, both on this machine:
//   class_page_bench [LEARNERS] [LESSONS] [ANSWERS]      (60, 129 and 1,000,000)
// The answers go straight into the database (what the page reads; the sync has its own
// bench), 23 entries a lesson, and the class has been handed a book of all those lessons, so
// the grid counts each lesson against the book's entries. A teacher signs in; then each
// view and the grid's CSV are asked for again and again: the time to the first byte of
// each, first and median.
#include <algorithm>
#include <array>
#include <chrono>
#include <iostream>
#include <string>
#include <vector>

#include "book_bytes.h"
#include "database.h"
#include "hub_server.h"
#include "postgres_cluster.h"
#include "teacher_browser.h"
#include "test_support.h"

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

constexpr int kEntriesPerLesson = 23;
constexpr int kRounds = 10;

void Fill(const std::string& conninfo, int learners, int lessons, long answers) {
  hub::Database database(conninfo);
  database.run("INSERT INTO classes (name) VALUES ('Bench')");
  database.run(
      "INSERT INTO learners (class_id, number, name) SELECT 1, (100000 + n)::text,"
      " '学生' || n FROM generate_series(1, $1::int) n",
      {std::to_string(learners)});
  // Each learner's answers over the last twelve weeks, every card about equally often.
  database.run(
      "INSERT INTO answers (learner_id, device, seq, number, lesson, line1, line2, part, time,"
      " grade, activity, seconds)"
      " SELECT l, repeat('a', 32), n, n, 'Lesson ' || (1 + n % $2::int),"
      "  'word ' || ((n / $2::int) % $3::int), '词', 'n.',"
      "  (extract(epoch FROM now()) * 1000)::bigint"
      "  - (n::bigint * 7919 + l * 13) * 60000 % (84::bigint * 86400000),"
      "  1 + (n * 7 + l) % 4, 'review', 5 + n % 30"
      " FROM generate_series(1, $1::int) l, generate_series(1, $4::int) n",
      {std::to_string(learners), std::to_string(lessons), std::to_string(kEntriesPerLesson),
       std::to_string(answers / learners)});
  database.run("UPDATE learners SET counter = $1", {std::to_string(answers / learners)});
  database.run("ANALYZE");
}

// Book 1 of the class: the lessons and entries the answers name.
void Publish(hubtest::HubServer& hub, const testsupport::TempDir& folder, int lessons) {
  std::vector<std::array<std::string, 3>> entries;
  for (int lesson = 1; lesson <= lessons; ++lesson) {
    for (int entry = 0; entry < kEntriesPerLesson; ++entry) {
      entries.push_back(
          {"Lesson " + std::to_string(lesson), "word " + std::to_string(entry), "词"});
    }
  }
  const std::string path = folder.file("book.dat");
  testsupport::WriteBytes(path, hubtest::BookBytes(entries));
  const hubtest::ProgramRun run = hub.run({"publish", "Bench", "1", path});
  if (run.exitCode != 0) throw std::runtime_error("publish: " + run.output);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int learners = argc > 1 ? std::stoi(argv[1]) : 60;
  const int lessons = argc > 2 ? std::stoi(argv[2]) : 129;
  const long answers = argc > 3 ? std::stol(argv[3]) : 1000000;
  try {
    hubtest::PostgresCluster cluster(true);
    testsupport::TempDir folder;
    const std::string conninfo = cluster.newDatabase();
    hubtest::HubServer hub(STUDYHUB, conninfo, folder.path());
    auto start = Clock::now();
    Fill(conninfo, learners, lessons, answers);
    Publish(hub, folder, lessons);
    std::cout << learners << " learners, " << lessons << " lessons, " << answers
              << " answers stored in " << Millis(Clock::now() - start).count() / 1000 << " s\n";
    const std::string password =
        hubtest::HubServer::LastLine(hub.run({"teacher", "add", "bench", "Bench"}).output);
    hub.start();
    hubtest::TeacherBrowser browser(hub.port(), hub.certificate().string());
    browser.signIn("bench", password, "bench-password-2026");
    for (const char* path :
         {"/class/1", "/class/1/grid.csv", "/class/1/week", "/class/1/hardest"}) {
      std::vector<double> times;
      std::size_t size = 0;
      for (int round = 0; round < kRounds; ++round) {
        const auto [first, bytes] = browser.firstByte(path);
        times.push_back(first);
        size = bytes;
      }
      std::cout << path << ": first byte " << times.front() << " ms the first time, median "
                << Median(times) << " ms (" << size / 1024 << " KiB)\n";
    }
  } catch (const std::exception& error) {
    std::cerr << "class_page_bench: " << error.what() << '\n';
    return 1;
  }
  return 0;
}

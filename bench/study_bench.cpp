// SPDX-License-Identifier: MIT
// The progress store under a long-time learner's load: 20,000 cards and 200,000 answers.
// Goals: choosing the next due card at most 2 ms, committing an answer at most 2 ms with
// the store in memory-backed /dev/shm (median); the same commit on the disk, with its
// flush, is reported beside it. A new device pulling 100,000 answers: at most 3 s.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "progress_store.h"
#include "sqlite_handle.h"

namespace {

constexpr int kCards = 20'000;
constexpr int kAnswers = 200'000;
const study::Millis kStart = *study::ParseIso("2025-01-06T08:00:00Z");

// Removes the stores the run made when it ends.
struct MadeFolders {
  std::vector<std::string> folders;
  ~MadeFolders() {
    for (const auto& folder : folders) std::filesystem::remove_all(folder);
  }
};
MadeFolders made;

// A store filled the way a year of study would leave it, made once per folder.
std::string FilledStore(const std::string& parent) {
  std::string folder = parent + "/study-bench-XXXXXX";
  if (!mkdtemp(folder.data())) throw std::runtime_error("mkdtemp failed in " + parent);
  made.folders.push_back(folder);
  const std::string path = folder + "/study.db";
  study::OpenResult result;
  auto store = study::ProgressStore::Open(path, kStart, result);
  sqlite3* raw = nullptr;
  sqlite3_open(path.c_str(), &raw);
  study::Database db(raw);
  // One transaction for the filling; replays of each card's answers give their states.
  db.exec("BEGIN");
  study::Statement card(db,
                        "INSERT INTO cards(id, lesson, line1, line2, added) VALUES(?, ?, ?, ?, 0)");
  for (int c = 1; c <= kCards; ++c) {
    card.bind(1, std::int64_t{c}).bind(2, "Unit " + std::to_string(c / 13));
    card.bind(3, "word" + std::to_string(c)).bind(4, "释义" + std::to_string(c));
    card.step();
    card.reset();
  }
  const study::Fsrs fsrs;
  std::vector<study::CardState> states(kCards + 1);
  study::Statement answer(db,
                          "INSERT INTO answers(card, time, grade, activity, seconds, device, seq)"
                          " VALUES(?, ?, ?, '复习回忆', 3, ?, ?)");
  for (int a = 0; a < kAnswers; ++a) {
    const int c = 1 + (a * 7919) % kCards;
    const study::Millis time = kStart + static_cast<study::Millis>(a) * 150'000;  // a year
    const auto grade = static_cast<study::Grade>(1 + (a * 31 % 10 < 8 ? 2 : a % 4));
    states[c] = fsrs.answer(states[c], grade, time);
    answer.bind(1, std::int64_t{c}).bind(2, time).bind(3, std::int64_t{static_cast<int>(grade)});
    answer.bind(4, store->deviceId()).bind(5, std::int64_t{a + 1});
    answer.step();
    answer.reset();
  }
  study::Statement state(db, "INSERT INTO card_state VALUES(?,?,?,?,?,?,?,?,?)");
  for (int c = 1; c <= kCards; ++c) {
    const study::CardState& s = states[c];
    if (s.isNew()) continue;
    state.bind(1, std::int64_t{c}).bind(2, std::int64_t{s.reps}).bind(3, std::int64_t{s.lapses});
    state.bind(4, s.memory.stability).bind(5, s.memory.difficulty).bind(6, s.lastAnswer);
    state.bind(7, s.due).bind(8, std::int64_t{s.intervalDays}).bind(9, std::int64_t{s.lastGrade});
    state.step();
    state.reset();
  }
  db.exec(("INSERT OR REPLACE INTO settings VALUES('next_seq', '" + std::to_string(kAnswers + 1) +
           "'); COMMIT")
              .c_str());
  return path;
}

const study::Millis kNow = kStart + static_cast<study::Millis>(kAnswers) * 150'000;

void BM_NextDueCard(benchmark::State& state) {
  static const std::string path = FilledStore("/dev/shm");
  study::OpenResult result;
  auto store = study::ProgressStore::Open(path, kNow, result);
  study::StoreFailure failure;
  for (auto _ : state) benchmark::DoNotOptimize(store->nextDue(kNow, {}, failure));
  if (!store->nextDue(kNow, {}, failure)) state.SkipWithError("no card is due");
}
BENCHMARK(BM_NextDueCard)->Unit(benchmark::kMicrosecond);

// Opening the store as a study program does, before its first card.
void BM_OpenStore(benchmark::State& state) {
  static const std::string path = FilledStore(std::filesystem::temp_directory_path().string());
  for (auto _ : state) {
    study::OpenResult result;
    if (!study::ProgressStore::Open(path, kNow, result)) state.SkipWithError("not opened");
  }
}
BENCHMARK(BM_OpenStore)->Unit(benchmark::kMillisecond);

// What 复习回忆's statistics count, from the store on the disk.
void BM_Statistics(benchmark::State& state) {
  static const std::string path = FilledStore(std::filesystem::temp_directory_path().string());
  study::OpenResult result;
  auto store = study::ProgressStore::Open(path, kNow, result);
  study::StoreFailure failure;
  for (auto _ : state) benchmark::DoNotOptimize(store->statistics(kNow, failure));
  if (failure.failed()) state.SkipWithError(failure.detail.c_str());
}
BENCHMARK(BM_Statistics)->Unit(benchmark::kMillisecond);

void Commit(benchmark::State& state, const std::string& path) {
  study::OpenResult result;
  auto store = study::ProgressStore::Open(path, kNow, result);
  study::StoreFailure failure;
  int c = 0;
  for (auto _ : state) {
    const study::Answer answer{1 + (c++ * 13) % kCards, kNow, study::Grade::Good, "复习回忆", 2};
    if (!store->commit(answer, failure)) state.SkipWithError(failure.detail.c_str());
  }
}

void BM_CommitAnswerInMemory(benchmark::State& state) {
  static const std::string path = FilledStore("/dev/shm");
  Commit(state, path);
}
BENCHMARK(BM_CommitAnswerInMemory)->Unit(benchmark::kMicrosecond);

void BM_CommitAnswerOnDisk(benchmark::State& state) {
  static const std::string path = FilledStore(std::filesystem::temp_directory_path().string());
  Commit(state, path);
}
BENCHMARK(BM_CommitAnswerOnDisk)->Unit(benchmark::kMicrosecond);

// A new device joining: 100,000 answers of another device on 20,000 cards pulled in pages of
// 5000, each page merged with its cards' states replayed, into a new store on the disk.
void BM_MergeNewDevice(benchmark::State& state) {
  constexpr int kPulled = 100'000;
  constexpr int kPage = 5000;
  std::vector<studysync::SyncItems> pages(kPulled / kPage);
  for (int a = 0; a < kPulled; ++a) {
    const int c = 1 + (a * 7919) % kCards;
    pages[a / kPage].answers.push_back({{std::string(32, 'c'), a + 1},
                                        "Unit " + std::to_string(c / 13),
                                        "word" + std::to_string(c),
                                        "释义" + std::to_string(c),
                                        "n.",
                                        kStart + static_cast<study::Millis>(a) * 300'000,
                                        1 + (a * 31 % 10 < 8 ? 2 : a % 4),
                                        "复习回忆",
                                        3});
  }
  const std::string parent = std::filesystem::temp_directory_path().string();
  for (auto _ : state) {
    state.PauseTiming();
    std::string folder = parent + "/study-bench-XXXXXX";
    if (!mkdtemp(folder.data())) state.SkipWithError("mkdtemp failed");
    made.folders.push_back(folder);
    state.ResumeTiming();
    study::OpenResult result;
    auto store = study::ProgressStore::Open(folder + "/study.db", kNow, result);
    study::StoreFailure failure;
    for (std::size_t p = 0; store && p < pages.size(); ++p) {
      if (!store->merge(pages[p], static_cast<std::int64_t>((p + 1) * kPage), failure)) {
        state.SkipWithError(failure.detail.c_str());
        break;
      }
    }
  }
}
BENCHMARK(BM_MergeNewDevice)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();

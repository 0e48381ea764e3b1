// SPDX-License-Identifier: MIT
// What the chooser's file work costs. BM_RawRead is the floor: reading the file into memory
// and touching every byte. Goals, as medians of seven repetitions in one run: BM_ReadCourseFile
// at most 2.2 times it, BM_LessonSwitch at most 2.7 times.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <numeric>

#include "course_file.h"
#include "course_fixture.h"
#include "file_io.h"
#include "lesson_index.h"
#include "module1.h"

namespace {

void BM_RawRead(benchmark::State& state) {
  const auto& f = bench::Fixture();
  std::vector<std::uint8_t> bytes;
  std::uint64_t size = 0;
  for (auto _ : state) {
    suite::ReadFilePrefix(f.coursePath, UINT64_MAX, bytes, size);
    benchmark::DoNotOptimize(std::accumulate(bytes.begin(), bytes.end(), std::uint64_t{0}));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(BM_RawRead);

// What the chooser does at every lesson choice: the whole file into its read-only image.
void BM_ReadCourseFile(benchmark::State& state) {
  const auto& f = bench::Fixture();
  course::RecordImage image;
  for (auto _ : state) {
    benchmark::DoNotOptimize(course::ReadCourseFile(f.coursePath, image));
  }
  state.SetBytesProcessed(
      static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(f.coursePath)));
}
BENCHMARK(BM_ReadCourseFile);

// The same into a table whose texts can be edited (the command-line tool, the hand-off file).
void BM_ReadCourseTable(benchmark::State& state) {
  const auto& f = bench::Fixture();
  course::RecordTable table;
  for (auto _ : state) {
    benchmark::DoNotOptimize(course::ReadCourseFile(f.coursePath, table));
  }
}
BENCHMARK(BM_ReadCourseTable);

void BM_WriteCourseFile(benchmark::State& state) {
  const auto& f = bench::Fixture();
  const std::string path = f.folder + "/900_1.dat";
  for (auto _ : state) {
    benchmark::DoNotOptimize(course::WriteCourseFile(path, f.table));
  }
}
BENCHMARK(BM_WriteCourseFile);

void BM_UnscrambleText(benchmark::State& state) {
  const auto& f = bench::Fixture();
  for (auto _ : state) {
    for (std::size_t i = 0; i < 64; ++i) {
      benchmark::DoNotOptimize(course::UnscrambleText(f.table[i].text(6)));
    }
  }
  state.SetItemsProcessed(state.iterations() * 64);
}
BENCHMARK(BM_UnscrambleText);

// A lesson selection without widgets: read the file, compare every lesson name's display
// text with the chosen one, gather the lesson and make its lines.
void BM_LessonSwitch(benchmark::State& state) {
  const auto& f = bench::Fixture();
  course::RecordImage course;
  course::RecordTable lesson;
  for (auto _ : state) {
    course::ReadCourseFile(f.coursePath, course);
    benchmark::DoNotOptimize(course::GatherLesson(course, f.middleLesson, lesson));
    benchmark::DoNotOptimize(course::EntryLines(lesson));
  }
}
BENCHMARK(BM_LessonSwitch);

}  // namespace

BENCHMARK_MAIN();

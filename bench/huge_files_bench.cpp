// SPDX-License-Identifier: MIT
// Files far larger than the format needs: the benchmark's book followed by a hole up to
// 2 GB as "c1.dat", opened as the chooser opens it (the lesson index and the first lesson),
// as 课程编辑 opens it and as `coursetool check` reads it; and a lesson confirmed over a
// 512 MB "900_1.dat" (the book's records, a hole, some bytes far out, a hole), whose tail is
// kept. Goal for each: within a second and under 100 MB. The counter peak_MB is how far the
// resident memory rose above where it stood before the first iteration.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "book_file.h"
#include "chooser_session.h"
#include "commands.h"
#include "course_fixture.h"
#include "fixed_names.h"
#include "utf8.h"

namespace {

constexpr std::uint64_t kHugeBook = std::uint64_t{2} << 30;
constexpr std::uint64_t kHugeHandOff = std::uint64_t{512} << 20;

// A folder holding the huge book and the huge hand-off file, made once per run.
const std::string& HugeFolder() {
  static const std::string folder = [] {
    const auto& f = bench::Fixture();
    const std::string dir = f.folder + "/huge";
    std::filesystem::create_directories(dir);
    std::filesystem::copy_file(f.coursePath, dir + "/c1.dat",
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::resize_file(dir + "/c1.dat", kHugeBook);
    std::filesystem::copy_file(f.coursePath, dir + "/900_1.dat",
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::resize_file(dir + "/900_1.dat", kHugeHandOff);
    const int fd = ::open((dir + "/900_1.dat").c_str(), O_WRONLY | O_CLOEXEC);
    const std::string far = "bytes the study programs of another maker may keep here";
    if (fd < 0 || ::pwrite(fd, far.data(), far.size(), 300 << 20) < 0) std::abort();
    ::close(fd);
    return dir;
  }();
  return folder;
}

std::uint64_t StatusBytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with(field)) return std::stoull(line.substr(field.size())) * 1024;
  }
  return 0;
}

// Runs the benchmark's loop through `once`, reporting the peak rise of resident memory.
template <typename Once>
void MeasurePeak(benchmark::State& state, Once once) {
  HugeFolder();
  std::ofstream("/proc/self/clear_refs") << "5";
  const std::uint64_t before = StatusBytes("VmRSS:");
  for (auto _ : state) once();
  const std::uint64_t peak = StatusBytes("VmHWM:");
  state.counters["peak_MB"] = static_cast<double>(peak > before ? peak - before : 0) / 1e6;
}

void BM_ChooserOpensHugeBook(benchmark::State& state) {
  MeasurePeak(state, [] {
    chooser::ChooserSession session;
    session.setPlaces(suite::FilePlaces(HugeFolder(), {}, true));
    session.chooseBook(*course::FromUtf8(course::kBooks[0].title));
    const auto index = session.buildLessonIndex();
    benchmark::DoNotOptimize(session.viewLesson(index.items.at(0)));
  });
}
BENCHMARK(BM_ChooserOpensHugeBook)->Unit(benchmark::kMillisecond);

void BM_EditorOpensHugeBook(benchmark::State& state) {
  MeasurePeak(state, [] {
    auto opened = editor::OpenBookFile(HugeFolder() + "/c1.dat");
    benchmark::DoNotOptimize(opened.book.lessons());
  });
}
BENCHMARK(BM_EditorOpensHugeBook)->Unit(benchmark::kMillisecond);

void BM_CoursetoolChecksHugeBook(benchmark::State& state) {
  MeasurePeak(state, [] {
    std::ostringstream out, err;
    benchmark::DoNotOptimize(coursetool::Check(HugeFolder() + "/c1.dat", out, err));
  });
}
BENCHMARK(BM_CoursetoolChecksHugeBook)->Unit(benchmark::kMillisecond);

// Every confirm leaves the file as long as before, so each iteration meets the same tail.
void BM_ConfirmOverHugeHandOff(benchmark::State& state) {
  chooser::ChooserSession session;
  session.setPlaces(suite::FilePlaces(HugeFolder(), {}, true));
  session.chooseBook(*course::FromUtf8(course::kBooks[0].title));
  session.viewLesson(session.buildLessonIndex().items.at(0));
  MeasurePeak(state, [&session] {
    if (!session.confirm().ok()) std::abort();
  });
  if (std::filesystem::file_size(HugeFolder() + "/900_1.dat") != kHugeHandOff) std::abort();
}
BENCHMARK(BM_ConfirmOverHugeHandOff)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

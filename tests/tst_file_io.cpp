// SPDX-License-Identifier: MIT
// Reading only regular files, never waiting on anything else; the temporary files of
// tear-free writes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <regex>
#include <set>

#include "file_io.h"
#include "input_file.h"
#include "tail_copy.h"
#include "test_support.h"
#include "text_lines.h"

namespace {

using testsupport::TempDir;

// Every reader of the suite, each giving the status of one try.
const std::pair<const char*, std::function<suite::FileStatus(const std::string&)>> kReaders[] = {
    {"ReadFilePrefix",
     [](const std::string& path) {
       std::vector<std::uint8_t> bytes;
       std::uint64_t size = 0;
       return suite::ReadFilePrefix(path, 1000, bytes, size);
     }},
    {"ReplaceFileKeepingTail",
     [](const std::string& path) {
       const TempDir out;
       return suite::ReplaceFileKeepingTail(out.file("900_1.dat"), "records", path);
     }},
    {"TextLines",
     [](const std::string& path) {
       suite::InputFile file(path);
       suite::TextLines lines(file);
       std::string line;
       while (lines.next(line)) {
       }
       return file.status();
     }},
    {"RefuseOtherKinds", [](const std::string& path) { return suite::RefuseOtherKinds(path); }},
};

TEST(FileReads, AnythingButARegularFileIsRefusedAtOnce) {
  TempDir dir;
  const testsupport::IdlePipe pipe(dir.file("pipe"));
  const std::tuple<std::string, int, std::string> cases[] = {
      {pipe.path(), ESPIPE, "named pipe (FIFO)"},
      {dir.path().string(), EISDIR, "folder"},
      {"/dev/null", ESPIPE, "device"},
  };
  for (const auto& [reader, read] : kReaders) {
    for (const auto& [path, error, kind] : cases) {
      const auto start = std::chrono::steady_clock::now();
      const suite::FileStatus status = read(path);
      EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1))
          << reader << " waited on " << path;
      EXPECT_EQ(status.error, error) << reader << " " << path;
      EXPECT_EQ(status.path, path);
      EXPECT_NE(status.reason.find(kind), std::string::npos) << reader << ": " << status.reason;
    }
  }
}

TEST(FileReads, RegularAndMissingFilesAreReadAsBefore) {
  TempDir dir;
  testsupport::WriteBytes(dir.file("a.txt"), "abc");
  for (const auto& [reader, read] : kReaders) {
    EXPECT_TRUE(read(dir.file("a.txt")).ok()) << reader;
  }
  ASSERT_TRUE(suite::ReplaceFileKeepingTail(dir.file("out"), "records", dir.file("missing")).ok());
  EXPECT_EQ(testsupport::ReadBytes(dir.file("out")), "records");
  EXPECT_EQ(suite::InputFile(dir.file("missing")).status().error, ENOENT);
  EXPECT_TRUE(suite::RefuseOtherKinds(dir.file("missing")).ok());
}

std::set<std::string> Names(const TempDir& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

void MakeOld(const std::string& path) {
  const timespec twoMinutesAgo{::time(nullptr) - 120, 0};
  const timespec times[2] = {twoMinutesAgo, twoMinutesAgo};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(ReplaceFile, ALaterWriteRemovesWhatKilledWritesLeftOverAMinuteAgo) {
  TempDir dir;
  const std::string target = dir.file("out.dat");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {  // killed by the file size limit half-way through its write
    const rlimit size{4096, 4096};
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    ::setrlimit(RLIMIT_FSIZE, &size);
    suite::ReplaceFile(target, std::string(100000, 'x'));
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);
  const auto leftovers = Names(dir);
  ASSERT_EQ(leftovers.size(), 1u);
  const std::string leftover = *leftovers.begin();
  EXPECT_TRUE(std::regex_match(leftover, std::regex(R"(\.out\.dat\.tmp-[A-Za-z0-9]{6})")))
      << leftover;

  MakeOld(dir.file(leftover));
  testsupport::WriteBytes(dir.file(".out.dat.tmp-under1"), "a write under way");
  testsupport::WriteBytes(dir.file(".c1.dat.tmp-other1"), "another file's");
  MakeOld(dir.file(".c1.dat.tmp-other1"));
  ASSERT_TRUE(suite::ReplaceFile(target, "new").ok());
  EXPECT_EQ(Names(dir),
            (std::set<std::string>{"out.dat", ".out.dat.tmp-under1", ".c1.dat.tmp-other1"}));
  EXPECT_EQ(testsupport::ReadBytes(target), "new");
}

// A file of data runs and holes: what a tail copy must give back byte for byte.
struct Sparse {
  std::uint64_t size;
  std::vector<std::pair<std::uint64_t, std::string>> runs;  // offset, bytes
};

void MakeSparse(const std::string& path, const Sparse& layout) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  ASSERT_GE(fd, 0);
  for (const auto& [offset, bytes] : layout.runs) {
    ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset)),
              static_cast<ssize_t>(bytes.size()));
  }
  ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(layout.size)), 0);
  ::close(fd);
}

std::uint64_t Allocated(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0);
  return static_cast<std::uint64_t>(st.st_blocks) * 512;
}

TEST(CopyTail, EveryWayCopiesTheBytesPastTheOffsetAndKeepsTheHoles) {
  constexpr std::uint64_t kMiB = 1 << 20;
  std::string pattern(300000, '\0');
  for (std::size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<char>(i * 7 + 1);
  const Sparse layout{24 * kMiB,
                      {{0, std::string(5000, 'h')},  // partly before the offset
                       {3 * kMiB + 123, pattern},    // a run starting inside a block
                       {10 * kMiB, "short run"},
                       {16 * kMiB, std::string(2 * kMiB, '\0')}}};  // zeros written out
  constexpr std::uint64_t kOffset = 4099;
  const std::string head = "the new records, not to be touched";
  for (const auto way : {suite::CopyWay::Reflink, suite::CopyWay::Kernel, suite::CopyWay::Buffer}) {
    TempDir dir;
    MakeSparse(dir.file("old"), layout);
    testsupport::WriteBytes(dir.file("new"), head);
    const int from = ::open(dir.file("old").c_str(), O_RDONLY | O_CLOEXEC);
    const int to = ::open(dir.file("new").c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_TRUE(from >= 0 && to >= 0);
    EXPECT_EQ(suite::CopyTail(from, to, kOffset, way), 0) << static_cast<int>(way);
    ::close(from);
    ::close(to);

    const std::string old = testsupport::ReadBytes(dir.file("old"));
    const std::string copied = testsupport::ReadBytes(dir.file("new"));
    ASSERT_EQ(copied.size(), old.size()) << static_cast<int>(way);
    EXPECT_EQ(copied.substr(0, head.size()), head) << static_cast<int>(way);
    EXPECT_EQ(copied.substr(head.size(), kOffset - head.size()),
              std::string(kOffset - head.size(), '\0'))
        << "nothing before the offset is copied";
    EXPECT_TRUE(copied.compare(kOffset, std::string::npos, old, kOffset) == 0)
        << static_cast<int>(way);
    // The data runs take about 400 KB; the 22 MB of holes are not filled. A copy through the
    // buffer leaves the written-out zeros unwritten too.
    EXPECT_LT(Allocated(dir.file("new")), (way == suite::CopyWay::Buffer ? 1 : 4) * kMiB)
        << static_cast<int>(way);
  }
}

}  // namespace

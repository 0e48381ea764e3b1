// SPDX-License-Identifier: MIT
#include "test_support.h"

#include <fcntl.h>
#include <grp.h>
#include <iconv.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "course_file.h"
#include "module1.h"
#include "utf8.h"
#include "zip.h"

namespace testsupport {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "suite-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

bool AsOrdinaryUser(const std::function<bool()>& check) {
  constexpr uid_t kNobody = 65534;
  if (::geteuid() != 0) return check();
  const pid_t child = ::fork();
  if (child == 0) {
    const bool dropped =
        ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
    ::_exit(dropped && check() ? 0 : 1);
  }
  int status = 0;
  return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

GuardedBytes::GuardedBytes(const std::string& bytes) : size_(bytes.size()) {
  const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  const std::size_t used = (bytes.size() + page - 1) / page * page;
  mapped_ = used + page;
  pages_ = ::mmap(nullptr, mapped_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (pages_ == MAP_FAILED || ::mprotect(static_cast<char*>(pages_) + used, page, PROT_NONE) != 0) {
    throw std::runtime_error("cannot map guarded pages");
  }
  auto* end = static_cast<std::uint8_t*>(pages_) + used;
  data_ = end - bytes.size();
  std::memcpy(end - bytes.size(), bytes.data(), bytes.size());
}

GuardedBytes::~GuardedBytes() {
  ::munmap(pages_, mapped_);
}

IdlePipe::IdlePipe(std::string path) : path_(std::move(path)) {
  if (::mkfifo(path_.c_str(), 0600) != 0) throw std::runtime_error("mkfifo failed");
  watch_ = std::thread([this] {
    std::unique_lock lock(mutex_);
    while (!stop_.wait_for(lock, std::chrono::seconds(5), [this] { return done_; })) {
      // A blocked reader's open returns once a writer comes; its reads then find the end.
      const int writer = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
      if (writer >= 0) ::close(writer);
    }
  });
}

IdlePipe::~IdlePipe() {
  {
    const std::lock_guard lock(mutex_);
    done_ = true;
  }
  stop_.notify_one();
  watch_.join();
}

namespace {

// A "VmRSS:"-like line of /proc/self/status, in bytes.
std::uint64_t StatusBytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with(field)) return std::stoull(line.substr(field.size())) * 1024;
  }
  throw std::runtime_error(field + " is not in /proc/self/status");
}

}  // namespace

std::uint64_t PeakMemoryGrowth(const std::function<void()>& work) {
  std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from now
  const std::uint64_t before = StatusBytes("VmRSS:");
  work();
  const std::uint64_t peak = StatusBytes("VmHWM:");
  return peak > before ? peak - before : 0;
}

bool AllInChildren(int count, const std::function<bool(int)>& work) {
  std::vector<pid_t> children;
  for (int n = 0; n < count; ++n) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(work(n) ? 0 : 1);
    children.push_back(child);
  }
  bool all = true;
  for (const pid_t child : children) {
    int status = 0;
    all = ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
          all;
  }
  return all;
}

ScopedZone::ScopedZone(const char* zone) : had_(std::getenv("TZ") != nullptr) {
  if (had_) before_ = std::getenv("TZ");
  ::setenv("TZ", zone, 1);
  ::tzset();
}

ScopedZone::~ScopedZone() {
  if (had_) {
    ::setenv("TZ", before_.c_str(), 1);
  } else {
    ::unsetenv("TZ");
  }
  ::tzset();
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Workbook(const std::vector<std::pair<std::string, std::string>>& parts) {
  TempDir dir;
  const std::string path = dir.file("list.xlsx");
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  if (!zip) return {};
  bool ok = true;
  for (const auto& [name, text] : parts) {
    zip_fileinfo info{};
    ok = ok &&
         zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                               Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0) == ZIP_OK &&
         zipWriteInFileInZip(zip, text.data(), static_cast<unsigned>(text.size())) == ZIP_OK &&
         zipCloseFileInZip(zip) == ZIP_OK;
  }
  ok = zipClose(zip, nullptr) == ZIP_OK && ok;
  return ok ? ReadBytes(path) : std::string();
}

std::string SheetXml(const std::string& rows) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet "
         "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>" +
         rows + "</sheetData></worksheet>";
}

std::string ToGbk(const std::string& utf8) {
  iconv_t cd = iconv_open("GBK", "UTF-8");
  std::string in = utf8;
  std::string out(utf8.size() * 2, '\0');
  char* from = in.data();
  char* to = out.data();
  std::size_t inLeft = in.size();
  std::size_t outLeft = out.size();
  const bool converted = iconv(cd, &from, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  if (!converted) throw std::runtime_error("no GBK form: " + utf8);
  out.resize(out.size() - outLeft);
  return out;
}

course::CourseRecord MakeRecord(const std::vector<std::string>& texts, std::uint32_t serial) {
  course::CourseRecord record;
  for (std::size_t i = 0; i < texts.size() && i < course::kTextFields; ++i) {
    record.texts[i] = *course::FromUtf8(texts[i]);
  }
  for (int b = 0; b < 4; ++b) record.number1[b] = static_cast<std::uint8_t>(serial >> (8 * b));
  record.number2 = {0xde, 0xad, 0xbe, 0xef};
  record.number3 = {0x12, 0x34};
  return record;
}

std::string CourseFileBytes(const std::vector<std::array<std::string, 3>>& entries) {
  course::RecordTable table;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    table[i] = MakeRecord({"", entries[i][0], entries[i][1], entries[i][2]},
                          static_cast<std::uint32_t>(i));
  }
  std::string bytes;
  if (!course::SerializeCourseTable(table, bytes)) throw std::runtime_error("no GBK form");
  return bytes;
}

std::string ShownCourseFileBytes(const std::vector<std::array<std::string, 3>>& entries) {
  std::vector<std::array<std::string, 3>> stored = entries;
  for (auto& entry : stored) {
    for (std::string& text : entry) {
      const auto scrambled = course::ScrambleText(*course::FromUtf8(text));
      if (!scrambled) throw std::runtime_error("no stored form: " + text);
      text = course::ToUtf8(*scrambled);
    }
  }
  return CourseFileBytes(stored);
}

}  // namespace testsupport

// SPDX-License-Identifier: MIT
#include "test_support.h"

#include <grp.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "utf8.h"

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

}  // namespace testsupport

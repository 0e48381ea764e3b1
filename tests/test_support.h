// SPDX-License-Identifier: MIT
// A temporary folder per test and quick ways to make records and files.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "course_record.h"

namespace testsupport {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Runs `check` as an ordinary user: in a child process that gives up root when the test
// runs as root, in this process otherwise. True when `check` returned true.
bool AsOrdinaryUser(const std::function<bool()>& check);

// The local time zone set to `zone` (TZ) while it lives; the one before comes back after.
class ScopedZone {
 public:
  explicit ScopedZone(const char* zone);
  ~ScopedZone();
  ScopedZone(const ScopedZone&) = delete;
  ScopedZone& operator=(const ScopedZone&) = delete;

 private:
  std::string before_;
  bool had_;
};

// Runs `work(n)` for n from 0 to count - 1, each in a child process of its own, all at
// once; true when every one returned true.
bool AllInChildren(int count, const std::function<bool(int)>& work);

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// A record whose texts are the given UTF-8 strings taken as stored text, with number
// field 1 set to `serial` (little-endian) and the others to fixed patterns.
course::CourseRecord MakeRecord(const std::vector<std::string>& texts, std::uint32_t serial = 0);

}  // namespace testsupport

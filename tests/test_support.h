// SPDX-License-Identifier: MIT
// A temporary folder per test and quick ways to make records and files.
#pragma once

#include <array>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
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

// Bytes that end where an inaccessible page begins: a read past their end faults at once,
// in every build, not only under a sanitizer.
class GuardedBytes {
 public:
  explicit GuardedBytes(const std::string& bytes);
  ~GuardedBytes();
  GuardedBytes(const GuardedBytes&) = delete;
  GuardedBytes& operator=(const GuardedBytes&) = delete;

  const std::uint8_t* data() const { return data_; }
  std::size_t size() const { return size_; }

 private:
  void* pages_ = nullptr;
  std::size_t mapped_ = 0;
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

// A named pipe that nothing writes to. A reader that waits on it is let go within a few
// seconds (the pipe is opened and closed for writing), so that a test of such a reader
// fails instead of hanging.
class IdlePipe {
 public:
  explicit IdlePipe(std::string path);
  ~IdlePipe();
  IdlePipe(const IdlePipe&) = delete;
  IdlePipe& operator=(const IdlePipe&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::mutex mutex_;
  std::condition_variable stop_;
  bool done_ = false;
  std::thread watch_;
};

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

// How far this process's resident memory rose above where it stood while `work` ran, in
// bytes (the kernel's peak, reset before).
std::uint64_t PeakMemoryGrowth(const std::function<void()>& work);

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// An Excel workbook of the parts given (name, XML), zipped as Excel zips them; empty when
// the zip could not be written.
std::string Workbook(const std::vector<std::pair<std::string, std::string>>& parts);
// A worksheet part holding the given <row> elements.
std::string SheetXml(const std::string& rows);

// The GBK bytes of a UTF-8 text, as a spreadsheet on a Chinese system saves it.
std::string ToGbk(const std::string& utf8);

// A record whose texts are the given UTF-8 strings taken as stored text, with number
// field 1 set to `serial` (little-endian) and the others to fixed patterns.
course::CourseRecord MakeRecord(const std::vector<std::string>& texts, std::uint32_t serial = 0);

// The bytes of a whole course file holding these entries, each {lesson, English, Chinese}
// as stored text, in order from the first slot.
std::string CourseFileBytes(const std::vector<std::array<std::string, 3>>& entries);
// The same with each text as the learner sees it, stored as the course file keeps it.
std::string ShownCourseFileBytes(const std::vector<std::array<std::string, 3>>& entries);

}  // namespace testsupport

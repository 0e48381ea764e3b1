// SPDX-License-Identifier: MIT
#include "input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace suite {
namespace {

// Why a file of this kind is not read, or nothing for a regular file.
const char* KindRefused(mode_t mode) {
  if (S_ISREG(mode)) return nullptr;
  if (S_ISDIR(mode)) return "it is a folder, not a file";
  if (S_ISFIFO(mode)) return "it is a named pipe (FIFO), not a regular file";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device, not a regular file";
  return "it is not a regular file";
}

FileStatus Refusal(const std::string& path, mode_t mode, const char* why) {
  return FileStatus::failure(path, S_ISDIR(mode) ? EISDIR : ESPIPE, why);
}

}  // namespace

InputFile::InputFile(const std::string& path) : status_(FileStatus::success(path)) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) {
    fail(errno);
    return;
  }
  if (::fstat(fd_, &info_) != 0) {
    fail(errno);
    return;
  }
  if (const char* refused = KindRefused(info_.st_mode)) {
    status_ = Refusal(path, info_.st_mode, refused);
    return;
  }
  size_ = static_cast<std::uint64_t>(info_.st_size);
}

InputFile::~InputFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool InputFile::fail(int error) {
  if (status_.ok()) status_ = FileStatus::fromErrno(status_.path, error);
  return false;
}

std::size_t InputFile::read(char* into, std::size_t size) {
  if (!ok()) return 0;
  for (;;) {
    const ssize_t n = ::read(fd_, into, size);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) {
      fail(errno);
      return 0;
    }
  }
}

bool InputFile::readAt(std::uint8_t* into, std::size_t size, std::uint64_t offset) {
  if (!ok()) return false;
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd_, into + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return fail(n == 0 ? EIO : errno);  // n == 0: the file shrank while we read it
    done += static_cast<std::size_t>(n);
  }
  return true;
}

FileStatus RefuseOtherKinds(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    // Symbolic links in a loop lead to no file: refused, not taken for a file to make.
    return errno == ELOOP ? FileStatus::fromErrno(path, ELOOP) : FileStatus::success(path);
  }
  const char* refused = KindRefused(st.st_mode);
  return refused ? Refusal(path, st.st_mode, refused) : FileStatus::success(path);
}

}  // namespace suite

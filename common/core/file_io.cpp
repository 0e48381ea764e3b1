// SPDX-License-Identifier: MIT
#include "file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace suite {
namespace {

// Closes a descriptor on every path out of a function.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closes now so that a failing close (a late write error) can be reported.
  int close() {
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc;
  }

 private:
  int fd_;
};

bool ReadFully(int fd, std::uint8_t* into, std::size_t size, std::uint64_t offset) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd, into + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;  // the file shrank while we read it
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool WriteFully(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Replacing a symbolic link would cut the link; the file it points at is meant.
std::string ResolveLink(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char resolved[PATH_MAX];
  return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

}  // namespace

FileStatus FileStatus::fromErrno(std::string path, int error) {
  return failure(std::move(path), error, std::strerror(error));
}

FileStatus ReadFilePrefix(const std::string& path, std::uint64_t limit,
                          std::vector<std::uint8_t>& bytes, std::uint64_t& totalSize) {
  bytes.clear();
  totalSize = 0;
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return FileStatus::fromErrno(path, errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return FileStatus::fromErrno(path, errno);
  if (!S_ISREG(st.st_mode)) return FileStatus::failure(path, EISDIR, "not a regular file");
  totalSize = static_cast<std::uint64_t>(st.st_size);
  bytes.resize(static_cast<std::size_t>(totalSize < limit ? totalSize : limit));
  if (!ReadFully(fd.get(), bytes.data(), bytes.size(), 0)) {
    const int error = errno;
    bytes.clear();
    return FileStatus::fromErrno(path, error);
  }
  return FileStatus::success(path);
}

FileStatus ReadFileFrom(const std::string& path, std::uint64_t offset, std::string& tail) {
  tail.clear();
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    return errno == ENOENT ? FileStatus::success(path) : FileStatus::fromErrno(path, errno);
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return FileStatus::fromErrno(path, errno);
  const auto size = static_cast<std::uint64_t>(st.st_size);
  if (size <= offset) return FileStatus::success(path);
  tail.resize(static_cast<std::size_t>(size - offset));
  if (!ReadFully(fd.get(), reinterpret_cast<std::uint8_t*>(tail.data()), tail.size(), offset)) {
    const int error = errno;
    tail.clear();
    return FileStatus::fromErrno(path, error);
  }
  return FileStatus::success(path);
}

FileStatus ReplaceFile(const std::string& path, std::string_view contents) {
  const std::string target = ResolveLink(path);
  mode_t mode = 0666 & ~[] {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
  }();
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return FileStatus::failure(path, EISDIR, "it is a folder");
    if ((st.st_mode & 0222) == 0) return FileStatus::failure(path, EACCES, "the file is read-only");
    mode = st.st_mode & 07777;
  }

  std::string temp = FolderOf(target) + "/." + target.substr(target.rfind('/') + 1) + ".XXXXXX";
  Fd fd(::mkstemp(temp.data()));
  if (fd.get() < 0) return FileStatus::fromErrno(path, errno);
  const auto fail = [&](int error) {
    ::unlink(temp.c_str());
    return FileStatus::fromErrno(path, error);
  };
  if (::fchmod(fd.get(), mode) != 0) return fail(errno);
  if (!WriteFully(fd.get(), contents)) return fail(errno);
  if (::fsync(fd.get()) != 0) return fail(errno);
  if (fd.close() != 0) return fail(errno);
  if (::rename(temp.c_str(), target.c_str()) != 0) return fail(errno);

  // Make the rename itself durable; the new file is already complete either way.
  Fd folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() >= 0) ::fsync(folder.get());
  return FileStatus::success(path);
}

}  // namespace suite

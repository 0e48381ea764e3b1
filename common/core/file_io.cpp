// SPDX-License-Identifier: MIT
#include "file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>

#include "input_file.h"
#include "tail_copy.h"

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

bool WriteFully(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Replacing a symbolic link would cut the link; the file it points at is meant.
std::string ResolveLink(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char resolved[PATH_MAX];
  return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

// Temporary files of a replacement are ".NAME.tmp-XXXXXX" beside the target.
constexpr const char* kTempMark = ".tmp-";
constexpr std::size_t kTempUnique = 6;  // mkstemp's XXXXXX
constexpr std::time_t kLeftoverSeconds = 60;

// Removes the temporary files of earlier replacements that were killed before they could
// remove their own. Only those older than a minute: a replacement under way is left alone.
void RemoveLeftovers(const std::string& folder, const std::string& prefix) {
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
  if (!dir) return;
  const std::time_t tooOld = std::time(nullptr) - kLeftoverSeconds;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name.size() != prefix.size() + kTempUnique || !name.starts_with(prefix)) continue;
    struct stat st {};
    if (::fstatat(::dirfd(dir.get()), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(st.st_mode) && st.st_mtime < tooOld) {
      ::unlinkat(::dirfd(dir.get()), entry->d_name, 0);
    }
  }
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

FileStatus FileStatus::fromErrno(std::string path, int error) {
  return failure(std::move(path), error, std::strerror(error));
}

FileStatus ReadFilePrefix(const std::string& path, std::uint64_t limit,
                          std::vector<std::uint8_t>& bytes, std::uint64_t& totalSize) {
  bytes.clear();
  InputFile file(path);
  totalSize = file.size();
  bytes.resize(static_cast<std::size_t>(totalSize < limit ? totalSize : limit));
  if (!file.readAt(bytes.data(), bytes.size(), 0)) bytes.clear();
  return file.status();
}

namespace {

// Writes the new file through `fill`, which puts the contents into the open temporary file
// and returns 0 or an errno value; `done` sees the file flushed, before it is closed.
FileStatus ReplaceThrough(const std::string& path, const std::function<int(int fd)>& fill,
                          const std::function<void(int fd)>& done) {
  const std::string target = ResolveLink(path);
  mode_t mode = 0666 & ~[] {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
  }();
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    if (FileStatus kind = RefuseOtherKinds(target); !kind.ok()) {
      kind.path = path;
      return kind;
    }
    if ((st.st_mode & 0222) == 0) return FileStatus::failure(path, EACCES, "the file is read-only");
    mode = st.st_mode & 07777;
  }

  const std::string folder = FolderOf(target);
  std::string prefix = ".";
  prefix.append(target, target.rfind('/') + 1).append(kTempMark);
  RemoveLeftovers(folder, prefix);
  std::string temp = folder + "/" + prefix + "XXXXXX";
  Fd fd(::mkstemp(temp.data()));
  if (fd.get() < 0) return FileStatus::fromErrno(path, errno);
  const auto fail = [&](int error) {
    ::unlink(temp.c_str());
    return FileStatus::fromErrno(path, error);
  };
  if (::fchmod(fd.get(), mode) != 0) return fail(errno);
  if (const int error = fill(fd.get())) return fail(error);
  if (::fsync(fd.get()) != 0) return fail(errno);
  done(fd.get());
  if (fd.close() != 0) return fail(errno);
  if (::rename(temp.c_str(), target.c_str()) != 0) return fail(errno);

  // Make the rename itself durable; the new file is already complete either way.
  Fd folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folderFd.get() >= 0) ::fsync(folderFd.get());
  return FileStatus::success(path);
}

int WriteContents(int fd, std::string_view contents) {
  return WriteFully(fd, contents) ? 0 : errno;
}

}  // namespace

FileStatus ReplaceFile(const std::string& path, std::string_view contents, FileIdentity* written) {
  FileIdentity identity;
  const FileStatus status = ReplaceThrough(
      path, [contents](int fd) { return WriteContents(fd, contents); },
      [&](int fd) {
        // The file renamed into place keeps this inode and time.
        struct stat st {};
        if (::fstat(fd, &st) == 0) identity = FileIdentity::Of(st, contents);
      });
  if (status.ok() && written) *written = identity;
  return status;
}

FileStatus ReplaceFileKeepingTail(const std::string& path, std::string_view contents,
                                  const std::string& tailFrom) {
  InputFile old(tailFrom);
  if (!old.ok() && old.status().error != ENOENT) return old.status();
  return ReplaceThrough(
      path,
      [&](int fd) {
        const int error = WriteContents(fd, contents);
        if (error || !old.ok() || old.size() <= contents.size()) return error;
        return CopyTail(old.descriptor(), fd, contents.size());
      },
      [](int) {});
}

}  // namespace suite

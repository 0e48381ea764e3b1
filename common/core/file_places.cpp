// SPDX-License-Identifier: MIT
#include "file_places.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

namespace suite {
namespace {

constexpr std::string_view kSuiteFolderName = "lumadesk";

bool IsAbsolute(const char* path) {
  return path && path[0] == '/';
}

std::string Join(const std::string& folder, std::string_view name) {
  std::string path = folder;
  if (path.empty() || path.back() != '/') path += '/';
  path += name;
  return path;
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

// mkdir -p with mode 0700 for every folder it makes.
FileStatus MakeFolders(const std::string& folder) {
  struct stat st {};
  std::vector<std::string> missing;
  std::string path = folder;
  while (::stat(path.c_str(), &st) != 0) {
    if (errno != ENOENT || path.size() <= 1) return FileStatus::fromErrno(folder, errno);
    missing.push_back(path);
    const auto slash = path.rfind('/');
    path.resize(slash == 0 ? 1 : slash);
  }
  if (!S_ISDIR(st.st_mode)) return FileStatus::fromErrno(folder, ENOTDIR);
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    if (::mkdir(it->c_str(), 0700) != 0 && errno != EEXIST) {
      return FileStatus::fromErrno(folder, errno);
    }
  }
  return FileStatus::success(folder);
}

}  // namespace

std::string UserDataFolder(const char* xdgDataHome, const char* home) {
  std::string base;
  if (IsAbsolute(xdgDataHome)) {
    base = xdgDataHome;
  } else if (IsAbsolute(home)) {
    base = Join(home, ".local/share");
  } else {
    return {};
  }
  return Join(base, kSuiteFolderName);
}

std::string UserDataFolderOfThisUser() {
  const char* home = std::getenv("HOME");
  if (!IsAbsolute(home)) {
    const passwd* entry = ::getpwuid(::getuid());
    home = entry ? entry->pw_dir : nullptr;
  }
  return UserDataFolder(std::getenv("XDG_DATA_HOME"), home);
}

std::string FolderOfThisProgram() {
  char self[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self);
  if (length <= 0) return {};
  const std::string path(self, static_cast<std::size_t>(length));
  return path.substr(0, path.rfind('/'));
}

bool FolderAcceptsNewFiles(const std::string& folder) {
  std::string probe = Join(folder, ".lumadesk-probe.XXXXXX");
  const int fd = ::mkstemp(probe.data());
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

FilePlaces::FilePlaces(std::string appFolder, std::string userFolder, bool appFolderWritable)
    : appFolder_(std::move(appFolder)),
      userFolder_(std::move(userFolder)),
      appFolderWritable_(appFolderWritable) {}

FilePlaces FilePlaces::ForThisUser(std::string appFolder) {
  const bool writable = FolderAcceptsNewFiles(appFolder);
  return FilePlaces(std::move(appFolder), UserDataFolderOfThisUser(), writable);
}

std::string FilePlaces::readPath(std::string_view name) const {
  if (!appFolderWritable_ && !userFolder_.empty()) {
    std::string own = Join(userFolder_, name);
    if (Exists(own)) return own;
  }
  return Join(appFolder_, name);
}

std::string FilePlaces::writePath(std::string_view name) const {
  if (appFolderWritable_ || userFolder_.empty()) return Join(appFolder_, name);
  return Join(userFolder_, name);
}

FileStatus FilePlaces::prepareWrite(std::string_view name) const {
  if (appFolderWritable_) return FileStatus::success(writePath(name));
  if (userFolder_.empty()) {
    return FileStatus::failure(Join(appFolder_, name), EACCES,
                               "the folder is read-only and no home folder is known");
  }
  return MakeFolders(userFolder_);
}

}  // namespace suite

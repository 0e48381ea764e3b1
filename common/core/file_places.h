// SPDX-License-Identifier: MIT
// Where the suite's fixed-name files live for the running user. Every file stays in the
// program's own folder wherever that user may create files there. Where they may not (a
// system-wide install), writes go to a per-user folder and reads look there first, so that
// each user keeps a choice and progress of their own over the shared, read-only folder.
#pragma once

#include <string>
#include <string_view>

#include "file_status.h"

namespace suite {

// The per-user folder: $XDG_DATA_HOME/lumadesk, or $HOME/.local/share/lumadesk when
// XDG_DATA_HOME is unset, empty or not absolute. Either variable may be null. Empty when
// no absolute home is known either.
std::string UserDataFolder(const char* xdgDataHome, const char* home);

// The same for this process: its environment, then the password database for the home.
std::string UserDataFolderOfThisUser();

// The real folder of the running program's file, without a trailing separator; empty when
// the system does not tell.
std::string FolderOfThisProgram();

// True when the running user can create a file in `folder`, found by creating (and
// removing) one: permission bits alone do not tell for root, read-only mounts and ACLs.
bool FolderAcceptsNewFiles(const std::string& folder);

class FilePlaces {
 public:
  FilePlaces() = default;
  FilePlaces(std::string appFolder, std::string userFolder, bool appFolderWritable);
  // Probes the program's folder and takes this user's per-user folder.
  static FilePlaces ForThisUser(std::string appFolder);

  const std::string& appFolder() const { return appFolder_; }
  const std::string& userFolder() const { return userFolder_; }
  bool appFolderWritable() const { return appFolderWritable_; }

  // The file a read of `name` opens: in a writable program folder always that folder's;
  // otherwise the per-user copy when there is one, else the program folder's.
  std::string readPath(std::string_view name) const;
  // The file a write of `name` replaces.
  std::string writePath(std::string_view name) const;
  // Makes sure the folder of writePath(name) exists (the per-user one is made with mode
  // 0700, parents included); a failure names the folder and the reason.
  FileStatus prepareWrite(std::string_view name) const;

 private:
  std::string appFolder_;
  std::string userFolder_;
  bool appFolderWritable_ = true;
};

}  // namespace suite

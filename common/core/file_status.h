// SPDX-License-Identifier: MIT
// The outcome of one file operation: success, or the file and why it failed.
#pragma once

#include <string>

namespace suite {

struct FileStatus {
  std::string path;    // the file the operation was about
  int error = 0;       // an errno value; 0 means success
  std::string reason;  // plain-words reason, empty on success

  bool ok() const { return error == 0; }
  std::string message() const { return path + ": " + reason; }

  static FileStatus success(std::string path) { return {std::move(path), 0, {}}; }
  static FileStatus failure(std::string path, int error, std::string reason) {
    return {std::move(path), error, std::move(reason)};
  }
  // Failure described by the system's text for `error`.
  static FileStatus fromErrno(std::string path, int error);
};

}  // namespace suite

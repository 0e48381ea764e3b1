// SPDX-License-Identifier: MIT
// A file the suite reads: only ever a regular file.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "file_identity.h"
#include "file_status.h"

namespace suite {

// A regular file open for reading. It is opened without blocking and its kind is taken from
// the open descriptor, so a FIFO, a folder, a device or a socket is refused at once (error
// EISDIR for a folder, ESPIPE for the others), never waited on.
class InputFile {
 public:
  explicit InputFile(const std::string& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // The opening's outcome, then the first failed read's.
  const FileStatus& status() const { return status_; }
  bool ok() const { return status_.ok(); }
  std::uint64_t size() const { return size_; }
  // This file as opened, `usedBytes` being what was read of it.
  FileIdentity identity(std::string_view usedBytes) const {
    return FileIdentity::Of(info_, usedBytes);
  }
  // For copying straight from the file; -1 when it could not be opened.
  int descriptor() const { return fd_; }

  // The next bytes, at most `size`; 0 at the end of the file or after a failure.
  std::size_t read(char* into, std::size_t size);
  // Exactly `size` bytes from `offset`; false when the file ends first or a read fails.
  bool readAt(std::uint8_t* into, std::size_t size, std::uint64_t offset);

 private:
  bool fail(int error);

  int fd_ = -1;
  std::uint64_t size_ = 0;
  struct stat info_ {};
  FileStatus status_;
};

// Success for a regular file or none at all, InputFile's refusal for any other kind (and for
// symbolic links in a loop). It only
// looks, for files that another library opens (SQLite, which would wait on a FIFO).
FileStatus RefuseOtherKinds(const std::string& path);

}  // namespace suite

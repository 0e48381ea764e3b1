// SPDX-License-Identifier: MIT
#include "import_file.h"

#include <cerrno>
#include <vector>

#include "file_io.h"

namespace editor {

suite::FileStatus ReadImportFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  std::vector<std::uint8_t> read;
  std::uint64_t size = 0;
  suite::FileStatus status = suite::ReadFilePrefix(path, kLargestImport, read, size);
  if (!status.ok()) return status;
  if (size > kLargestImport) {
    return suite::FileStatus::failure(path, EFBIG, "larger than a word list can be (32 MiB)");
  }
  bytes.assign(read.begin(), read.end());
  return status;
}

}  // namespace editor

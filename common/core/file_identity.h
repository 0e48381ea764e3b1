// SPDX-License-Identifier: MIT
// Which version of a file a program read or wrote: enough to tell, before it writes the file
// again, whether someone else has changed or replaced it meanwhile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

struct stat;

namespace suite {

struct FileIdentity {
  bool exists = false;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;  // a tear-free replacement is a new file
  std::uint64_t size = 0;
  std::int64_t modifiedNs = 0;
  // Of the bytes the program used; a change within one tick of a coarse clock shows here.
  // Comparable within one process only.
  std::size_t contentHash = 0;

  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;

  static FileIdentity Of(const struct stat& info, std::string_view usedBytes);
};

}  // namespace suite

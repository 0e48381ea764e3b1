// SPDX-License-Identifier: MIT
#include "file_identity.h"

#include <sys/stat.h>

#include <functional>

namespace suite {

FileIdentity FileIdentity::Of(const struct stat& info, std::string_view usedBytes) {
  FileIdentity identity;
  identity.exists = true;
  identity.device = static_cast<std::uint64_t>(info.st_dev);
  identity.inode = static_cast<std::uint64_t>(info.st_ino);
  identity.size = static_cast<std::uint64_t>(info.st_size);
  identity.modifiedNs =
      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
  identity.contentHash = std::hash<std::string_view>{}(usedBytes);
  return identity;
}

}  // namespace suite

// SPDX-License-Identifier: MIT
// A word list's bytes read from a file: a regular file only (a FIFO, folder or device is
// refused at once) and no larger than any word list a teacher brings.
#pragma once

#include <cstdint>
#include <string>

#include "file_status.h"

namespace editor {

inline constexpr std::uint64_t kLargestImport = 32u << 20;

// The whole file in `bytes`, or why not (EFBIG for a file over kLargestImport).
suite::FileStatus ReadImportFile(const std::string& path, std::string& bytes);

}  // namespace editor

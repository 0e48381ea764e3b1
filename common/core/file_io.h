// SPDX-License-Identifier: MIT
// Whole-file reads and tear-free replacement of a file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "file_status.h"

namespace suite {

// Reads at most `limit` bytes from the start of the file; `totalSize` gets the file's size.
// Never creates a missing file; anything but a regular file is refused (see InputFile).
FileStatus ReadFilePrefix(const std::string& path, std::uint64_t limit,
                          std::vector<std::uint8_t>& bytes, std::uint64_t& totalSize);

// The bytes of the file from `offset` on; a missing file or a shorter one gives none, and
// anything but a regular file is refused.
FileStatus ReadFileFrom(const std::string& path, std::uint64_t offset, std::string& tail);

// Puts `contents` at `path` so that a reader sees either the old file or the new one, never
// a mix: a temporary file ".NAME.tmp-XXXXXX" in the same folder is written, flushed to disk
// and renamed over the old one. A failure leaves the old file as it was and no temporary
// file behind; temporary files of killed earlier writes older than a minute are removed.
// An existing file without any write permission bit is refused, also for root.
FileStatus ReplaceFile(const std::string& path, std::string_view contents);

}  // namespace suite

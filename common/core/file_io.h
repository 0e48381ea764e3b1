// SPDX-License-Identifier: MIT
// Whole-file reads and tear-free replacement of a file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "file_identity.h"
#include "file_status.h"

namespace suite {

// The folder that holds `path`: "." for a bare name, "/" for a file at the root.
std::string FolderOf(const std::string& path);

// Reads at most `limit` bytes from the start of the file; `totalSize` gets the file's size.
// Never creates a missing file; anything but a regular file is refused (see InputFile).
FileStatus ReadFilePrefix(const std::string& path, std::uint64_t limit,
                          std::vector<std::uint8_t>& bytes, std::uint64_t& totalSize);

// Puts `contents` at `path` so that a reader sees either the old file or the new one, never
// a mix: a temporary file ".NAME.tmp-XXXXXX" in the same folder is written, flushed to disk
// and renamed over the old one. A failure leaves the old file as it was and no temporary
// file behind; temporary files of killed earlier writes older than a minute are removed.
// An existing file without any write permission bit is refused, also for root. `written`,
// when given, gets the identity of the new file.
FileStatus ReplaceFile(const std::string& path, std::string_view contents,
                       FileIdentity* written = nullptr);

// The same, followed by the bytes of the file at `tailFrom` past contents.size(), when it is
// longer: copied from file to file, never all in memory, its holes kept as holes. A missing
// `tailFrom` adds nothing; anything but a regular file there is refused.
FileStatus ReplaceFileKeepingTail(const std::string& path, std::string_view contents,
                                  const std::string& tailFrom);

}  // namespace suite

// SPDX-License-Identifier: MIT
// Copying the end of one file into another at the same offsets, without holding it in
// memory and without filling its holes: a long tail of zeros stays a hole.
#pragma once

#include <cstdint>

namespace suite {

// How bytes are moved, fastest first; each falls back to the next where the file system or
// the kernel cannot: sharing the blocks (a reflink), a copy inside the kernel, a copy
// through a bounded buffer that leaves blocks of zeros unwritten.
enum class CopyWay { Reflink, Kernel, Buffer };

// Copies the bytes of `from` past `offset` to the same places in `to`, whose size becomes
// that of `from` when it is smaller. Returns 0, or the errno of the first failure.
int CopyTail(int from, int to, std::uint64_t offset, CopyWay first = CopyWay::Reflink);

}  // namespace suite

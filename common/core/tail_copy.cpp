// SPDX-License-Identifier: MIT
#include "tail_copy.h"

#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace suite {
namespace {

constexpr std::size_t kBufferBytes = 1 << 20;
constexpr std::size_t kZeroBlock = 4096;

// Errors that mean "not this way here", not that the files are at fault.
bool Unsupported(int error) {
  return error == EOPNOTSUPP || error == ENOTTY || error == EXDEV || error == EINVAL ||
         error == ENOSYS || error == ETXTBSY;
}

int ThroughBuffer(int from, int to, off_t start, off_t end) {
  std::vector<char> buffer(kBufferBytes);
  while (start < end) {
    const auto want = static_cast<std::size_t>(std::min<off_t>(end - start, kBufferBytes));
    const ssize_t got = ::pread(from, buffer.data(), want, start);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return errno;
    if (got == 0) return EIO;  // the file shrank while it was copied
    for (ssize_t at = 0; at < got;) {
      const ssize_t block = std::min<ssize_t>(got - at, kZeroBlock);
      const char* bytes = buffer.data() + at;
      if (std::any_of(bytes, bytes + block, [](char c) { return c != 0; })) {
        for (ssize_t done = 0; done < block;) {
          const ssize_t put = ::pwrite(to, bytes + done, block - done, start + at + done);
          if (put < 0 && errno == EINTR) continue;
          if (put <= 0) return put < 0 ? errno : EIO;
          done += put;
        }
      }
      at += block;
    }
    start += got;
  }
  return 0;
}

// Sets `unsupported`, returning 0, when the kernel cannot copy between these files at all.
int InKernel(int from, int to, off_t start, off_t end, bool& unsupported) {
  while (start < end) {
    off_t in = start;
    off_t out = start;
    const ssize_t n =
        ::copy_file_range(from, &in, to, &out, static_cast<std::size_t>(end - start), 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && Unsupported(errno)) {
      unsupported = true;
      return 0;
    }
    if (n < 0) return errno;
    if (n == 0) return EIO;
    start += n;
  }
  return 0;
}

// Shares the blocks of [start, end) where both files allow it; the part before the first
// whole block is copied. `unsupported` when no block could be shared.
int ByReflink(int from, int to, off_t start, off_t end, off_t fileEnd, bool& unsupported) {
  struct stat st {};
  if (::fstat(to, &st) != 0) return errno;
  const off_t block = st.st_blksize > 0 ? st.st_blksize : kZeroBlock;
  const off_t shared = (start + block - 1) / block * block;
  // A shared range ends on a block boundary or at the end of the file.
  if (shared >= end || (end != fileEnd && end % block != 0)) {
    unsupported = true;
    return 0;
  }
  file_clone_range range{};
  range.src_fd = from;
  range.src_offset = static_cast<std::uint64_t>(shared);
  range.src_length = static_cast<std::uint64_t>(end - shared);
  range.dest_offset = static_cast<std::uint64_t>(shared);
  if (::ioctl(to, FICLONERANGE, &range) != 0) {
    if (!Unsupported(errno)) return errno;
    unsupported = true;
    return 0;
  }
  if (shared == start) return 0;
  bool kernelUnsupported = false;
  const int error = InKernel(from, to, start, shared, kernelUnsupported);
  return error || !kernelUnsupported ? error : ThroughBuffer(from, to, start, shared);
}

// Copies one run of data, moving `way` on to the next one for good where one cannot.
int CopyRun(int from, int to, off_t start, off_t end, off_t fileEnd, CopyWay& way) {
  bool unsupported = false;
  if (way == CopyWay::Reflink) {
    const int error = ByReflink(from, to, start, end, fileEnd, unsupported);
    if (error || !unsupported) return error;
    way = CopyWay::Kernel;
    unsupported = false;
  }
  if (way == CopyWay::Kernel) {
    const int error = InKernel(from, to, start, end, unsupported);
    if (error || !unsupported) return error;
    way = CopyWay::Buffer;
  }
  return ThroughBuffer(from, to, start, end);
}

}  // namespace

int CopyTail(int from, int to, std::uint64_t offset, CopyWay first) {
  struct stat st {};
  if (::fstat(from, &st) != 0) return errno;
  const off_t fileEnd = st.st_size;
  CopyWay way = first;
  // Only the runs of data are copied; the holes between them stay holes in `to`.
  for (off_t at = static_cast<off_t>(offset); at < fileEnd;) {
    off_t data = ::lseek(from, at, SEEK_DATA);
    if (data < 0 && errno == ENXIO) break;  // nothing but a hole to the end
    if (data < 0) data = at;                // no hole finding here: all of it is data
    off_t hole = ::lseek(from, data, SEEK_HOLE);
    if (hole < 0 || hole > fileEnd) hole = fileEnd;
    if (const int error = CopyRun(from, to, data, hole, fileEnd, way)) return error;
    at = hole;
  }
  if (::fstat(to, &st) != 0) return errno;
  if (st.st_size < fileEnd && ::ftruncate(to, fileEnd) != 0) return errno;
  return 0;
}

}  // namespace suite

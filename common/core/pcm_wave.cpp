// SPDX-License-Identifier: MIT
#include "pcm_wave.h"

#include <cstring>

#include "file_io.h"

namespace suite {
namespace {

constexpr std::uint64_t kLargestWave = 64u << 20;  // far beyond any sound of the suite
constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

std::uint32_t Le32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t Le16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

}  // namespace

std::optional<PcmWave> ParseWave(const std::uint8_t* data, std::size_t size) {
  if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) {
    return std::nullopt;
  }
  PcmWave wave;
  bool haveFormat = false;
  std::size_t pos = 12;
  while (size - pos >= 8) {
    const std::uint8_t* chunk = data + pos;
    const std::size_t length = Le32(chunk + 4);
    const std::size_t available = size - pos - 8;
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (length < 16 || available < 16) return std::nullopt;
      std::uint16_t format = Le16(chunk + 8);
      if (format == kFormatExtensible && length >= 26 && available >= 26) {
        format = Le16(chunk + 8 + 24);  // the sub-format's first two bytes
      }
      wave.channels = Le16(chunk + 10);
      wave.sampleRate = static_cast<int>(Le32(chunk + 12));
      wave.bitsPerSample = Le16(chunk + 22);
      const bool playable =
          format == kFormatPcm && (wave.channels == 1 || wave.channels == 2) &&
          (wave.bitsPerSample == 8 || wave.bitsPerSample == 16 || wave.bitsPerSample == 32) &&
          wave.sampleRate >= 1000 && wave.sampleRate <= 384000;
      if (!playable) return std::nullopt;
      haveFormat = true;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (!haveFormat) return std::nullopt;
      const std::size_t frame = static_cast<std::size_t>(wave.channels * wave.bitsPerSample / 8);
      std::size_t bytes = length < available ? length : available;  // a cut-off file plays
      bytes -= bytes % frame;
      if (bytes == 0) return std::nullopt;
      wave.samples.assign(chunk + 8, chunk + 8 + bytes);
      return wave;
    }
    // Chunks are padded to an even length; a step is checked against what remains first,
    // so an odd chunk that ends the file is no step past its end.
    const std::size_t padded = length + (length & 1);
    if (padded > available) break;
    pos += 8 + padded;
  }
  return std::nullopt;
}

std::optional<PcmWave> ReadWave(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  std::uint64_t totalSize = 0;
  if (!ReadFilePrefix(path, kLargestWave, bytes, totalSize).ok() || totalSize > kLargestWave) {
    return std::nullopt;
  }
  return ParseWave(bytes.data(), bytes.size());
}

}  // namespace suite

// SPDX-License-Identifier: MIT
// Wave files that hold plain PCM samples: the only kind the suite plays.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace suite {

struct PcmWave {
  int sampleRate = 0;
  int channels = 0;
  int bitsPerSample = 0;              // 8 (unsigned), 16 or 32 (signed), little-endian
  std::vector<std::uint8_t> samples;  // whole frames only
};

// The samples of a RIFF WAVE image, or nothing when it is not a PCM wave of 1 or 2
// channels and 8, 16 or 32 bits (a compressed or damaged file, another format).
std::optional<PcmWave> ParseWave(const std::uint8_t* data, std::size_t size);

// The same for a file; a missing, unreadable or oversized file gives nothing as well.
std::optional<PcmWave> ReadWave(const std::string& path);

}  // namespace suite

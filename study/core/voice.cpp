// SPDX-License-Identifier: MIT
#include "voice.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace study {
namespace {

constexpr int kOnePercent = 328;  // of 32767

bool Mono16(const suite::PcmWave& wave) {
  return wave.bitsPerSample == 16 && wave.channels == 1 && wave.sampleRate > 0;
}

int Loudness(const suite::PcmWave& wave, std::size_t index) {
  std::int16_t sample;
  std::memcpy(&sample, wave.samples.data() + 2 * index, 2);
  return std::abs(static_cast<int>(sample));
}

}  // namespace

void TrimLeadingSilence(suite::PcmWave& wave, int threshold, int keepMillis) {
  if (!Mono16(wave)) return;
  const std::size_t count = wave.samples.size() / 2;
  std::size_t first = 0;
  while (first < count && Loudness(wave, first) <= threshold) ++first;
  if (first == count) return;  // all quiet: leave it as it is
  const std::size_t keep = static_cast<std::size_t>(wave.sampleRate) * keepMillis / 1000;
  const std::size_t cut = first > keep ? first - keep : 0;
  wave.samples.erase(wave.samples.begin(), wave.samples.begin() + static_cast<long>(2 * cut));
}

int VoicedMillis(const suite::PcmWave& wave) {
  if (!Mono16(wave)) return 0;
  const std::size_t count = wave.samples.size() / 2;
  std::size_t first = 0;
  while (first < count && Loudness(wave, first) <= kOnePercent) ++first;
  if (first == count) return 0;
  std::size_t last = count - 1;
  while (Loudness(wave, last) <= kOnePercent) --last;
  return static_cast<int>((last - first) * 1000 / static_cast<std::size_t>(wave.sampleRate));
}

}  // namespace study

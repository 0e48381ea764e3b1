// SPDX-License-Identifier: MIT
#include "english_voice.h"

#include <cstdlib>
#include <cstring>

extern "C" {
#include <flite/flite.h>
cst_voice* register_cmu_us_slt(const char* voxdir);
}

namespace study {
namespace {

cst_voice* Voice() {
  static cst_voice* const voice = [] {
    flite_init();
    return register_cmu_us_slt(nullptr);
  }();
  return voice;
}

}  // namespace

void TrimLeadingSilence(suite::PcmWave& wave, int threshold, int keepMillis) {
  if (wave.bitsPerSample != 16 || wave.channels != 1) return;
  const std::size_t count = wave.samples.size() / 2;
  std::size_t first = 0;
  for (; first < count; ++first) {
    std::int16_t sample;
    std::memcpy(&sample, wave.samples.data() + 2 * first, 2);
    if (std::abs(sample) > threshold) break;
  }
  if (first == count) return;  // all quiet: leave it as it is
  const std::size_t keep = static_cast<std::size_t>(wave.sampleRate) * keepMillis / 1000;
  const std::size_t cut = first > keep ? first - keep : 0;
  wave.samples.erase(wave.samples.begin(), wave.samples.begin() + static_cast<long>(2 * cut));
}

std::optional<suite::PcmWave> SpeakEnglish(const std::string& text) {
  cst_voice* voice = Voice();
  if (!voice || text.empty()) return std::nullopt;
  cst_wave* spoken = flite_text_to_wave(text.c_str(), voice);
  if (!spoken) return std::nullopt;
  suite::PcmWave wave;
  wave.sampleRate = cst_wave_sample_rate(spoken);
  wave.channels = cst_wave_num_channels(spoken);
  wave.bitsPerSample = 16;
  const std::size_t bytes = static_cast<std::size_t>(cst_wave_num_samples(spoken)) *
                            static_cast<std::size_t>(wave.channels) * 2;
  const auto* samples = reinterpret_cast<const std::uint8_t*>(cst_wave_samples(spoken));
  wave.samples.assign(samples, samples + bytes);
  delete_wave(spoken);
  if (wave.samples.empty()) return std::nullopt;
  TrimLeadingSilence(wave);
  return wave;
}

}  // namespace study

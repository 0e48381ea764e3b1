// SPDX-License-Identifier: MIT
#include "flite_voice.h"

extern "C" {
#include <flite/flite.h>
cst_voice* register_cmu_us_slt(const char* voxdir);
cst_lexicon* cmu_lex_init(void);
}

namespace study {
namespace {

// flite lengthens every segment by this factor: about 0.7 times the normal speed.
constexpr float kSlowStretch = 1.4F;

cst_voice* Slt() {
  static cst_voice* const voice = [] {
    flite_init();
    return register_cmu_us_slt(nullptr);
  }();
  return voice;
}

cst_wave* Synthesize(const std::string& text, cst_voice* voice, Pace pace) {
  if (pace == Pace::Normal) return flite_text_to_wave(text.c_str(), voice);
  // Set for this word only: the voice is shared by every pace.
  const float normal = get_param_float(voice->features, "duration_stretch", 1.0F);
  feat_set_float(voice->features, "duration_stretch", normal * kSlowStretch);
  cst_wave* wave = flite_text_to_wave(text.c_str(), voice);
  feat_set_float(voice->features, "duration_stretch", normal);
  return wave;
}

}  // namespace

FliteVoice::FliteVoice() : voice_(Slt()), lexicon_(voice_ ? cmu_lex_init() : nullptr) {}

std::optional<suite::PcmWave> FliteVoice::speak(const std::string& text, Pace pace) {
  if (!voice_ || text.empty()) return std::nullopt;
  cst_wave* spoken = Synthesize(text, voice_, pace);
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

std::vector<std::string> FliteVoice::phones(const std::string& word) {
  std::vector<std::string> phones;
  if (!lexicon_ || word.empty()) return phones;
  cst_val* found = lex_lookup(lexicon_, word.c_str(), nullptr, nullptr);
  for (const cst_val* p = found; p; p = val_cdr(p)) phones.emplace_back(val_string(val_car(p)));
  delete_val(found);
  return phones;
}

}  // namespace study

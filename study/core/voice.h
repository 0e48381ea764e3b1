// SPDX-License-Identifier: MIT
// A voice that speaks English text as PCM samples, and what the study programs do with
// its samples. The voice itself (flite, or a stand-in in tests) lives outside the core.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pcm_wave.h"

namespace study {

// Slow is about 0.7 times the normal speed, for a word the learner did not catch.
enum class Pace { Normal, Slow };

class Voice {
 public:
  virtual ~Voice() = default;
  // The samples of `text` spoken at `pace` (16-bit mono), or nothing when the voice
  // cannot say it.
  virtual std::optional<suite::PcmWave> speak(const std::string& text, Pace pace) = 0;
  // How the voice says one lower-case word: its lexicon's phones (ARPAbet, each vowel with
  // its stress digit), or none when it does not tell.
  virtual std::vector<std::string> phones(const std::string& /*word*/) { return {}; }
};

// Cuts what lies before the first sample louder than `threshold`, keeping `keepMillis` of
// it so that the word's onset is not clipped. Anything but 16-bit mono is left alone.
void TrimLeadingSilence(suite::PcmWave& wave, int threshold = 300, int keepMillis = 10);

// How long the word is heard: from the first to the last sample louder than 1 % of full
// scale, in milliseconds; 0 when none is (or the wave is not 16-bit mono).
int VoicedMillis(const suite::PcmWave& wave);

}  // namespace study

// SPDX-License-Identifier: MIT
// Spoken English offline: flite's "slt" voice, in this process. The leading silence flite
// puts before every word is cut, so that the word starts as soon as it is played.
#pragma once

#include <optional>
#include <string>

#include "pcm_wave.h"

namespace study {

// The samples of `text` spoken (16-bit mono), or nothing when flite gives none.
std::optional<suite::PcmWave> SpeakEnglish(const std::string& text);

// Cuts what lies before the first sample louder than `threshold`, keeping `keepMillis` of
// it so that the word's onset is not clipped.
void TrimLeadingSilence(suite::PcmWave& wave, int threshold = 300, int keepMillis = 10);

}  // namespace study

// SPDX-License-Identifier: MIT
// Spoken English offline: flite's "slt" voice, in this process. The leading silence flite
// puts before every word is cut, so that the word starts as soon as it is played. The
// only part of the suite that links flite.
#pragma once

#include "voice.h"

struct cst_voice_struct;

namespace study {

class FliteVoice : public Voice {
 public:
  FliteVoice();
  FliteVoice(const FliteVoice&) = delete;
  FliteVoice& operator=(const FliteVoice&) = delete;

  std::optional<suite::PcmWave> speak(const std::string& text, Pace pace) override;

 private:
  cst_voice_struct* voice_;
};

}  // namespace study

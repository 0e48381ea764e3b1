// SPDX-License-Identifier: MIT
// Spoken English offline: flite's "slt" voice, in this process. The leading silence flite
// puts before every word is cut, so that the word starts as soon as it is played. The
// only part of the suite that links flite.
#pragma once

#include "voice.h"

struct cst_voice_struct;
struct lexicon_struct;

namespace study {

class FliteVoice : public Voice {
 public:
  FliteVoice();
  FliteVoice(const FliteVoice&) = delete;
  FliteVoice& operator=(const FliteVoice&) = delete;

  std::optional<suite::PcmWave> speak(const std::string& text, Pace pace) override;
  // From flite's CMU lexicon, its letter-to-sound rules for a word it does not list.
  std::vector<std::string> phones(const std::string& word) override;

 private:
  cst_voice_struct* voice_;
  lexicon_struct* lexicon_;
};

}  // namespace study

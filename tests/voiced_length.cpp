// SPDX-License-Identifier: MIT
// voiced_length TEXT...: for each text, how long the study programs' voice is heard
// saying it, normally and slowly, in milliseconds ("normal slow", a line each); what the
// recorded speech test holds the recording to.
#include <iostream>

#include "flite_voice.h"

int main(int argc, char** argv) {
  study::FliteVoice voice;
  for (int i = 1; i < argc; ++i) {
    const auto normal = voice.speak(argv[i], study::Pace::Normal);
    const auto slow = voice.speak(argv[i], study::Pace::Slow);
    if (!normal || !slow) {
      std::cerr << "voiced_length: flite gave no samples for \"" << argv[i] << "\"\n";
      return 1;
    }
    std::cout << study::VoicedMillis(*normal) << ' ' << study::VoicedMillis(*slow) << '\n';
  }
  return 0;
}

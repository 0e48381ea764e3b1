// SPDX-License-Identifier: MIT
// flite's voice as the study programs use it: words with their leading silence cut, and
// the slow pace longer without changing the normal one.
#include <gtest/gtest.h>

#include "arpabet_ipa.h"
#include "flite_voice.h"

namespace study {
namespace {

TEST(FliteVoice, SpeaksSlowlyAtAboutSevenTenthsOfTheSpeedAndThenNormallyAgain) {
  FliteVoice voice;
  for (const char* text : {"ability", "give up", "serendipity"}) {
    const auto normal = voice.speak(text, Pace::Normal);
    const auto slow = voice.speak(text, Pace::Slow);
    const auto again = voice.speak(text, Pace::Normal);
    ASSERT_TRUE(normal && slow && again) << text;
    EXPECT_EQ(normal->sampleRate, 16000) << text;
    const double stretch = double(VoicedMillis(*slow)) / VoicedMillis(*normal);
    EXPECT_GT(stretch, 1.25) << text;
    EXPECT_LT(stretch, 1.55) << text;
    // flite adds noise of its own, so the same word differs a little each time.
    EXPECT_NEAR(VoicedMillis(*again), VoicedMillis(*normal), VoicedMillis(*normal) / 20)
        << text << ": the normal pace is restored";
    // What flite puts before the word is already cut (it is about 235 ms).
    suite::PcmWave trimmed = *normal;
    TrimLeadingSilence(trimmed);
    EXPECT_EQ(trimmed.samples.size(), normal->samples.size()) << text;
  }
  EXPECT_FALSE(voice.speak("", Pace::Normal));
}

// What the cards show where a list gives no phonetics: the voice's lexicon in the IPA.
TEST(FliteVoice, ItsLexiconGivesEveryWordItsPhonetics) {
  FliteVoice voice;
  const std::pair<const char*, const char*> words[] = {
      {"abandon", "əˈbændən"},     {"patience", "ˈpeɪʃəns"}, {"mistake", "mɪˈsteɪk"},
      {"important", "ɪmˈpɔrtənt"}, {"water", "ˈwɔtɚ"},       {"bird", "bɝd"},
      {"don't", "dɑnt"},
  };
  for (const auto& [word, ipa] : words) EXPECT_EQ(ArpabetToIpa(voice.phones(word)), ipa) << word;
  EXPECT_FALSE(ArpabetToIpa(voice.phones("zyxbrot")).empty()) << "a word it does not list";
  EXPECT_TRUE(voice.phones("").empty());
}

}  // namespace
}  // namespace study

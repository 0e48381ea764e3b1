// SPDX-License-Identifier: MIT
// What is done with a voice's samples: the leading silence cut, the voiced length read.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "voice.h"

namespace study {
namespace {

// 16-bit mono at 1000 samples a second, so that a sample is a millisecond.
suite::PcmWave Wave(const std::vector<std::int16_t>& samples, int channels = 1, int bits = 16) {
  suite::PcmWave wave{1000, channels, bits, {}};
  wave.samples.resize(samples.size() * 2);
  if (!samples.empty()) std::memcpy(wave.samples.data(), samples.data(), wave.samples.size());
  return wave;
}

std::vector<std::int16_t> Quiet(int count, std::vector<std::int16_t> then = {}) {
  std::vector<std::int16_t> samples(static_cast<std::size_t>(count), 0);
  samples.insert(samples.end(), then.begin(), then.end());
  return samples;
}

TEST(TrimLeadingSilence, KeepsTenMillisecondsBeforeTheFirstLoudSample) {
  struct Case {
    const char* what;
    suite::PcmWave wave;
    std::size_t bytesLeft;
  } cases[] = {
      {"50 quiet, then loud", Wave(Quiet(50, {1000, -1000, 5})), 2 * (10 + 3)},
      {"the threshold itself is quiet", Wave(Quiet(30, {300, -301})), 2 * (10 + 1)},
      {"a negative first sound", Wave(Quiet(20, {-2000})), 2 * (10 + 1)},
      {"less silence than is kept: nothing cut", Wave(Quiet(4, {900})), 2 * 5},
      {"loud from the start", Wave({1000, 0, 0}), 2 * 3},
      {"all quiet: left as it is", Wave(Quiet(40)), 2 * 40},
      {"stereo: left as it is", Wave(Quiet(40, {900, 900}), 2), 2 * 42},
      {"8-bit: left as it is", Wave(Quiet(40, {900}), 1, 8), 2 * 41},
  };
  for (Case& c : cases) {
    TrimLeadingSilence(c.wave);
    EXPECT_EQ(c.wave.samples.size(), c.bytesLeft) << c.what;
  }
  suite::PcmWave wave = Wave(Quiet(50, {1000, 7}));
  TrimLeadingSilence(wave);
  EXPECT_EQ(wave.samples, Wave(Quiet(10, {1000, 7})).samples) << "the word's own samples stay";
}

TEST(VoicedMillis, RunsFromTheFirstToTheLastSampleAboveOnePercent) {
  struct Case {
    const char* what;
    suite::PcmWave wave;
    int millis;
  } cases[] = {
      {"quiet around a word", Wave(Quiet(20, {400, 0, 0, -400, 0})), 3},
      {"a word to the last sample", Wave(Quiet(5, {500, 0, 0, 0, 0, 329})), 5},
      {"one percent itself is quiet", Wave(Quiet(5, {328, 1000, 0, -1000, -328})), 2},
      {"all quiet", Wave(Quiet(30)), 0},
      {"empty", Wave({}), 0},
      {"stereo is not measured", Wave(Quiet(2, {900, 0, 900}), 2), 0},
  };
  for (const Case& c : cases) EXPECT_EQ(VoicedMillis(c.wave), c.millis) << c.what;
}

}  // namespace
}  // namespace study

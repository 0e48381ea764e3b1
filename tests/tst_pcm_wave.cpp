// SPDX-License-Identifier: MIT
// Wave files: which the suite plays, and the samples it plays of them.
#include <gtest/gtest.h>

#include <string>

#include "pcm_wave.h"
#include "test_support.h"

namespace {

std::string Le(std::uint32_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}

std::string Chunk(const std::string& id, const std::string& body) {
  std::string chunk = id + Le(static_cast<std::uint32_t>(body.size()), 4) + body;
  if (body.size() % 2) chunk += '\0';
  return chunk;
}

std::string Format(int tag, int channels, int rate, int bits, const std::string& extra = "") {
  const int frame = channels * bits / 8;
  return Chunk("fmt ", Le(tag, 2) + Le(channels, 2) + Le(rate, 4) + Le(rate * frame, 4) +
                           Le(frame, 2) + Le(bits, 2) + extra);
}

std::string Riff(const std::string& chunks) {
  return "RIFF" + Le(static_cast<std::uint32_t>(4 + chunks.size()), 4) + "WAVE" + chunks;
}

std::optional<suite::PcmWave> Parse(const std::string& image) {
  return suite::ParseWave(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
}

TEST(PcmWave, ReadsPlainPcmOfTheUsualShapes) {
  const std::string samples = "\x01\x02\x03\x04\x05\x06\x07\x08";
  auto wave = Parse(Riff(Format(1, 1, 22050, 16) + Chunk("data", samples)));
  ASSERT_TRUE(wave);
  EXPECT_EQ(wave->sampleRate, 22050);
  EXPECT_EQ(wave->channels, 1);
  EXPECT_EQ(wave->bitsPerSample, 16);
  EXPECT_EQ(std::string(wave->samples.begin(), wave->samples.end()), samples);

  wave = Parse(Riff(Format(1, 2, 8000, 8) + Chunk("data", samples)));
  ASSERT_TRUE(wave);
  EXPECT_EQ(wave->channels, 2);
  EXPECT_EQ(wave->bitsPerSample, 8);

  // WAVE_FORMAT_EXTENSIBLE whose sub-format is PCM.
  const std::string extensible = Le(22, 2) + Le(16, 2) + Le(4, 4) + Le(1, 2) + std::string(14, 'g');
  wave = Parse(Riff(Format(0xFFFE, 2, 44100, 32, extensible) + Chunk("data", samples)));
  ASSERT_TRUE(wave);
  EXPECT_EQ(wave->bitsPerSample, 32);
}

TEST(PcmWave, SkipsOtherChunksOddLengthsIncluded) {
  const auto wave = Parse(Riff(Chunk("LIST", "odd") + Format(1, 1, 16000, 16) +
                               Chunk("fact", "four") + Chunk("data", "abcd")));
  ASSERT_TRUE(wave);
  EXPECT_EQ(std::string(wave->samples.begin(), wave->samples.end()), "abcd");
}

TEST(PcmWave, ACutOffFilePlaysItsWholeFrames) {
  std::string image = Riff(Format(1, 2, 16000, 16) + Chunk("data", std::string(16, 'x')));
  image.resize(image.size() - 7);  // 9 of 16 bytes left: two whole 4-byte frames
  const auto wave = Parse(image);
  ASSERT_TRUE(wave);
  EXPECT_EQ(wave->samples.size(), 8u);
}

TEST(PcmWave, RefusesWhatItCannotPlay) {
  const std::string data = Chunk("data", "abcd");
  EXPECT_FALSE(Parse(""));
  EXPECT_FALSE(Parse("RIFF"));
  EXPECT_FALSE(Parse(std::string(64, '\xff')));
  EXPECT_FALSE(Parse("RIFF" + Le(4, 4) + "AVI " + Format(1, 1, 8000, 16) + data));
  EXPECT_FALSE(Parse(Riff(Format(3, 1, 8000, 32) + data))) << "floating point";
  EXPECT_FALSE(Parse(Riff(Format(0x11, 1, 8000, 4) + data))) << "ADPCM";
  EXPECT_FALSE(Parse(Riff(Format(1, 1, 8000, 24) + data))) << "24 bits";
  EXPECT_FALSE(Parse(Riff(Format(1, 6, 8000, 16) + data))) << "six channels";
  EXPECT_FALSE(Parse(Riff(Format(1, 1, 0, 16) + data))) << "no sample rate";
  EXPECT_FALSE(Parse(Riff(data + Format(1, 1, 8000, 16)))) << "samples before their format";
  EXPECT_FALSE(Parse(Riff(Format(1, 1, 8000, 16)))) << "no samples";
  EXPECT_FALSE(Parse(Riff(Format(1, 1, 8000, 16) + Chunk("data", "")))) << "no samples";
  std::string cut = Riff(Format(1, 1, 8000, 16));
  EXPECT_FALSE(Parse(cut.substr(0, cut.size() - 4))) << "format cut off";
}

TEST(PcmWave, DamagedWavesAreSilenceAndNeverReadPastTheirEnd) {
  const std::string format = Format(1, 1, 8000, 16);
  const std::pair<std::string, std::string> cases[] = {
      {"RIFF" + Le(13, 4) + "WAVEabcd" + Le(1, 4) + "Z", "an odd chunk ends the file"},
      {Riff(format + "abcd" + Le(3, 4) + "xyz"), "an odd chunk after the format ends the file"},
      {Riff(format + "abcd" + Le(0xFFFFFFFF, 4) + "xyz"), "a chunk longer than the file"},
      {Riff(format + "abcd" + Le(0xFFFFFFFE, 4)), "a chunk longer than the file, nothing after"},
      {Riff("abcd" + Le(1, 4) + "Z" + format.substr(0, 12)), "a format cut off after a step"},
      {Riff(Chunk("fmt ", "1234567")), "an odd format too short to hold one"},
  };
  for (const auto& [image, what] : cases) {
    const testsupport::GuardedBytes bytes(image);
    EXPECT_FALSE(suite::ParseWave(bytes.data(), bytes.size())) << what;
  }
}

TEST(PcmWave, ReadsTheSuitesClickAndNothingFromAMissingFile) {
  const auto click = suite::ReadWave(SUITE_CLICK_SOUND);
  ASSERT_TRUE(click);
  EXPECT_EQ(click->bitsPerSample, 16);
  EXPECT_GT(click->samples.size(), 1000u);
  testsupport::TempDir dir;
  EXPECT_FALSE(suite::ReadWave(dir.file("1.wav")));
  EXPECT_FALSE(suite::ReadWave(dir.path().string())) << "a folder";
}

}  // namespace

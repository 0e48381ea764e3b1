// SPDX-License-Identifier: MIT
// The speaker with voices of the test's own: none, one that fails, one that gives no
// samples, and one that counts what it is asked to say.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <vector>

#include "speaker.h"

namespace {

using study::Pace;

class FakeVoice : public study::Voice {
 public:
  explicit FakeVoice(std::optional<suite::PcmWave> gives) : gives_(std::move(gives)) {}
  std::optional<suite::PcmWave> speak(const std::string& text, Pace pace) override {
    asked.emplace_back(text, pace);
    return gives_;
  }
  std::vector<std::pair<std::string, Pace>> asked;

 private:
  std::optional<suite::PcmWave> gives_;
};

suite::PcmWave Samples() {
  return {16000, 1, 16, std::vector<std::uint8_t>(3200, 1)};
}

// What `say` tells the window, when it cannot be heard.
QString Reason(studydesk::Speaker& speaker, const QString& english) {
  QSignalSpy told(&speaker, &studydesk::Speaker::cannotSpeak);
  const bool said = speaker.say(english);
  EXPECT_EQ(said, told.isEmpty());
  return told.isEmpty() ? QString() : told.first().first().toString();
}

TEST(Speaker, SaysWhyAWordCannotBeMadeWhateverTheVoice) {
  FakeVoice failing(std::nullopt);
  FakeVoice silent(suite::PcmWave{16000, 1, 16, {}});
  struct Case {
    const char* what;
    study::Voice* voice;
    QString reason;
  } cases[] = {
      {"no voice", nullptr, "没有可用的英语语音"},
      {"a voice that fails", &failing, "无法合成“give up”的读音"},
      {"a voice that gives no samples", &silent, "无法合成“give up”的读音"},
  };
  for (const Case& c : cases) {
    studydesk::Speaker speaker(c.voice);
    EXPECT_EQ(Reason(speaker, "give up"), c.reason) << c.what;
    EXPECT_EQ(Reason(speaker, "give up"), c.reason) << c.what << ", asked again";
    EXPECT_EQ(speaker.wordsSaid(), 0) << c.what;
  }
}

TEST(Speaker, MakesEachWordOnceAtEachPace) {
  FakeVoice voice(Samples());
  studydesk::Speaker speaker(&voice);
  for (Pace pace : {Pace::Normal, Pace::Slow, Pace::Normal, Pace::Slow}) speaker.say("a", pace);
  speaker.say("b");
  const std::vector<std::pair<std::string, Pace>> made = {
      {"a", Pace::Normal}, {"a", Pace::Slow}, {"b", Pace::Normal}};
  EXPECT_EQ(voice.asked, made);
}

}  // namespace

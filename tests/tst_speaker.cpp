// SPDX-License-Identifier: MIT
// The speaker with voices of the test's own: none, one that fails, one that gives no
// samples, and one that counts what it is asked to say.
#include <gtest/gtest.h>

#include <QCoreApplication>
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

// Lets the event loop turn until the voice has been asked `count` times, or a while.
void IdleUntilAsked(const FakeVoice& voice, std::size_t count) {
  for (int turn = 0; turn < 1000 && voice.asked.size() < count; ++turn) {
    QCoreApplication::processEvents();
  }
}

TEST(Speaker, MakesTheWordsAheadWhileIdleSoThatSayingThemNeedsNoVoice) {
  FakeVoice voice(Samples());
  studydesk::Speaker speaker(&voice);
  speaker.say("a");
  speaker.prepare({"a", "b", "c", "b"});
  EXPECT_EQ(voice.asked.size(), 1u) << "nothing is made before the window is idle";
  IdleUntilAsked(voice, 3);
  for (int turn = 0; turn < 20; ++turn) QCoreApplication::processEvents();
  const std::vector<std::pair<std::string, Pace>> made = {
      {"a", Pace::Normal}, {"b", Pace::Normal}, {"c", Pace::Normal}};
  EXPECT_EQ(voice.asked, made);
  speaker.say("c");  // heard or not, as the machine has sound
  speaker.say("b");
  EXPECT_EQ(voice.asked, made) << "words made ahead are not made again";
}

TEST(Speaker, ANewListOfWordsAheadReplacesWhatWasLeftToMake) {
  FakeVoice voice(Samples());
  studydesk::Speaker speaker(&voice);
  speaker.prepare({"x", "y"});
  speaker.prepare({"z"});
  IdleUntilAsked(voice, 1);
  for (int turn = 0; turn < 20; ++turn) QCoreApplication::processEvents();
  const std::vector<std::pair<std::string, Pace>> made = {{"z", Pace::Normal}};
  EXPECT_EQ(voice.asked, made);
}

}  // namespace

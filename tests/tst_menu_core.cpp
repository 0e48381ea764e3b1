// SPDX-License-Identifier: MIT
// The hover pointer's state machine and the click sound's sequence.
#include <gtest/gtest.h>

#include "hover_pointer.h"
#include "menu_tables.h"
#include "retry_delay.h"
#include "sound_sequence.h"

namespace menu {
namespace {

enum class Move { Button1, Button2, Background };

struct HoverCase {
  const char* name;
  std::vector<Move> moves;
  int sounds;
  bool markerVisible;
  int markerLeft;
};

// Button 1 stands at 600 twips, button 2 at 2220.
TEST(HoverPointer, SoundsOncePerArrivalFromTheBackground) {
  const HoverCase cases[] = {
      {"nothing yet: the bar at the left edge", {}, 0, true, -600},
      {"the first hover is silent", {Move::Button1}, 0, true, 550},
      {"the background hides and arms", {Move::Background}, 0, false, -600},
      {"arrival from the background sounds", {Move::Background, Move::Button1}, 1, true, 550},
      {"moving on the button sounds once",
       {Move::Background, Move::Button1, Move::Button1, Move::Button1},
       1,
       true,
       550},
      {"neighbour to neighbour is silent",
       {Move::Background, Move::Button1, Move::Button2},
       1,
       true,
       2170},
      {"each crossing of the background sounds again",
       {Move::Background, Move::Button1, Move::Background, Move::Button2},
       2,
       true,
       2170},
  };
  for (const auto& c : cases) {
    HoverPointer pointer;
    int sounds = 0;
    for (const Move move : c.moves) {
      if (move == Move::Background) {
        pointer.overBackground();
      } else {
        sounds += pointer.overButton(move == Move::Button1 ? 600 : 2220);
      }
    }
    EXPECT_EQ(sounds, c.sounds) << c.name;
    EXPECT_EQ(pointer.markerVisible(), c.markerVisible) << c.name;
    EXPECT_EQ(pointer.markerLeft(), c.markerLeft) << c.name;
  }
}

TEST(SoundSequence, ClosesThenOpensAndPlaysTheClickFromTheApplicationFolder) {
  const auto sequence = SoundSequence("/opt/suite");
  const std::pair<MciProperty, MciValue> expected[] = {
      {MciProperty::Command, std::string("close")},
      {MciProperty::DeviceType, std::string("WaveAudio")},
      {MciProperty::FileName, std::string("/opt/suite/1.wav")},
      {MciProperty::Notify, true},
      {MciProperty::Wait, false},
      {MciProperty::Shareable, false},
      {MciProperty::Command, std::string("Open")},
      {MciProperty::TimeFormat, std::int32_t{1}},
      {MciProperty::Command, std::string("play")},
  };
  ASSERT_EQ(sequence.size(), std::size(expected));
  for (std::size_t i = 0; i < sequence.size(); ++i) {
    EXPECT_EQ(sequence[i].property, expected[i].first) << "step " << i + 1;
    EXPECT_EQ(sequence[i].value, expected[i].second) << "step " << i + 1;
  }
}

TEST(RetryDelay, DoublesFromTwoSecondsUpToFiveMinutesAndStartsOverAfterALoad) {
  RetryDelay delay;
  const int expected[] = {2'000,   4'000,   8'000,   16'000,  32'000, 64'000,
                          128'000, 256'000, 300'000, 300'000, 300'000};
  for (int wait : expected) EXPECT_EQ(delay.next(), wait);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(delay.next(), 300'000) << "after " << i << " more";
  delay.reset();
  EXPECT_EQ(delay.next(), 2'000);
  EXPECT_EQ(delay.next(), 4'000);
}

}  // namespace
}  // namespace menu

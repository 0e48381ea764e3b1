// SPDX-License-Identifier: MIT
#include "sound_sequence.h"

#include "menu_tables.h"

namespace menu {

std::array<MciAssignment, 9> SoundSequence(const std::string& appFolder) {
  return {{
      {MciProperty::Command, std::string("close")},
      {MciProperty::DeviceType, std::string("WaveAudio")},
      {MciProperty::FileName, appFolder + "/" + std::string(kClickSound)},
      {MciProperty::Notify, true},
      {MciProperty::Wait, false},
      {MciProperty::Shareable, false},
      {MciProperty::Command, std::string("Open")},
      {MciProperty::TimeFormat, std::int32_t{1}},
      {MciProperty::Command, std::string("play")},
  }};
}

}  // namespace menu

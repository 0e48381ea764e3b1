// SPDX-License-Identifier: MIT
// The assignments that make the multimedia control close what it held and play the click
// sound from its beginning, in their order.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>

namespace menu {

// Property identifiers of the multimedia control.
enum class MciProperty : int {
  DeviceType = 21,
  FileName = 22,
  Command = 23,
  Notify = 24,
  Wait = 25,
  Shareable = 26,
  TimeFormat = 29,
};

using MciValue = std::variant<std::string, bool, std::int32_t>;

struct MciAssignment {
  MciProperty property;
  MciValue value;
};

// `appFolder` is followed directly by the sound's name, with a separator.
std::array<MciAssignment, 9> SoundSequence(const std::string& appFolder);

}  // namespace menu

// SPDX-License-Identifier: MIT
#include "mm_control.h"

#include "pcm_wave.h"

namespace lumadesk {
namespace {

bool SameWord(const std::string& a, const char* b) {
  return QString::fromStdString(a).compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

}  // namespace

MMControl::MMControl(QWidget* parent) : QWidget(parent) {}

void MMControl::assign(const menu::MciAssignment& assignment) {
  received_.push_back(assignment);
  const auto* text = std::get_if<std::string>(&assignment.value);
  if (!text) return;  // notify, wait, shareable and time format change nothing here
  switch (assignment.property) {
    case menu::MciProperty::DeviceType:
      deviceType_ = *text;
      break;
    case menu::MciProperty::FileName:
      fileName_ = *text;
      break;
    case menu::MciProperty::Command:
      runCommand(*text);
      break;
    default:
      break;
  }
}

void MMControl::prepare(const std::string& fileName) {
  if (const auto wave = suite::ReadWave(fileName)) player_.prepare(*wave);
}

void MMControl::runCommand(const std::string& command) {
  if (SameWord(command, "close")) {
    // The stream stays open: a new one for every click would be heard late (see PcmPlayer).
    player_.silence();
    wave_.reset();
    open_ = false;
  } else if (SameWord(command, "open")) {
    open_ = SameWord(deviceType_, "WaveAudio");
    // Read whole at each opening: a few kilobytes, and always the file as it is now.
    if (open_) wave_ = suite::ReadWave(fileName_);
  } else if (SameWord(command, "play") && open_) {
    ++playsStarted_;
    if (wave_) player_.play(*wave_);
  }
}

}  // namespace lumadesk

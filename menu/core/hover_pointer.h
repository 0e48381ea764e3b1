// SPDX-License-Identifier: MIT
// The hover marker and the click sound: the marker frames the button under the pointer,
// and the sound plays once each time the pointer arrives on a button from the background.
#pragma once

#include <cstdint>

namespace menu {

inline constexpr int kMarkerOffset = 50;  // twips left of the framed button

class HoverPointer {
 public:
  // The pointer moved over a button whose left edge is `buttonLeft` twips. True when the
  // click sound is to play now.
  bool overButton(int buttonLeft) {
    markerVisible_ = true;
    markerLeft_ = buttonLeft - kMarkerOffset;
    if (soundArmed_ != 1) return false;
    soundArmed_ = 0;  // disarmed before the sound starts, so a failing sound stays quiet
    return true;
  }

  // The pointer moved over the window's own background.
  void overBackground() {
    markerVisible_ = false;
    soundArmed_ = 1;
  }

  std::int16_t soundArmed() const { return soundArmed_; }
  bool markerVisible() const { return markerVisible_; }
  int markerLeft() const { return markerLeft_; }

 private:
  std::int16_t soundArmed_ = 0;  // 0 at creation: the first hover is silent
  bool markerVisible_ = true;    // a bar at the left edge until the first move
  int markerLeft_ = -600;
};

}  // namespace menu

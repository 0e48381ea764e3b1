// SPDX-License-Identifier: MIT
// Any bytes as the menu's click sound: the wave reader must not crash or read past them.
#include <cstdint>

#include "pcm_wave.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  suite::ParseWave(data, size);
  return 0;
}

// SPDX-License-Identifier: MIT
// Any bytes as an answer log given to `studytool replay`: lines are read, parsed and
// scheduled, or refused, and nothing crashes.
#include <cstdint>
#include <sstream>
#include <string>

#include "commands.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::ostringstream out, err;
  studytool::Replay(in, out, err);
  return 0;
}

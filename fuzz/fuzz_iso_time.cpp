// SPDX-License-Identifier: MIT
// Any bytes as a time of the answer log: a time that is read must be written so that it
// reads back as the same moment.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "utc_time.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto moment = study::ParseIso({reinterpret_cast<const char*>(data), size});
  if (moment && study::ParseIso(study::FormatIso(*moment)) != moment) std::abort();
  return 0;
}

// SPDX-License-Identifier: MIT
// Any bytes as a book handed out to a class: the check decides without failing, and a book
// it takes has lessons.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "book_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto check =
      studysync::CheckBookFile(std::string_view(reinterpret_cast<const char*>(data), size));
  if (check.usable() && check.lessons == 0) std::abort();
  return 0;
}

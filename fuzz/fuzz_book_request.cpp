// SPDX-License-Identifier: MIT
// Any bytes as the body of a request for a book: one that is read must be encoded so that
// it reads back the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sync_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string why;
  const auto request =
      studysync::DecodeBookRequest({reinterpret_cast<const char*>(data), size}, why);
  if (!request) return 0;
  if (studysync::DecodeBookRequest(studysync::Encode(*request), why) != request) std::abort();
  return 0;
}

// SPDX-License-Identifier: MIT
// Any bytes as the body of a join: a request that is read must be encoded so that it reads
// back the same, and the server's check of it must decide without failing.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sync_messages.h"
#include "sync_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string why;
  const auto request =
      studysync::DecodeJoinRequest({reinterpret_cast<const char*>(data), size}, why);
  if (!request) return 0;
  if (studysync::DecodeJoinRequest(studysync::Encode(*request), why) != request) std::abort();
  hub::CheckJoinRequest(*request);
  return 0;
}

// SPDX-License-Identifier: MIT
// Any bytes as the class server's reply to a join: a reply that is read must be encoded
// so that it reads back the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sync_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string why;
  const auto reply = studysync::DecodeJoinReply({reinterpret_cast<const char*>(data), size}, why);
  if (reply && studysync::DecodeJoinReply(studysync::Encode(*reply), why) != reply) {
    std::abort();
  }
  return 0;
}

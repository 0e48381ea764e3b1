// SPDX-License-Identifier: MIT
// Any bytes as the body of a sync: a request that is read must be encoded so that it reads
// back the same, and the server's checks of it must decide without failing.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "sync_messages.h"
#include "sync_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string why;
  const auto request =
      studysync::DecodeSyncRequest({reinterpret_cast<const char*>(data), size}, why);
  if (!request) return 0;
  if (studysync::DecodeSyncRequest(studysync::Encode(*request), why) != request) std::abort();
  hub::CheckSyncRequest(*request, request->learner, request->device);
  hub::LatestSettings(request->items.settings);
  return 0;
}

// SPDX-License-Identifier: MIT
// Any bytes as a damaged progress store, and as its -wal: its pages are read record by
// record, what does not hold together passed over, and nothing reads outside the bytes.
#include <cstdint>
#include <string_view>

#include "raw_pages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  study::ParseLeafRecords(bytes, {});
  study::ParseLeafRecords({}, bytes);
  return 0;
}

// SPDX-License-Identifier: MIT
// Any bytes as an Excel workbook: the zip and XML reading must not crash, and what it gives
// must import.
#include <cstdint>
#include <string_view>

#include "import_fuzz_checks.h"
#include "workbook_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::CheckImportTable(
      editor::ReadWorkbook(std::string_view(reinterpret_cast<const char*>(data), size)));
  return 0;
}

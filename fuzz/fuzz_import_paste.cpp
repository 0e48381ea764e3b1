// SPDX-License-Identifier: MIT
// Any bytes as a pasted list of "word meaning" lines: the reader must not crash, and what
// it gives must import.
#include <cstdint>
#include <string_view>

#include "import_fuzz_checks.h"
#include "import_text.h"
#include "paste_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto decoded =
      editor::DecodeImportBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  fuzzing::CheckImportTable(editor::ReadPastedLines(decoded.text));
  return 0;
}

// SPDX-License-Identifier: MIT
// Any bytes as Anki's "Notes in Plain Text": the header lines, the notes and their HTML
// must not crash the reader, and what it gives must import.
#include <cstdint>
#include <string_view>

#include "anki_reader.h"
#include "import_fuzz_checks.h"
#include "import_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto decoded =
      editor::DecodeImportBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  fuzzing::CheckImportTable(editor::ReadAnkiNotes(decoded.text));
  return 0;
}

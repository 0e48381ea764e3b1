// SPDX-License-Identifier: MIT
// Any bytes as a spreadsheet's CSV or TSV: decoding (UTF-8, byte order marks, GBK), the
// separator guess and the RFC 4180 reader must not crash, and what they give must import.
#include <cstdint>
#include <string_view>

#include "delimited_reader.h"
#include "import_fuzz_checks.h"
#include "import_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto decoded =
      editor::DecodeImportBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  editor::ImportTable table;
  table.rows = editor::ReadDelimited(
      decoded.text, editor::GuessSeparator(decoded.text).value_or(u','), table.refusal);
  fuzzing::CheckImportTable(table);
  return 0;
}

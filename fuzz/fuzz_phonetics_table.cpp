// SPDX-License-Identifier: MIT
// Any bytes as the phonetics table beside the books: the reader must not crash, and the
// table it kept must write out as text that reads back as the same table, every line good.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "phonetics_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  course::PhoneticsTable table;
  course::ParsePhoneticsTable(std::string_view(reinterpret_cast<const char*>(data), size), table);
  course::PhoneticsTable again;
  if (!course::ParsePhoneticsTable(table.text(), again).empty() || again != table) std::abort();
  return 0;
}

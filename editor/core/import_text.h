// SPDX-License-Identifier: MIT
// The bytes of a file to import as text: UTF-8 with or without a byte order mark, UTF-16
// with one (a spreadsheet's "Unicode text"), or else GBK, as spreadsheets on Chinese
// systems save.
#pragma once

#include <string>
#include <string_view>

#include "import_table.h"

namespace editor {

enum class Encoding { Utf8, Utf8WithMark, Utf16WithMark, Gbk };

struct DecodedText {
  std::u16string text;
  Encoding encoding = Encoding::Utf8;
  Refusal refusal;  // bytes that are none of these, with their line
};

// Bytes that are not well-formed UTF-8 are read as GBK. Bytes that are no text (a NUL byte,
// an .xls workbook, bytes GBK does not read) are refused, asking for the list as CSV.
DecodedText DecodeImportBytes(std::string_view bytes);

}  // namespace editor

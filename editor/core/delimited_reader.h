// SPDX-License-Identifier: MIT
// Comma-, semicolon- or tab-separated text as spreadsheets write it (RFC 4180): a field in
// double quotes may hold separators, line breaks and doubled quotes; lines end in CRLF or LF.
#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "import_table.h"

namespace editor {

// The rows of `text`, lines numbered from `firstLine`; empty lines give no row. At most
// `maxRows` rows are read. An unclosed quote or text after a closing quote refuses the
// read with the line.
std::vector<ImportRow> ReadDelimited(std::u16string_view text, char16_t separator, Refusal& refusal,
                                     std::size_t firstLine = 1,
                                     std::size_t maxRows = std::numeric_limits<std::size_t>::max());

// The separator that splits every row of `text` (up to kMostRows) into the same number of fields,
// more than one: tab, comma, then semicolon; a comma or semicolon inside a sentence splits
// nothing. nullopt when the rows do not agree on one: the text is lines of their own.
std::optional<char16_t> GuessSeparator(std::u16string_view text);

}  // namespace editor

// SPDX-License-Identifier: MIT
// A table as CSV a spreadsheet opens as it is: UTF-8 with a byte order mark, CRLF lines,
// fields quoted when they must be, and text that a spreadsheet would take for a formula
// kept as text.
#pragma once

#include <string>
#include <vector>

namespace hub::page {

using CsvRow = std::vector<std::string>;

std::string CsvText(const CsvRow& header, const std::vector<CsvRow>& rows);

}  // namespace hub::page

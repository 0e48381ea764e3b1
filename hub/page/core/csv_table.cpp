// SPDX-License-Identifier: MIT
#include "csv_table.h"

namespace hub::page {
namespace {

std::string Field(const std::string& value) {
  // "=cmd|..." in a name would run as a formula when opened.
  const bool formula =
      !value.empty() && (value[0] == '=' || value[0] == '+' || value[0] == '-' || value[0] == '@');
  const std::string text = formula ? std::string(1, '\'') + value : value;
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

void AppendRow(std::string& out, const CsvRow& row) {
  for (std::size_t i = 0; i < row.size(); ++i) {
    if (i > 0) out += ',';
    out += Field(row[i]);
  }
  out += "\r\n";
}

}  // namespace

std::string CsvText(const CsvRow& header, const std::vector<CsvRow>& rows) {
  std::string out = "\xEF\xBB\xBF";
  AppendRow(out, header);
  for (const CsvRow& row : rows) AppendRow(out, row);
  return out;
}

}  // namespace hub::page

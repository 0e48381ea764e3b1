// SPDX-License-Identifier: MIT
#include "import_table.h"

#include <algorithm>

#include "chinese_text.h"

namespace editor {

std::u16string Refusal::text() const {
  if (line == 0) return reason;
  return u"第 " + Number(line) + u" 行：" + reason;
}

std::string Refusal::englishText() const {
  if (line == 0) return english;
  return "line " + std::to_string(line) + ": " + english;
}

std::size_t ImportTable::columnCount() const {
  std::size_t count = columnNames.size();
  for (const auto& row : rows) count = std::max(count, row.fields.size());
  return count;
}

}  // namespace editor

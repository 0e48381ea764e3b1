// SPDX-License-Identifier: MIT
#include "csv_export.h"

#include "utf8.h"

namespace editor {
namespace {

void AppendField(const std::u16string& text, std::string& out) {
  const std::string utf8 = course::ToUtf8(text);
  const bool quote = utf8.find_first_of(",\"\r\n") != std::string::npos ||
                     (!utf8.empty() && (utf8.front() == ' ' || utf8.back() == ' '));
  if (!quote) {
    out += utf8;
    return;
  }
  out.push_back('"');
  for (const char c : utf8) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
}

}  // namespace

std::string ExportCsv(const Book& book, const LessonRun* lesson) {
  std::string out = "\xEF\xBB\xBF课,英文,中文,词性,栏目\r\n";
  const std::size_t first = lesson ? lesson->first : 0;
  const std::size_t end = lesson ? lesson->end() : book.size();
  for (std::size_t record = first; record < end; ++record) {
    for (int field = kLessonField; field <= kColumnField; ++field) {
      if (field != kLessonField) out.push_back(',');
      AppendField(book.text(record, field), out);
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace editor

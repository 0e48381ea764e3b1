// SPDX-License-Identifier: MIT
// The readable line form of one course record: slot, six display texts, three hex numbers,
// separated by tabs.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "course_record.h"

namespace suite {
class TextLines;
}

namespace coursetool {

std::string FormatDumpLine(std::size_t slot, const course::CourseRecord& record);

// The reverse of the display transform: every code value down by 10. Fails with the reason
// when a character has no stored form that is code page 936 text.
std::optional<std::u16string> ScrambleText(std::u16string_view display, std::string& error);

struct ParsedLine {
  std::size_t slot = 0;
  course::CourseRecord record;  // stored text
};

// nullopt with `error` set when the line is not in the dump form.
std::optional<ParsedLine> ParseDumpLine(std::string_view line, std::string& error);

// Fills `table` from the lines of a whole source; false, with `error` set, at the first bad
// line (lines.number() is its number) or a slot named twice. Slots no line names are left
// as they were.
bool ReadDumpSource(suite::TextLines& lines, course::RecordTable& table, std::string& error);

}  // namespace coursetool

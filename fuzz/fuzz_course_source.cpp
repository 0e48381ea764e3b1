// SPDX-License-Identifier: MIT
// Any bytes as the source of `coursetool build`: lines are read and parsed or refused, and
// a source that is read whole can always be written as a course file. The table is kept
// from one input to the next: every record in it was read from some source.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "course_file.h"
#include "dump_format.h"
#include "text_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  suite::TextLines lines(in);
  static course::RecordTable table;
  std::string error, image;
  if (coursetool::ReadDumpSource(lines, table, error) &&
      !course::SerializeCourseTable(table, image)) {
    std::abort();
  }
  return 0;
}

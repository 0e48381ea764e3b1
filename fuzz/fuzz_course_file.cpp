// SPDX-License-Identifier: MIT
// Any bytes as a course file: the reader must not crash, and what it read whole must
// write back byte for byte. The image is kept from one input to the next, as the chooser
// keeps it from one lesson choice to the next.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "course_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static course::RecordImage image;
  static course::RecordTable table;
  const auto report = course::ParseCourseImage(data, size, image);
  table.assign(image);
  if (report.cutOff) return 0;
  std::string written;
  if (!course::SerializeCourseTable(table, written)) std::abort();
  const std::size_t consumed = size - report.bytesBeyond;
  if (written.compare(0, consumed, reinterpret_cast<const char*>(data), consumed) != 0) {
    std::abort();
  }
  return 0;
}

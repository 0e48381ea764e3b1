// SPDX-License-Identifier: MIT
// Any bytes as a course file: the reader must not crash, and what it read whole must
// write back byte for byte.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "course_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static course::RecordTable table;
  const auto report = course::ParseCourseImage(data, size, table);
  if (report.cutOff) return 0;
  std::string image;
  if (!course::SerializeCourseTable(table, image)) std::abort();
  const std::size_t consumed = size - report.bytesBeyond;
  if (image.compare(0, consumed, reinterpret_cast<const char*>(data), consumed) != 0) {
    std::abort();
  }
  return 0;
}

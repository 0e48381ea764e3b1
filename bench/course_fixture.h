// SPDX-License-Identifier: MIT
// A full course file of realistic mixed English and Chinese texts, made once per run.
#pragma once

#include <string>

#include "course_record.h"

namespace bench {

struct CourseFixture {
  std::string folder;
  std::string coursePath;
  course::RecordTable table;
  std::u16string middleLesson;  // display text of a lesson half-way through the file
};

const CourseFixture& Fixture();

}  // namespace bench

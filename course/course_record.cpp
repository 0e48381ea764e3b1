// SPDX-License-Identifier: MIT
#include "course_record.h"

#include <algorithm>

namespace course {

bool CourseRecord::isEmpty() const {
  const auto zero = [](std::uint8_t b) { return b == 0; };
  return std::all_of(texts.begin(), texts.end(), [](const auto& t) { return t.empty(); }) &&
         std::all_of(number1.begin(), number1.end(), zero) &&
         std::all_of(number2.begin(), number2.end(), zero) &&
         std::all_of(number3.begin(), number3.end(), zero);
}

void CourseRecord::clearNumbers() {
  number1 = {};
  number2 = {};
  number3 = {};
}

void CourseRecord::clear() {
  for (auto& t : texts) t.clear();
  clearNumbers();
}

}  // namespace course

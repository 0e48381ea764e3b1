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

void RecordTable::assign(const RecordImage& image) {
  for (std::size_t slot = 0; slot < kRecordSlots; ++slot) {
    const RecordView& from = image[slot];
    CourseRecord& to = records_[slot];
    for (std::size_t f = 0; f < kTextFields; ++f) to.texts[f].assign(from.texts[f]);
    to.number1 = from.number1;
    to.number2 = from.number2;
    to.number3 = from.number3;
  }
}

RecordImage::RecordImage(const RecordTable& table) : records_(kRecordSlots) {
  std::size_t characters = 0;
  for (const CourseRecord& record : table) {
    for (const auto& text : record.texts) characters += text.size();
  }
  characters_.resize(characters);
  char16_t* to = characters_.data();
  for (std::size_t slot = 0; slot < kRecordSlots; ++slot) {
    const CourseRecord& from = table[slot];
    RecordView& record = records_[slot];
    for (std::size_t f = 0; f < kTextFields; ++f) {
      to = std::copy(from.texts[f].begin(), from.texts[f].end(), to);
      record.texts[f] = std::u16string_view(to - from.texts[f].size(), from.texts[f].size());
    }
    record.number1 = from.number1;
    record.number2 = from.number2;
    record.number3 = from.number3;
  }
}

}  // namespace course

// SPDX-License-Identifier: MIT
// One entry of a lesson and the in-memory image of one course file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace course {

inline constexpr std::size_t kRecordSlots = 2985;
inline constexpr std::size_t kTextFields = 6;

// Texts are stored text (the scrambled form); the numbers are raw bytes in file order,
// never interpreted.
struct CourseRecord {
  std::array<std::u16string, kTextFields> texts;
  std::array<std::uint8_t, 4> number1{};
  std::array<std::uint8_t, 4> number2{};
  std::array<std::uint8_t, 2> number3{};

  // Text fields are numbered 1 to 6 as in the file layout.
  std::u16string& text(int field) { return texts[static_cast<std::size_t>(field - 1)]; }
  const std::u16string& text(int field) const { return texts[static_cast<std::size_t>(field - 1)]; }
  const std::u16string& lessonName() const { return texts[1]; }

  bool isEmpty() const;
  void clearNumbers();
  void clear();  // keeps the strings' capacity, so re-reading a file allocates little
  friend bool operator==(const CourseRecord&, const CourseRecord&) = default;
};

// Exactly kRecordSlots records for its whole life: reading replaces contents, never size.
class RecordTable {
 public:
  RecordTable() : records_(kRecordSlots) {}

  CourseRecord& operator[](std::size_t slot) { return records_.at(slot); }
  const CourseRecord& operator[](std::size_t slot) const { return records_.at(slot); }
  static constexpr std::size_t size() { return kRecordSlots; }

  auto begin() { return records_.begin(); }
  auto end() { return records_.end(); }
  auto begin() const { return records_.begin(); }
  auto end() const { return records_.end(); }
  friend bool operator==(const RecordTable&, const RecordTable&) = default;

 private:
  std::vector<CourseRecord> records_;
};

}  // namespace course

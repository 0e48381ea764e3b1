// SPDX-License-Identifier: MIT
// One entry of a lesson, and the records of one course file in memory: a table that owns and
// edits its texts, and a read-only image whose texts share one buffer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
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
  friend bool operator==(const CourseRecord&, const CourseRecord&) = default;
};

class RecordImage;

// Exactly kRecordSlots records for its whole life: reading replaces contents, never size.
class RecordTable {
 public:
  RecordTable() : records_(kRecordSlots) {}
  explicit RecordTable(const RecordImage& image) : RecordTable() { assign(image); }

  // Every record of `image`, each text copied into its own string.
  void assign(const RecordImage& image);

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

// A record whose texts are views into the image that holds it.
struct RecordView {
  std::array<std::u16string_view, kTextFields> texts;
  std::array<std::uint8_t, 4> number1{};
  std::array<std::uint8_t, 4> number2{};
  std::array<std::uint8_t, 2> number3{};

  std::u16string_view lessonName() const { return texts[1]; }
};

struct CourseImageReport;

// The records of one course file read, for reading only: every text is decoded once into a
// buffer the image owns, and equal texts of neighbouring records share their characters. The
// chooser reads its course file again at every lesson choice, so this is what it keeps.
class RecordImage {
 public:
  RecordImage() : records_(kRecordSlots) {}
  explicit RecordImage(const RecordTable& table);
  // The views point into this image's own buffer, so it can be moved but not copied.
  RecordImage(const RecordImage&) = delete;
  RecordImage& operator=(const RecordImage&) = delete;
  RecordImage(RecordImage&&) = default;
  RecordImage& operator=(RecordImage&&) = default;

  const RecordView& operator[](std::size_t slot) const { return records_.at(slot); }

 private:
  friend CourseImageReport ParseCourseImage(const std::uint8_t* data, std::size_t size,
                                            RecordImage& image);
  std::vector<char16_t> characters_;
  std::vector<RecordView> records_;
};

}  // namespace course

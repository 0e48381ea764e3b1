// SPDX-License-Identifier: MIT
#include "course_file.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "cp936.h"
#include "file_io.h"

namespace course {
namespace {

class ImageReader {
 public:
  ImageReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool atEnd() const { return pos_ == size_; }
  std::size_t position() const { return pos_; }

  // False, consuming nothing more, when the count or its bytes run past the end.
  bool readText(const Cp936& codec, std::u16string& text, std::size_t& escaped) {
    if (size_ - pos_ < 2) return false;
    const std::size_t count = data_[pos_] | static_cast<std::size_t>(data_[pos_ + 1]) << 8;
    if (size_ - pos_ - 2 < count) return false;
    pos_ += 2;
    text.assign(scratch_, codec.decode(data_ + pos_, count, size_ - pos_, scratch_, escaped));
    pos_ += count;
    return true;
  }

  bool readNumbers(CourseRecord& record) {
    if (size_ - pos_ < kNumberBytes) return false;
    std::memcpy(record.number1.data(), data_ + pos_, 4);
    std::memcpy(record.number2.data(), data_ + pos_ + 4, 4);
    std::memcpy(record.number3.data(), data_ + pos_ + 8, 2);
    pos_ += kNumberBytes;
    return true;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  // Room for the longest text; left uninitialised on purpose, as every read writes first.
  char16_t scratch_[0xFFFF + Cp936::kDecodeSlack];
};

// Overwrites every field of `record`; what the file does not hold whole is left empty.
bool ReadRecord(ImageReader& reader, const Cp936& codec, CourseRecord& record,
                std::size_t& escaped) {
  for (std::size_t f = 0; f < kTextFields; ++f) {
    if (!reader.readText(codec, record.texts[f], escaped)) {
      for (; f < kTextFields; ++f) record.texts[f].clear();
      record.clearNumbers();
      return false;
    }
  }
  if (reader.readNumbers(record)) return true;
  record.clearNumbers();
  return false;
}

void AppendText(const Cp936& codec, const std::u16string& text, std::string& out, bool& encodable) {
  const std::size_t countAt = out.size();
  out.append(2, '\0');
  encodable = codec.encode(text, out) && encodable;
  const std::size_t count = out.size() - countAt - 2;
  if (count > 0xFFFF) encodable = false;
  out[countAt] = static_cast<char>(count & 0xFF);
  out[countAt + 1] = static_cast<char>((count >> 8) & 0xFF);
}

}  // namespace

CourseImageReport ParseCourseImage(const std::uint8_t* data, std::size_t size, RecordTable& table) {
  const Cp936& codec = Cp936::instance();
  CourseImageReport report;
  ImageReader reader(data, size);
  std::size_t slot = 0;
  for (; slot < table.size() && !reader.atEnd(); ++slot) {
    if (!ReadRecord(reader, codec, table[slot], report.escapedBytes)) {
      report.cutOff = true;
      ++slot;
      break;
    }
    ++report.wholeRecords;
  }
  for (; slot < table.size(); ++slot) table[slot].clear();
  if (!report.cutOff) report.bytesBeyond = size - reader.position();
  return report;
}

bool SerializeCourseTable(const RecordTable& table, std::string& out) {
  const Cp936& codec = Cp936::instance();
  bool encodable = true;
  for (const auto& record : table) {
    for (const auto& text : record.texts) AppendText(codec, text, out, encodable);
    out.append(reinterpret_cast<const char*>(record.number1.data()), 4);
    out.append(reinterpret_cast<const char*>(record.number2.data()), 4);
    out.append(reinterpret_cast<const char*>(record.number3.data()), 2);
  }
  return encodable;
}

CourseReadResult ReadCourseFile(const std::string& path, RecordTable& table) {
  std::vector<std::uint8_t> bytes;
  std::uint64_t totalSize = 0;
  CourseReadResult result{suite::ReadFilePrefix(path, kMaxImageBytes, bytes, totalSize), {}};
  result.report = ParseCourseImage(bytes.data(), bytes.size(), table);
  result.report.bytesBeyond += totalSize - bytes.size();
  return result;
}

FileStatus WriteCourseFile(const std::string& path, const RecordTable& table,
                           const std::string& tailFrom) {
  std::string image;
  if (!SerializeCourseTable(table, image)) {
    return FileStatus::failure(path, EILSEQ, "a text cannot be written in code page 936");
  }
  std::string oldTail;
  FileStatus status =
      suite::ReadFileFrom(tailFrom.empty() ? path : tailFrom, image.size(), oldTail);
  if (!status.ok()) return status;
  image += oldTail;
  return suite::ReplaceFile(path, image);
}

}  // namespace course

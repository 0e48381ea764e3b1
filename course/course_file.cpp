// SPDX-License-Identifier: MIT
#include "course_file.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "cp936.h"
#include "file_io.h"
#include "input_file.h"

namespace course {
namespace {

#if defined(__SSE2__)
__m128i Load(const std::uint8_t* bytes) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
}
#endif

// Whether `count` bytes at `a` and `b` are equal; `readable` bytes may be loaded from both.
// Most are short texts, compared a block at a time without a call.
bool SameBytes(const std::uint8_t* a, const std::uint8_t* b, std::size_t count,
               std::size_t readable) {
#if defined(__SSE2__)
  constexpr std::size_t kBlock = 16;
  if (count >= kBlock) {
    // The last block overlaps the one before it where the count is no multiple of 16.
    __m128i differ = _mm_xor_si128(Load(a + count - kBlock), Load(b + count - kBlock));
    for (std::size_t i = 0; i + kBlock <= count; i += kBlock) {
      differ = _mm_or_si128(differ, _mm_xor_si128(Load(a + i), Load(b + i)));
    }
    return _mm_movemask_epi8(_mm_cmpeq_epi8(differ, _mm_setzero_si128())) == 0xFFFF;
  }
  if (readable >= kBlock) {
    const unsigned wanted = 0xFFFFu >> (kBlock - count);
    const auto equal = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(Load(a), Load(b))));
    return (equal & wanted) == wanted;
  }
#endif
  return std::memcmp(a, b, count) == 0;
}

// Reads records from the image's bytes, decoding texts into a buffer with room for one
// character per byte plus the decoder's slack.
class ImageReader {
 public:
  ImageReader(const std::uint8_t* data, std::size_t size, char16_t* characters)
      : data_(data), size_(size), to_(characters) {}

  bool atEnd() const { return pos_ == size_; }
  std::size_t position() const { return pos_; }

  // Overwrites every field of `record`; what the image does not hold whole is left empty.
  // A text whose bytes equal those of the same field in `previous` (the record read just
  // before) shares its characters: a lesson's records all repeat its book and lesson name.
  bool readRecord(const Cp936& codec, const RecordView* previous, RecordView& record,
                  std::size_t& escaped) {
    for (std::size_t f = 0; f < kTextFields; ++f) {
      if (!readText(codec, f, previous, record.texts[f], escaped)) {
        for (; f < kTextFields; ++f) record.texts[f] = {};
        ClearNumbers(record);
        return false;
      }
    }
    if (size_ - pos_ < kNumberBytes) {
      ClearNumbers(record);
      return false;
    }
    std::memcpy(record.number1.data(), data_ + pos_, 4);
    std::memcpy(record.number2.data(), data_ + pos_ + 4, 4);
    std::memcpy(record.number3.data(), data_ + pos_ + 8, 2);
    pos_ += kNumberBytes;
    return true;
  }

 private:
  // The bytes a field's text was last decoded from, and how many of them were escaped.
  struct Decoded {
    std::size_t at = 0;
    std::size_t count = 0;
    std::size_t escaped = 0;
  };

  static void ClearNumbers(RecordView& record) {
    record.number1 = {};
    record.number2 = {};
    record.number3 = {};
  }

  // False, consuming nothing more, when the count or its bytes run past the end.
  bool readText(const Cp936& codec, std::size_t field, const RecordView* previous,
                std::u16string_view& text, std::size_t& escaped) {
    if (size_ - pos_ < 2) return false;
    const std::size_t count = data_[pos_] | static_cast<std::size_t>(data_[pos_ + 1]) << 8;
    if (size_ - pos_ - 2 < count) return false;
    pos_ += 2;
    Decoded& last = decoded_[field];
    if (previous != nullptr && count == last.count &&
        SameBytes(data_ + pos_, data_ + last.at, count, size_ - pos_)) {
      text = previous->texts[field];
      escaped += last.escaped;
    } else {
      const std::size_t escapedBefore = escaped;
      const std::size_t length = codec.decode(data_ + pos_, count, size_ - pos_, to_, escaped);
      text = std::u16string_view(to_, length);
      to_ += length;
      last = {pos_, count, escaped - escapedBefore};
    }
    pos_ += count;
    return true;
  }

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  char16_t* to_;
  std::array<Decoded, kTextFields> decoded_{};
};

void AppendText(const Cp936& codec, const std::u16string& text, std::string& out, bool& encodable) {
  const std::size_t countAt = out.size();
  out.append(2, '\0');
  encodable = codec.encode(text, out) && encodable;
  const std::size_t count = out.size() - countAt - 2;
  if (count > 0xFFFF) encodable = false;
  out[countAt] = static_cast<char>(count & 0xFF);
  out[countAt + 1] = static_cast<char>((count >> 8) & 0xFF);
}

// Enough for any ordinary book in one read; only a larger file needs its records walked.
constexpr std::size_t kFirstRead = 1 << 20;
// How far one further read may go past what a record asks for.
constexpr std::size_t kLargestFurtherRead = 64 << 20;

// Reads the file's bytes as far as the last slot's record ends, or the file does, and
// never its tail, however long: the records are walked by their byte counts, reading on
// only when one needs bytes not read yet. False when a read fails.
bool ReadRecordBytes(suite::InputFile& file, std::vector<std::uint8_t>& bytes) {
  const std::uint64_t size = file.size();
  bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(size, kFirstRead)));
  if (!file.readAt(bytes.data(), bytes.size(), 0)) return false;
  if (bytes.size() == size) return true;
  // Whether bytes [0, wanted) are read, reading on where the file holds them.
  const auto reach = [&](std::uint64_t wanted) {
    if (wanted <= bytes.size()) return true;
    const std::size_t had = bytes.size();
    const std::uint64_t more = std::min<std::uint64_t>(had, kLargestFurtherRead);
    const std::uint64_t until = std::min(size, std::max(wanted, had + more));
    if (until == had) return false;
    bytes.resize(static_cast<std::size_t>(until));
    return file.readAt(bytes.data() + had, bytes.size() - had, had) && wanted <= until;
  };
  std::uint64_t end = 0;
  for (std::size_t slot = 0; slot < kRecordSlots; ++slot) {
    for (std::size_t field = 0; field < kTextFields; ++field) {
      if (!reach(end + 2)) return file.ok();
      end += 2 + (bytes[end] | static_cast<std::size_t>(bytes[end + 1]) << 8);
    }
    end += kNumberBytes;
  }
  reach(end);
  if (end < bytes.size()) bytes.resize(static_cast<std::size_t>(end));
  return file.ok();
}

template <typename Records>
CourseReadResult ReadCourseFileInto(const std::string& path, Records& records,
                                    suite::FileIdentity* identity) {
  suite::InputFile file(path);
  std::vector<std::uint8_t> bytes;
  if (file.ok() && !ReadRecordBytes(file, bytes)) bytes.clear();
  CourseReadResult result{file.status(), ParseCourseImage(bytes.data(), bytes.size(), records)};
  if (identity && file.ok()) {
    const std::size_t used = bytes.size() - static_cast<std::size_t>(result.report.bytesBeyond);
    *identity = file.identity({reinterpret_cast<const char*>(bytes.data()), used});
  }
  result.report.bytesBeyond += file.size() - bytes.size();
  return result;
}

// Replaces the file with the records and, when `tailFrom` names a longer file, its bytes
// past them.
FileStatus WriteRecords(const std::string& path, const RecordTable& table,
                        const std::string* tailFrom, suite::FileIdentity* written) {
  std::string image;
  if (!SerializeCourseTable(table, image)) {
    return FileStatus::failure(path, EILSEQ, "a text cannot be written in code page 936");
  }
  if (tailFrom) return suite::ReplaceFileKeepingTail(path, image, *tailFrom);
  return suite::ReplaceFile(path, image, written);
}

}  // namespace

CourseImageReport ParseCourseImage(const std::uint8_t* data, std::size_t size, RecordImage& image) {
  const Cp936& codec = Cp936::instance();
  // Never more characters than bytes. Every view is replaced below, so none is left pointing
  // into a buffer this may reallocate.
  image.characters_.resize(size + Cp936::kDecodeSlack);
  ImageReader reader(data, size, image.characters_.data());
  CourseImageReport report;
  const RecordView* previous = nullptr;
  std::size_t slot = 0;
  for (; slot < kRecordSlots && !reader.atEnd(); ++slot) {
    RecordView& record = image.records_[slot];
    if (!reader.readRecord(codec, previous, record, report.escapedBytes)) {
      report.cutOff = true;
      ++slot;
      break;
    }
    previous = &record;
    ++report.wholeRecords;
  }
  for (; slot < kRecordSlots; ++slot) image.records_[slot] = RecordView{};
  if (!report.cutOff) report.bytesBeyond = size - reader.position();
  return report;
}

CourseImageReport ParseCourseImage(const std::uint8_t* data, std::size_t size, RecordTable& table) {
  RecordImage image;
  const CourseImageReport report = ParseCourseImage(data, size, image);
  table.assign(image);
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

CourseReadResult ReadCourseFile(const std::string& path, RecordImage& image,
                                suite::FileIdentity* identity) {
  return ReadCourseFileInto(path, image, identity);
}

CourseReadResult ReadCourseFile(const std::string& path, RecordTable& table,
                                suite::FileIdentity* identity) {
  return ReadCourseFileInto(path, table, identity);
}

FileStatus WriteCourseFile(const std::string& path, const RecordTable& table,
                           suite::FileIdentity* written) {
  return WriteRecords(path, table, nullptr, written);
}

FileStatus WriteHandOffFile(const std::string& path, const RecordTable& table,
                            const std::string& tailFrom) {
  return WriteRecords(path, table, tailFrom.empty() ? &path : &tailFrom, nullptr);
}

}  // namespace course

// SPDX-License-Identifier: MIT
// The course file: kRecordSlots records back to back, no header. A record is six texts,
// each a little-endian 16-bit byte count and that many code page 936 bytes, then 10 bytes
// of three raw numbers (4, 4, 2).
#pragma once

#include <cstdint>
#include <string>

#include "course_record.h"
#include "file_identity.h"
#include "file_status.h"

namespace course {

using suite::FileStatus;

inline constexpr std::size_t kNumberBytes = 10;

// What a read found beyond the records themselves.
struct CourseImageReport {
  std::size_t wholeRecords = 0;   // records read to their last byte
  bool cutOff = false;            // the file ended inside a record
  std::uint64_t bytesBeyond = 0;  // bytes after the last slot, never read
  std::size_t escapedBytes = 0;   // bytes that are not code page 936 text

  bool clean() const { return !cutOff && bytesBeyond == 0 && escapedBytes == 0; }
};

// Fills every slot from the file's bytes: records from the file, then empty records. A record
// cut off by the end keeps the texts read whole; the rest of it stays empty.
CourseImageReport ParseCourseImage(const std::uint8_t* data, std::size_t size, RecordImage& image);
// The same with every text in its own string, to be edited.
CourseImageReport ParseCourseImage(const std::uint8_t* data, std::size_t size, RecordTable& table);

// Appends the image of all slots to `out`; false when a text has no code page 936 form.
bool SerializeCourseTable(const RecordTable& table, std::string& out);

struct CourseReadResult {
  FileStatus status;
  CourseImageReport report;
};

// The records end up all empty when the file cannot be read; a missing file is reported, not
// created. Only the records' bytes are read, never what lies past the last slot. `identity`,
// when given, gets the file's identity (its hash over those bytes).
CourseReadResult ReadCourseFile(const std::string& path, RecordImage& image,
                                suite::FileIdentity* identity = nullptr);
CourseReadResult ReadCourseFile(const std::string& path, RecordTable& table,
                                suite::FileIdentity* identity = nullptr);

// Writes all slots and nothing else: the file holds exactly the records. It is replaced
// whole, so a failed write leaves the old one intact. `written` gets the new file's identity.
FileStatus WriteCourseFile(const std::string& path, const RecordTable& table,
                           suite::FileIdentity* written = nullptr);

// The hand-off file's rule: the same, but bytes of a longer old file past the new end stay.
// That old file is `tailFrom` when given (the copy the user sees now, where it lies elsewhere),
// else `path` itself. The tail goes from file to file, holes kept, never through memory.
FileStatus WriteHandOffFile(const std::string& path, const RecordTable& table,
                            const std::string& tailFrom = {});

}  // namespace course

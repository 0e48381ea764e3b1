// SPDX-License-Identifier: MIT
#include "book_file.h"

#include <cerrno>

namespace editor {

OpenedBook OpenBookFile(const std::string& path) {
  course::RecordTable table;
  const auto read = course::ReadCourseFile(path, table);
  return {Book(table), read.status, read.report};
}

BookLocation BookLocation::Fixed(const suite::FilePlaces& places, std::string_view name) {
  return {std::string(name), places.readPath(name)};
}

suite::FileStatus SaveBook(const Book& book, const suite::FilePlaces& places,
                           const BookLocation& location) {
  const std::string target =
      location.fixedName.empty() ? location.path : places.writePath(location.fixedName);
  if (!book.fitsCourseFile()) {
    return suite::FileStatus::failure(target, EFBIG, "more records than a course file holds");
  }
  if (location.fixedName.empty()) return course::WriteCourseFile(target, book.table());
  const auto folder = places.prepareWrite(location.fixedName);
  if (!folder.ok()) return folder;
  return course::WriteCourseFile(target, book.table());
}

}  // namespace editor

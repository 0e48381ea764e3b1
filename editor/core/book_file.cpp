// SPDX-License-Identifier: MIT
#include "book_file.h"

#include <cerrno>
#include <memory>

namespace editor {

OpenedBook OpenBookFile(const std::string& path) {
  course::RecordTable table;
  suite::FileIdentity identity;
  const auto read = course::ReadCourseFile(path, table, &identity);
  return {Book(table), read.status, read.report, identity};
}

BookLocation BookLocation::Fixed(const suite::FilePlaces& places, std::string_view name) {
  return {std::string(name), places.readPath(name)};
}

suite::FileStatus SaveBook(const Book& book, const suite::FilePlaces& places,
                           const BookLocation& location, suite::FileIdentity* written) {
  const std::string target =
      location.fixedName.empty() ? location.path : places.writePath(location.fixedName);
  if (!book.fitsCourseFile()) {
    return suite::FileStatus::failure(target, EFBIG, "more records than a course file holds");
  }
  if (location.fixedName.empty()) return course::WriteCourseFile(target, book.table(), written);
  const auto folder = places.prepareWrite(location.fixedName);
  if (!folder.ok()) return folder;
  return course::WriteCourseFile(target, book.table(), written);
}

BookOnDisk CheckBookOnDisk(const suite::FilePlaces& places, const BookLocation& location,
                           const suite::FileIdentity& opened) {
  // A book of the suite is read from this user's copy once there is one: a copy another
  // window saved since counts as a change, as does any change to the file itself.
  const std::string path =
      location.fixedName.empty() ? location.path : places.readPath(location.fixedName);
  auto image = std::make_unique<course::RecordImage>();
  suite::FileIdentity now;
  course::ReadCourseFile(path, *image, &now);
  return {path, now != opened};
}

}  // namespace editor

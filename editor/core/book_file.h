// SPDX-License-Identifier: MIT
// Opening and saving a book. One of the suite's four books is found by the folder rule:
// read from this user's copy when there is one, else from the application folder, and
// saved where this user's programs will read it, the user's own folder when the
// application folder is not theirs to write. Any other course file is read and written at
// its path. Every save replaces the file whole.
#pragma once

#include <string>
#include <string_view>

#include "book.h"
#include "course_file.h"
#include "file_places.h"

namespace editor {

struct OpenedBook {
  Book book;
  suite::FileStatus status;  // the file read, or why it could not be
  course::CourseImageReport report;
  suite::FileIdentity identity;  // the file as read, to see later whether it changed
};

OpenedBook OpenBookFile(const std::string& path);

// `fixedName` ("c1.dat" …) names one of the suite's books; empty for any other file.
struct BookLocation {
  std::string fixedName;
  std::string path;  // the file read

  static BookLocation Fixed(const suite::FilePlaces& places, std::string_view name);
  static BookLocation AtPath(std::string path) { return {{}, std::move(path)}; }
};

// Saves where `location` says; the status names the file written (or the one that failed).
// A book with more records than a course file holds is refused with EFBIG. `written` gets the
// new file's identity.
suite::FileStatus SaveBook(const Book& book, const suite::FilePlaces& places,
                           const BookLocation& location, suite::FileIdentity* written = nullptr);

// What a window must know before saving over the book it opened: whether the file it would
// open now is still that one (another window or program may have saved it meanwhile).
struct BookOnDisk {
  std::string path;  // the file this location reads now
  bool changed = false;
};
BookOnDisk CheckBookOnDisk(const suite::FilePlaces& places, const BookLocation& location,
                           const suite::FileIdentity& opened);

}  // namespace editor

// SPDX-License-Identifier: MIT
// The lessons of the books a class has been handed, for the grid. Each publication is read
// and parsed once: the page keeps the lessons by version, which changes with every
// publication, and asks the database each time only which versions are current.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "book_lessons.h"
#include "database.h"

namespace hub::page {

class HandedOutLessons {
 public:
  // The lessons of the class's books 1 to 4 as they are now, joined in book order.
  std::vector<BookLesson> of(Database& database, std::int64_t classId);

 private:
  struct Parsed {
    std::int64_t version = 0;
    std::shared_ptr<const std::vector<BookLesson>> lessons;
  };
  std::mutex mutex_;                                       // requests are served on several threads
  std::map<std::pair<std::int64_t, int>, Parsed> parsed_;  // by (class, book)
};

}  // namespace hub::page

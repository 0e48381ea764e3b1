// SPDX-License-Identifier: MIT
#include "handed_out_lessons.h"

#include "published_books.h"

namespace hub::page {

std::vector<BookLesson> HandedOutLessons::of(Database& database, std::int64_t classId) {
  std::map<int, Parsed> held;
  std::vector<std::int64_t> versions;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = parsed_.lower_bound({classId, 0});
         it != parsed_.end() && it->first.first == classId; ++it) {
      held[it->first.second] = it->second;
      versions.push_back(it->second.version);
    }
  }
  // A book comes without its bytes exactly when its version is one of those held. New ones
  // are parsed outside the lock; two requests may both parse one, harmlessly.
  std::vector<std::shared_ptr<const std::vector<BookLesson>>> books;
  for (const ClassBook& book : ClassBooks(database, classId, versions)) {
    if (!book.content) {
      books.push_back(held[book.book].lessons);
      continue;
    }
    books.push_back(std::make_shared<const std::vector<BookLesson>>(BookLessons(*book.content)));
    const std::lock_guard<std::mutex> lock(mutex_);
    parsed_[{classId, book.book}] = {book.version, books.back()};
  }
  std::vector<const std::vector<BookLesson>*> inOrder;
  for (const auto& book : books) inOrder.push_back(book.get());
  return JoinBooks(inOrder);
}

}  // namespace hub::page

// SPDX-License-Identifier: MIT
// The lessons a handed-out book gives a class, named as the learners' cards are: the lesson
// the chooser lists and hands off, and each entry's two lines as the study programs read
// them from the hand-off file. A card is known by (lesson, line1, line2), so these strings
// are what the class's answers carry for the book's entries.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hub::page {

struct BookEntry {
  std::string line1;  // English, UTF-8
  std::string line2;  // Chinese
  friend bool operator==(const BookEntry&, const BookEntry&) = default;
};

struct BookLesson {
  std::string name;
  std::vector<BookEntry> entries;
  friend bool operator==(const BookLesson&, const BookLesson&) = default;
};

// Every lesson the chooser lists for this course file, in its order, with the entries in
// file order that choosing it hands off.
std::vector<BookLesson> BookLessons(std::string_view courseFile);

// The lessons of books 1 to 4 together, in book order, each name once with its distinct
// entries: one card each. A name listed twice, in one book or in two, is one set of cards,
// so it stays where it first comes, with the entries of all.
std::vector<BookLesson> JoinBooks(const std::vector<const std::vector<BookLesson>*>& books);

}  // namespace hub::page
